#include <gtest/gtest.h>

#include "lib/cf/TextUtils.h"

using namespace cf;

TEST(TextCase, LatinAndCyrillicIgnoreCaseWithoutLocale) {
    EXPECT_TRUE(SameText(u"GetDescription", u"GETDESCRIPTION"));
    EXPECT_TRUE(SameText(u"ПолучитьОписание", u"получитьописание"));
    EXPECT_TRUE(SameText(u"ЁЛКА", u"ёлка"));
    EXPECT_TRUE(SameText(u"IPАдрес", u"ipадрес"));
    EXPECT_FALSE(SameText(u"Ёлка", u"Елка"));
    EXPECT_FALSE(SameText(u"abc", u"abcd"));
    EXPECT_FALSE(SameText(u"ß", u"SS"));
}

TEST(TextCase, AsciiOnlyComparisonLeavesCyrillicCaseSignificant) {
    EXPECT_TRUE(AsciiSameText(u"record", u"RECORD"));
    EXPECT_FALSE(AsciiSameText(u"запись", u"ЗАПИСЬ"));
}

TEST(Utf8, RoundTripsCyrillicAndSupplementaryCharacters) {
    const std::u16string text = u"Весы \U0001F600 ok";
    const std::string bytes = ToUtf8(text);
    EXPECT_EQ(bytes, "\xD0\x92\xD0\xB5\xD1\x81\xD1\x8B \xF0\x9F\x98\x80 ok");
    EXPECT_EQ(FromUtf8(bytes), text);
}

TEST(Utf8, InvalidInputBecomesReplacementCharacters) {
    EXPECT_EQ(FromUtf8("a\xFF" "b"), u"a\uFFFDb");
    EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");      // overlong
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
    EXPECT_EQ(FromUtf8("\xD0"), u"\uFFFD");                // cut short
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

// The measured length is what the conversion writes, for every width and for
// surrogates paired, lone, and cut off at the end.
TEST(Utf8, MeasuredLengthMatchesTheBytesWritten) {
    const std::u16string texts[] = {
        u"",
        u"0209000100010000C9",
        u"Яблоки Голден 129,90 \u20AC\u07FF\u0080\u007F",
        u"a\U0001F600b\U00010000",
        std::u16string{u'x', char16_t(0xDC00), u'y', char16_t(0xD800)},
        std::u16string{char16_t(0xD800), char16_t(0xD800), char16_t(0xDC00), char16_t(0xDFFF)},
    };
    for (const std::u16string& text : texts) {
        std::string appended = "head:";
        AppendUtf8(appended, text);
        EXPECT_EQ(appended, "head:" + ToUtf8(text));
        EXPECT_EQ(Utf8Length(text), ToUtf8(text).size()) << ToUtf8(text);
        EXPECT_EQ(FromUtf8(ToUtf8(text)).size(), text.size());
    }
    EXPECT_EQ(ToUtf8(std::u16string{char16_t(0xD800), char16_t(0xD800), char16_t(0xDC00)}),
              "\xEF\xBF\xBD\xF0\x90\x80\x80");
}

TEST(TextHelpers, TrimNumbersAndReplace) {
    EXPECT_EQ(Trim(u" \t\r\nabc \x01"), u"abc");
    EXPECT_EQ(Trim(u"   "), u"");
    EXPECT_EQ(IntToStr(INT64_MIN), u"-9223372036854775808");
    EXPECT_EQ(IntToStr(0), u"0");
    EXPECT_EQ(ReplaceAll(u"192.168.0.10", u".", u"_"), u"192_168_0_10");
}
