// The shared daily log file: one process-wide mode, stem and folder; every
// part of the library writes through WriteLog.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace common {

enum class TLogLevel : uint8_t { llInfo = 0, llDebug = 1, llError = 2 };
enum class TLogMode : uint8_t { lmOff = 0, lmErrors = 1, lmInfoErrors = 2, lmAll = 3 };

// Appends one entry when the mode accepts the level; raises cf::Exception on a file error.
void WriteLog(std::u16string_view text, std::u16string_view detail, TLogLevel level);

void SetLogMode(TLogMode mode);
TLogMode GetLogMode();

}  // namespace common
