// The system's broken-down time and the library's date-time parts.
#pragma once

#include <windows.h>

#include "lib/cf/DateTime.h"

namespace common {

inline cf::DateTimeParts PartsOfSystemTime(const SYSTEMTIME& t) {
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

inline SYSTEMTIME SystemTimeOfParts(const cf::DateTimeParts& p) {
    SYSTEMTIME t{};
    t.wYear = p.Year;
    t.wMonth = p.Month;
    t.wDay = p.Day;
    t.wHour = p.Hour;
    t.wMinute = p.Minute;
    t.wSecond = p.Second;
    t.wMilliseconds = p.Millisecond;
    return t;
}

}  // namespace common
