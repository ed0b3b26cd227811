// The text form of values and the settings' conversions.
#include <gtest/gtest.h>

#include <limits>

#include "lib/cf/DateTime.h"
#include "lib/cf/Exception.h"
#include "lib/cf/FormatSettings.h"
#include "lib/cf/TextUtils.h"
#include "lib/cf/VariantConvert.h"

using cf::Variant;
using cf::VarKind;

namespace {

// Runs with the given decimal separator and restores the process's.
class WithDecimalSeparator {
public:
    explicit WithDecimalSeparator(char16_t separator) : saved_(cf::FormatSettings().DecimalSeparator) {
        cf::FormatSettings().DecimalSeparator = separator;
    }
    ~WithDecimalSeparator() { cf::FormatSettings().DecimalSeparator = saved_; }

private:
    char16_t saved_;
};

template <typename F>
std::u16string ConvertError(F&& convert) {
    try {
        convert();
    } catch (const cf::EConvertError& e) {
        return e.Message();
    }
    return u"<no error>";
}

}  // namespace

TEST(VarToStr, IntegersBooleansAndEmpty) {
    EXPECT_EQ(cf::VarToStr(Variant(int32_t{-42})), u"-42");
    EXPECT_EQ(cf::VarToStr(Variant(std::numeric_limits<int64_t>::min())), u"-9223372036854775808");
    EXPECT_EQ(cf::VarToStr(Variant::MakeInteger(VarKind::UInt64, -1)), u"18446744073709551615");
    EXPECT_EQ(cf::VarToStr(Variant(true)), u"True");
    EXPECT_EQ(cf::VarToStr(Variant(false)), u"False");
    EXPECT_EQ(cf::VarToStr(Variant()), u"");
    EXPECT_EQ(cf::VarToStr(Variant::MakeNull()), u"");
    EXPECT_EQ(cf::VarToStr(Variant(u"текст")), u"текст");
    EXPECT_THROW(cf::VarToStr(Variant::MakeByteArray({1, 2})), cf::EConvertError);
}

TEST(VarToStr, FloatingNumbersWithFifteenDigitsAndTheProcessSeparator) {
    WithDecimalSeparator comma(u',');
    EXPECT_EQ(cf::VarToStr(Variant(0.1)), u"0,1");
    EXPECT_EQ(cf::VarToStr(Variant(-2.5)), u"-2,5");
    EXPECT_EQ(cf::VarToStr(Variant(100.0)), u"100");
    EXPECT_EQ(cf::VarToStr(Variant(1.0 / 3.0)), u"0,333333333333333");
    EXPECT_EQ(cf::VarToStr(Variant(2.0 / 3.0)), u"0,666666666666667");
    EXPECT_EQ(cf::VarToStr(Variant(123456789012345.0)), u"123456789012345");
    EXPECT_EQ(cf::VarToStr(Variant(1234567890123456.0)), u"1,23456789012346E15");
    EXPECT_EQ(cf::VarToStr(Variant(1e20)), u"1E20");
    EXPECT_EQ(cf::VarToStr(Variant(0.00001)), u"0,00001");
    EXPECT_EQ(cf::VarToStr(Variant(1.5e-7)), u"1,5E-7");
    EXPECT_EQ(cf::VarToStr(Variant(0.0)), u"0");
    EXPECT_EQ(cf::VarToStr(Variant::MakeSingle(0.5f)), u"0,5");
    WithDecimalSeparator point(u'.');
    EXPECT_EQ(cf::VarToStr(Variant(1234.5678)), u"1234.5678");
}

