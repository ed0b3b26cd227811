// The process-wide number and date format. It starts with the separators of
// the Russian locale the driver is made for; opening a driver switches the
// decimal separator to "." for everything read afterwards.
#pragma once

namespace cf {

struct TFormatSettings {
    char16_t DateSeparator = u'.';
    char16_t TimeSeparator = u':';
    char16_t DecimalSeparator = u',';
};

TFormatSettings& FormatSettings();

}  // namespace cf
