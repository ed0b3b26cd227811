#include <gtest/gtest.h>

#include "device/uCodePages.h"
#include "device/uFrameFields.h"
#include "lib/cf/VariantConvert.h"
#include "tests/unit/device/DeviceTestSupport.h"

using namespace device;
using device_test::Bytes;
using device_test::MessageOf;

TEST(IntToBytesLE, LittleEndianWithinTheFieldWidth) {
    EXPECT_EQ(IntToBytesLE(4, 1), Bytes("01 00 00 00"));
    EXPECT_EQ(IntToBytesLE(2, 76), Bytes("4C 00"));
    EXPECT_EQ(IntToBytesLE(1, 255), Bytes("FF"));
    EXPECT_EQ(IntToBytesLE(4, 4294967295LL), Bytes("FF FF FF FF"));
}

TEST(IntToBytesLE, RefusesValuesThatDoNotFitNamingFieldAndValue) {
    EXPECT_EQ(MessageOf([] { IntToBytesLE(2, 65536, u"Код группы"); }),
              u"Значение поля «Код группы» вне допустимого диапазона 0..65535: 65536");
    EXPECT_EQ(MessageOf([] { IntToBytesLE(4, -1, u"Номер PLU"); }),
              u"Значение поля «Номер PLU» вне допустимого диапазона 0..4294967295: -1");
    EXPECT_EQ(MessageOf([] { IntToBytesLE(1, 256); }), u"Значение поля вне допустимого диапазона 0..255: 256");
}

TEST(PadText, CutsOrFillsByAlignment) {
    EXPECT_EQ(PadText(u"abc", 6, u' ', taLeft), u"abc   ");
    EXPECT_EQ(PadText(u"abc", 6, u' ', taRight), u"   abc");
    EXPECT_EQ(PadText(u"abc", 6, u' ', taCenter), u"  abc ");
    EXPECT_EQ(PadText(u"ab", 5, u'*', taCenter), u"**ab*");
    for (int align : {0, 1, 2, 7}) EXPECT_EQ(PadText(u"abcdefgh", 6, u' ', align), u"abcdef");
    EXPECT_EQ(PadText(u"abc", 6, u' ', 7), u"abc");
    EXPECT_EQ(PadText(u"1234567", 13, u'0', taRight), u"0000001234567");
}

TEST(CodePage866, CyrillicAndMissingCharacters) {
    EXPECT_EQ(StrToCP866(u"Молоко Ёё №1"), "\x8C\xAE\xAB\xAE\xAA\xAE \xF0\xF1 \xFC" "1");
    EXPECT_EQ(DecodeCodePage("\x80\x9F\xA0\xAF\xE0\xEF", TCodePage::cp866), u"АЯапря");
    EXPECT_EQ(DecodeCodePage("\xC0\xFF\xA8\x98", TCodePage::cp1251), u"АяЁ\uFFFD");
    EXPECT_EQ(EncodeCodePage(u"Привет", TCodePage::cp1251), "\xCF\xF0\xE8\xE2\xE5\xF2");
}

// A character the page lacks is sent as the one a reader takes for it, one
// byte for one unit; only one without such a stand-in becomes "?".
TEST(CodePage866StandIns, QuotationMarksAndPrimes) {
    EXPECT_EQ(StrToCP866(u"«Ромашка» „Ромашка“ ”a‟ 5″"), StrToCP866(u"\"Ромашка\" \"Ромашка\" \"a\" 5\""));
    EXPECT_EQ(StrToCP866(u"‘a’ ‚b‛ 5′"), "'a' 'b' 5'");
}

TEST(CodePage866StandIns, DashesMinusAndEllipsis) {
    EXPECT_EQ(StrToCP866(u"a‐b‑c‒d–e—f―g−1"), "a-b-c-d-e-f-g-1");
    EXPECT_EQ(StrToCP866(u"Ну…"), StrToCP866(u"Ну."));
}

TEST(CodePage866StandIns, TypographicSpacesAndTheNoBreakSpace) {
    EXPECT_EQ(StrToCP866(u"a\u2002b\u2003c\u2009d\u200Ae\u205Ff\u3000g"), "a b c d e f g");
    // The page has a no-break space of its own: the no-break kinds keep it.
    EXPECT_EQ(StrToCP866(u"1\u00A0000\u202F000\u2007"), "1\xFF" "000\xFF" "000\xFF");
}

TEST(CodePage866StandIns, LatinLettersWithDiacriticsGiveTheirBaseLetter) {
    EXPECT_EQ(StrToCP866(u"Crème brûlée, café, Müller, Señor"), "Creme brulee, cafe, Muller, Senor");
    EXPECT_EQ(StrToCP866(u"ÀÉÎÕÜÇÑÝ ŁØĐŠŽĆ ȘȚ àéîõüçñýÿ łøđšžć șțı"), "AEIOUCNY LODSZC ST aeioucnyy lodszc sti");
}