TEST(VarToStr, CurrencyAndDateTime) {
    WithDecimalSeparator comma(u',');
    EXPECT_EQ(cf::VarToStr(Variant::MakeCurrency(125000)), u"12,5");
    EXPECT_EQ(cf::VarToStr(Variant::MakeCurrency(-1)), u"-0,0001");
    EXPECT_EQ(cf::VarToStr(Variant::MakeCurrency(70000)), u"7");
    EXPECT_EQ(cf::VarToStr(Variant::MakeCurrency(std::numeric_limits<int64_t>::min())), u"-922337203685477,5808");
    const double date = cf::EncodeDateTime(cf::DateTimeParts{2024, 1, 31, 23, 59, 59, 0});
    EXPECT_EQ(cf::VarToStr(Variant::MakeDate(date)), cf::DateTimeToStr(date));
    EXPECT_EQ(cf::VarToStr(Variant::MakeDate(date)), u"31.01.2024 23:59:59");
}

TEST(VarToBool, BooleansNumbersAndTexts) {
    EXPECT_TRUE(cf::VarToBool(Variant(true)));
    EXPECT_FALSE(cf::VarToBool(Variant()));
    EXPECT_FALSE(cf::VarToBool(Variant(int32_t{0})));
    EXPECT_TRUE(cf::VarToBool(Variant(int32_t{-3})));
    EXPECT_TRUE(cf::VarToBool(Variant(0.5)));
    EXPECT_TRUE(cf::VarToBool(Variant(u"TRUE")));
    EXPECT_TRUE(cf::VarToBool(Variant(u"true")));
    EXPECT_FALSE(cf::VarToBool(Variant(u"False")));
    EXPECT_FALSE(cf::VarToBool(Variant(u"0")));
    EXPECT_TRUE(cf::VarToBool(Variant(u"1")));
    EXPECT_EQ(ConvertError([] { cf::VarToBool(Variant(u"да")); }), u"'да' is not a valid boolean value");
    EXPECT_THROW(cf::VarToBool(Variant(u"")), cf::EConvertError);
}

TEST(VarToInt32, IntegersRoundingTextsAndErrors) {
    WithDecimalSeparator point(u'.');
    EXPECT_EQ(cf::VarToInt32(Variant()), 0);
    EXPECT_EQ(cf::VarToInt32(Variant(int32_t{7})), 7);
    EXPECT_EQ(cf::VarToInt32(Variant(2.5)), 2);
    EXPECT_EQ(cf::VarToInt32(Variant(3.5)), 4);
    EXPECT_EQ(cf::VarToInt32(Variant(-2.5)), -2);
    EXPECT_EQ(cf::VarToInt32(Variant::MakeCurrency(15000)), 2);
    EXPECT_EQ(cf::VarToInt32(Variant(u" 9100 ")), 9100);
    EXPECT_EQ(cf::VarToInt32(Variant(u"-12")), -12);
    EXPECT_EQ(cf::VarToInt32(Variant(u"2.5")), 2);
    EXPECT_EQ(cf::VarToInt32(Variant(u"1")), 1);
    EXPECT_EQ(ConvertError([] { cf::VarToInt32(Variant(u"abc")); }), u"'abc' is not a valid integer value");
    EXPECT_EQ(ConvertError([] { cf::VarToInt32(Variant(u"")); }), u"'' is not a valid integer value");
    EXPECT_EQ(ConvertError([] { cf::VarToInt32(Variant(int64_t{3000000000})); }),
              u"'3000000000' is not a valid integer value");
    EXPECT_THROW(cf::VarToInt32(Variant(u"2,5")), cf::EConvertError);
    EXPECT_EQ(cf::VarToInt32(Variant(int64_t{-2147483648LL})), std::numeric_limits<int32_t>::min());
}

