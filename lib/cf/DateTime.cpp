#include "lib/cf/DateTime.h"

#include <cmath>

#include "lib/cf/Exception.h"
#include "lib/cf/FormatSettings.h"
#include "lib/cf/TextUtils.h"

namespace cf {

namespace {

constexpr double kMsPerDay = 86400000.0;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 0001-03-01 style civil algorithm, shifted so that 1899-12-30 is 0.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 693899;  // 693899 = days from 0000-03-01 to 1899-12-30
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 693899;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

std::u16string FieldText(uint16_t value) { return value == 65535 ? std::u16string(u"?") : UIntToStr(value); }

std::u16string TwoDigits(int value) {
    std::u16string text = UIntToStr(static_cast<uint64_t>(value));
    return text.size() < 2 ? u"0" + text : text;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

double EncodeDateTime(const DateTimeParts& p) {
    const bool validTime = p.Hour < 24 && p.Minute < 60 && p.Second < 60 && p.Millisecond < 1000;
    if (!IsValidDate(p.Year, p.Month, p.Day) || !validTime) {
        const TFormatSettings& fs = FormatSettings();
        const std::u16string shown = FieldText(p.Year) + fs.DateSeparator + FieldText(p.Month) + fs.DateSeparator +
                                     FieldText(p.Day) + u' ' + FieldText(p.Hour) + fs.TimeSeparator +
                                     FieldText(p.Minute) + fs.TimeSeparator + FieldText(p.Second) +
                                     fs.DecimalSeparator + FieldText(p.Millisecond);
        throw EConvertError(u"'" + shown + u"' is not a valid date and time");
    }
    const double date = static_cast<double>(DaysFromCivil(p.Year, p.Month, p.Day));
    const double time = (p.Hour * 3600000.0 + p.Minute * 60000.0 + p.Second * 1000.0 + p.Millisecond) / kMsPerDay;
    return date < 0 ? date - time : date + time;
}

DateTimeParts DecodeDateTime(double value) {
    const double days = std::trunc(value);
    int64_t ms = std::llround(std::fabs(value - days) * kMsPerDay);
    int64_t dayNumber = static_cast<int64_t>(days);
    if (ms >= static_cast<int64_t>(kMsPerDay)) {  // rounding reached the next day
        ms -= static_cast<int64_t>(kMsPerDay);
        dayNumber += value < 0 ? -1 : 1;
    }
    DateTimeParts parts;
    int year = 0, month = 0, day = 0;
    CivilFromDays(dayNumber, year, month, day);
    parts.Year = static_cast<uint16_t>(year);
    parts.Month = static_cast<uint16_t>(month);
    parts.Day = static_cast<uint16_t>(day);
    parts.Hour = static_cast<uint16_t>(ms / 3600000);
    parts.Minute = static_cast<uint16_t>(ms / 60000 % 60);
    parts.Second = static_cast<uint16_t>(ms / 1000 % 60);
    parts.Millisecond = static_cast<uint16_t>(ms % 1000);
    return parts;
}

std::u16string DateTimeToStr(double value) {
    const DateTimeParts p = DecodeDateTime(value);
    const TFormatSettings& fs = FormatSettings();
    std::u16string text = TwoDigits(p.Day) + fs.DateSeparator + TwoDigits(p.Month) + fs.DateSeparator + UIntToStr(p.Year);
    if (p.Hour != 0 || p.Minute != 0 || p.Second != 0)
        text += u' ' + UIntToStr(p.Hour) + fs.TimeSeparator + TwoDigits(p.Minute) + fs.TimeSeparator + TwoDigits(p.Second);
    return text;
}

}  // namespace cf
