// Date-time values as days since 30 December 1899, the fraction being the time of day.
#pragma once

#include <cstdint>
#include <string>

namespace cf {

struct DateTimeParts {
    uint16_t Year = 0, Month = 0, Day = 0;
    uint16_t Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// The fields of a C library broken-down time (the platform's or the system's).
template <typename Tm>
DateTimeParts PartsFromTm(const Tm& tm, uint16_t millisecond = 0) {
    DateTimeParts parts;
    // Unsigned sums: any int the platform sends wraps instead of overflowing,
    // and the low 16 bits are the same.
    parts.Year = static_cast<uint16_t>(static_cast<uint32_t>(tm.tm_year) + 1900u);
    parts.Month = static_cast<uint16_t>(static_cast<uint32_t>(tm.tm_mon) + 1u);
    parts.Day = static_cast<uint16_t>(tm.tm_mday);
    parts.Hour = static_cast<uint16_t>(tm.tm_hour);
    parts.Minute = static_cast<uint16_t>(tm.tm_min);
    parts.Second = static_cast<uint16_t>(tm.tm_sec);
    parts.Millisecond = millisecond;
    return parts;
}

bool IsValidDate(int year, int month, int day);
// Raises EConvertError "'...' is not a valid date and time" for an invalid date or time.
double EncodeDateTime(const DateTimeParts& parts);
DateTimeParts DecodeDateTime(double value);
// "dd.mm.yyyy" followed by " h:nn:ss" when there is a time of day.
std::u16string DateTimeToStr(double value);

}  // namespace cf