TEST(VarToDoubleAndCurrency, NumbersAndTexts) {
    WithDecimalSeparator comma(u',');
    EXPECT_EQ(cf::VarToDouble(Variant()), 0.0);
    EXPECT_EQ(cf::VarToDouble(Variant(u"1,25")), 1.25);
    EXPECT_EQ(cf::VarToDouble(Variant(u"-1E3")), -1000.0);
    EXPECT_EQ(cf::VarToDouble(Variant::MakeCurrency(12345)), 1.2345);
    EXPECT_EQ(ConvertError([] { cf::VarToDouble(Variant(u"1.25")); }), u"'1.25' is not a valid floating point value");
    EXPECT_EQ(cf::VarToCurrency(Variant(int32_t{12})), 120000);
    EXPECT_EQ(cf::VarToCurrency(Variant(1.5)), 15000);
    EXPECT_EQ(cf::VarToCurrency(Variant(0.00004)), 0);
    EXPECT_EQ(cf::VarToCurrency(Variant(-0.00006)), -1);
    EXPECT_EQ(cf::VarToCurrency(Variant(u"10,99")), 109900);
    EXPECT_EQ(cf::VarToCurrency(Variant()), 0);
    EXPECT_THROW(cf::VarToCurrency(Variant(1e300)), cf::EConvertError);
}

// A currency given as text is rounded on its exact decimal value, as the
// attribute readers round prices, never on the nearest double.
TEST(VarToDoubleAndCurrency, CurrencyTextsRoundOnTheExactDecimal) {
    WithDecimalSeparator comma(u',');
    EXPECT_EQ(cf::VarToCurrency(Variant(u"0,00015")), 2);
    EXPECT_EQ(cf::VarToCurrency(Variant(u"1,00005")), 10000);
    EXPECT_EQ(cf::VarToCurrency(Variant(u"4,35005")), 43500);
    EXPECT_EQ(cf::VarToCurrency(Variant(u" 922337203685477,5807 ")), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(cf::VarToCurrency(Variant(u"-922337203685477,5808")), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(ConvertError([] { cf::VarToCurrency(Variant(u"922337203685477,58075")); }),
              u"'922337203685477,58075' is not a valid currency value");
    EXPECT_EQ(ConvertError([] { cf::VarToCurrency(Variant(u"+-5")); }), u"'+-5' is not a valid currency value");
}

TEST(TryTextToInt64, OneSignThenDigitsAcrossTheWholeRange) {
    int64_t value = 0;
    EXPECT_TRUE(cf::TryTextToInt64(u" -9223372036854775808\t", value));
    EXPECT_EQ(value, std::numeric_limits<int64_t>::min());
    EXPECT_TRUE(cf::TryTextToInt64(u"+9223372036854775807", value));
    EXPECT_EQ(value, std::numeric_limits<int64_t>::max());
    for (const char16_t* bad : {u"9223372036854775808", u"-9223372036854775809", u"+-5", u"-+5", u"--5", u"+", u"", u"1 2"})
        EXPECT_FALSE(cf::TryTextToInt64(bad, value)) << cf::ToUtf8(bad);
}

TEST(VarToDateTime, DatesNumbersAndTexts) {
    EXPECT_EQ(cf::VarToDateTime(Variant()), 0.0);
    EXPECT_EQ(cf::VarToDateTime(Variant(45322.5)), 45322.5);
    EXPECT_EQ(cf::VarToDateTime(Variant(u"31.01.2024")), cf::EncodeDateTime(cf::DateTimeParts{2024, 1, 31}));
    EXPECT_EQ(cf::VarToDateTime(Variant(u"31.01.2024 7:05")),
              cf::EncodeDateTime(cf::DateTimeParts{2024, 1, 31, 7, 5, 0, 0}));
    EXPECT_EQ(cf::VarToDateTime(Variant(u"31.01.2024 23:59:59")),
              cf::EncodeDateTime(cf::DateTimeParts{2024, 1, 31, 23, 59, 59, 0}));
    EXPECT_EQ(ConvertError([] { cf::VarToDateTime(Variant(u"30.02.2024")); }),
              u"'30.02.2024' is not a valid date and time");
    EXPECT_THROW(cf::VarToDateTime(Variant(u"31.01.2024 24:00")), cf::EConvertError);
}
