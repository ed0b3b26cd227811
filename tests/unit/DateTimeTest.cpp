#include <gtest/gtest.h>

#include "lib/cf/DateTime.h"
#include "lib/cf/Exception.h"

using namespace cf;

namespace {
DateTimeParts Parts(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    DateTimeParts p;
    p.Year = static_cast<uint16_t>(y);
    p.Month = static_cast<uint16_t>(mo);
    p.Day = static_cast<uint16_t>(d);
    p.Hour = static_cast<uint16_t>(h);
    p.Minute = static_cast<uint16_t>(mi);
    p.Second = static_cast<uint16_t>(s);
    return p;
}
}  // namespace

TEST(DateTime, DayNumbersCountFromThe30thOfDecember1899) {
    EXPECT_DOUBLE_EQ(EncodeDateTime(Parts(1899, 12, 30)), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(Parts(1900, 1, 1)), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(Parts(2024, 1, 31)), 45322.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(Parts(2000, 2, 29, 12)), 36585.5);
    EXPECT_DOUBLE_EQ(EncodeDateTime(Parts(1, 1, 1)), -693593.0);
}

TEST(DateTime, TimeIsSubtractedBeforeTheEpoch) {
    EXPECT_DOUBLE_EQ(EncodeDateTime(Parts(1899, 12, 29, 6)), -1.25);
}

TEST(DateTime, EndOfDayKeepsItsSeconds) {
    const double value = EncodeDateTime(Parts(2024, 1, 31, 23, 59, 59));
    const DateTimeParts back = DecodeDateTime(value);
    EXPECT_EQ(back.Year, 2024);
    EXPECT_EQ(back.Month, 1);
    EXPECT_EQ(back.Day, 31);
    EXPECT_EQ(back.Hour, 23);
    EXPECT_EQ(back.Minute, 59);
    EXPECT_EQ(back.Second, 59);
}

TEST(DateTime, InvalidDatesNameTheirFields) {
    try {
        EncodeDateTime(Parts(2024, 2, 30, 10, 5, 0));
        FAIL() << "30 February accepted";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"'2024.2.30 10:5:0,0' is not a valid date and time");
    }
    EXPECT_THROW(EncodeDateTime(Parts(2023, 2, 29)), EConvertError);
    EXPECT_NO_THROW(EncodeDateTime(Parts(2000, 2, 29)));
    EXPECT_THROW(EncodeDateTime(Parts(1900, 2, 29)), EConvertError);
    EXPECT_THROW(EncodeDateTime(Parts(0, 1, 1)), EConvertError);
    EXPECT_THROW(EncodeDateTime(Parts(10000, 1, 1)), EConvertError);
    EXPECT_THROW(EncodeDateTime(Parts(2024, 1, 1, 24)), EConvertError);
    EXPECT_THROW(EncodeDateTime(Parts(2024, 1, 1, 0, 60)), EConvertError);
}

TEST(DateTime, FieldOf65535IsShownAsQuestionMark) {
    try {
        EncodeDateTime(Parts(65535, 13, 1));
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"'?.13.1 0:0:0,0' is not a valid date and time");
    }
}

TEST(DateTime, TmFieldsAreTakenAsTheirLow16BitsWhateverTheirRange) {
    struct {
        int tm_year, tm_mon, tm_mday, tm_hour, tm_min, tm_sec;
    } tm{2147483647, 2147483647, -1, 65536 + 5, -2147483647 - 1, 70000};
    const DateTimeParts parts = PartsFromTm(tm);
    EXPECT_EQ(parts.Year, 1899);  // 2147483647 + 1900, modulo 65536
    EXPECT_EQ(parts.Month, 0);
    EXPECT_EQ(parts.Day, 65535);
    EXPECT_EQ(parts.Hour, 5);
    EXPECT_EQ(parts.Minute, 0);
    EXPECT_EQ(parts.Second, 70000 - 65536);
}

TEST(DateTime, TextForm) {
    EXPECT_EQ(DateTimeToStr(EncodeDateTime(Parts(2026, 12, 7))), u"07.12.2026");
    EXPECT_EQ(DateTimeToStr(EncodeDateTime(Parts(2026, 12, 7, 9, 5, 3))), u"07.12.2026 9:05:03");
}