TEST(CodePage866StandIns, UkrainianAndBelarusianLetters) {
    EXPECT_EQ(StrToCP866(u"Іі Ґґ"), "Ii " + StrToCP866(u"Гг"));
    // Those the page has stay themselves.
    EXPECT_EQ(StrToCP866(u"ЄєЇїЎў"), "\xF2\xF3\xF4\xF5\xF6\xF7");
}

TEST(CodePage866StandIns, CharactersWithoutAStandInStayQuestionMarks) {
    EXPECT_EQ(StrToCP866(u"100₽ 5€ ™"), "100? 5? ?");
    EXPECT_EQ(StrToCP866(u"\U0001F600"), "??");  // a surrogate pair is two units
    EXPECT_EQ(StrToCP866(std::u16string(1, char16_t(0xD83D))), "?");
    EXPECT_EQ(StrToCP866(u"Æœß\u0301"), "????");
    // Code page 1251 keeps its own rule.
    EXPECT_EQ(EncodeCodePage(u"é—Ґ", TCodePage::cp1251), "?\x97\xA5");
}

TEST(CodePage866, TextOfThePagesOwnCharactersIsSentAsItsBytes) {
    std::string bytes;
    for (int byte = 0x20; byte < 0x100; ++byte) bytes += static_cast<char>(byte);
    EXPECT_EQ(StrToCP866(DecodeCodePage(bytes, TCodePage::cp866)), bytes);
}

TEST(CodePage866, EveryTableEntryRoundTrips) {
    for (TCodePage page : {TCodePage::cp866, TCodePage::cp1251}) {
        for (int byte = 0; byte < 256; ++byte) {
            const std::string one(1, static_cast<char>(byte));
            const std::u16string text = DecodeCodePage(one, page);
            if (text != u"\uFFFD") {
                EXPECT_EQ(EncodeCodePage(text, page), one) << byte;
            }
        }
    }
}

TEST(HexText, BothWaysAndOddOrInvalidText) {
    EXPECT_EQ(HexToBytes(u"00ff7Aa0"), Bytes("00 FF 7A A0"));
    EXPECT_EQ(HexToBytes(u"ABC"), Bytes("AB"));
    EXPECT_EQ(HexToBytes(u""), "");
    EXPECT_THROW(HexToBytes(u"0G"), cf::EConvertError);
    EXPECT_THROW(HexToBytes(u"02 35"), cf::EConvertError);
    EXPECT_EQ(BytesToHex(std::string("\x00\x0f\xa0\xff", 4)), u"000FA0FF");
}

TEST(Crc16, XmodemCheckValue) {
    EXPECT_EQ(Crc16("123456789"), 0x31C3);
    EXPECT_EQ(Crc16(""), 0);
}

TEST(Price, HundredthsRoundHalvesToEvenOnTheExactValue) {
    const auto hundredths = [](int64_t scaled) { return PriceToHundredths(TCurrency{scaled}); };
    EXPECT_EQ(hundredths(123400), 1234);  // 12.34
    EXPECT_EQ(hundredths(1250), 12);      // 0.125
    EXPECT_EQ(hundredths(1350), 14);      // 0.135
    EXPECT_EQ(hundredths(1251), 13);
    EXPECT_EQ(hundredths(1249), 12);
    EXPECT_EQ(hundredths(-50), 0);
    EXPECT_EQ(hundredths(-150), -2);
    EXPECT_EQ(hundredths(429496729500), 4294967295);
    EXPECT_EQ(cf::CurrToStr(TCurrency{-15000}, u'.'), u"-1.5");
    EXPECT_EQ(cf::CurrToStr(TCurrency{1250}, u'.'), u"0.125");
    EXPECT_EQ(cf::CurrToStr(TCurrency{20000}, u'.'), u"2");
}

TEST(ExtractField, EmptyFieldsAreNotCounted) {
    EXPECT_EQ(ExtractField(u"|a||b|", 1), u"a");
    EXPECT_EQ(ExtractField(u"|a||b|", 2), u"b");
    EXPECT_EQ(ExtractField(u"|a||b|", 3), u"");
    EXPECT_EQ(ExtractField(u"a|b||c", 3), u"c");
    EXPECT_EQ(ExtractField(u"Иванов", 1), u"Иванов");
    EXPECT_EQ(ExtractField(u"", 1), u"");
    EXPECT_EQ(ExtractField(u"a", 0), u"");
}
