// The shared daily log file: one process-wide mode, stem and folder; every
// part of the library writes through WriteLog.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lib/cf/DateTime.h"

namespace common {

enum class TLogLevel : uint8_t { llInfo = 0, llDebug = 1, llError = 2 };
enum class TLogMode : uint8_t { lmOff = 0, lmErrors = 1, lmInfoErrors = 2, lmAll = 3 };

// The maker folder of the default folder rule.
inline constexpr char16_t kLogVendorFolder[] = u"Ventarix";
// A rooted folder that takes the place of the folder rules (tests and tools).
inline constexpr char16_t kLogDirVariable[] = u"W_QUORLAN7T4P_LOG_DIR";

// Appends one entry when the mode accepts the level. Never raises: a line
// that cannot be written is lost, the failure is kept for LogWriteProblem, and
// the next line tries again. A log must never fail the call it traces.
void WriteLog(std::u16string_view text, std::u16string_view detail, TLogLevel level) noexcept;
// Why the most recent attempt to write a line failed (the file and the
// system's reason); empty when it succeeded or nothing was tried yet.
std::u16string LogWriteProblem();
// While one lives (a loop of exchanges, such as an upload's records), lines
// keep the file denied to other processes' writers from one line to the next,
// which saves locking it for every line. Other writers still get their lines
// in: the file is let go for a moment after every 50 ms of keeping it, at
// LetOtherLogWritersIn, and at the end. May nest.
class TLogHold {
public:
    TLogHold() noexcept;
    ~TLogHold();
    TLogHold(const TLogHold&) = delete;
    TLogHold& operator=(const TLogHold&) = delete;
};
// Before a wait of unknown length (an answer from the scale): a file kept
// denied is let go, so that no other process waits on this one's peer.
// Nothing to do, and no system call, when no file is kept. Never raises.
void LetOtherLogWritersIn() noexcept;
// Whether a file is kept denied to other writers right now.
bool LogKeptFromOtherWriters() noexcept;
// With the log on, tries today's file now (the start banner when due, then
// the file opened to append nothing) and answers LogWriteProblem; empty with
// the log off. Never raises.
std::u16string ProbeLogFile() noexcept;

// Switching off writes the stop banner first (a file error there is dropped:
// the mode changes regardless).
void SetLogMode(TLogMode mode);
TLogMode GetLogMode();
// Whether WriteLog would write an entry of this level now.
bool LogAccepts(TLogLevel level);

// With true the folder with a trailing separator, created when missing; with
// false today's log file name. Raises cf::Exception when the folder cannot be had.
std::u16string GetLogPath(bool folderOnly);
// The folder for showing to the user: as GetLogPath(true), or the folder the
// rules name when it cannot be made, or empty when none can be named. Never raises.
std::u16string DescribeLogFolder() noexcept;
// Appends one raw line (no timestamp) to today's file; raises cf::Exception on a file error.
void WriteLogLine(std::u16string_view line);
// Both raise cf::Exception on a file error.
void WriteStartBanner();
void WriteStopBanner();
// timestamp \t tag \t trimmed text [": \t" trimmed detail]
std::u16string FormatLogLine(const cf::DateTimeParts& now, TLogLevel level, std::u16string_view text,
                             std::u16string_view detail);

void SetLogFileStem(std::u16string stem);
std::u16string GetLogFileStem();
void SetLogFolder(std::u16string folder);
std::u16string GetLogFolder();
// The library start-up's folder: the rooted folder of kLogDirVariable when set;
// else the common application data folder (or, when the system cannot give
// it, the user's), the maker folder and the driver name, without a trailing
// separator; empty when the system gives neither, so that every line then
// fails on its own and the library still starts. Never raises.
std::u16string StartupLogFolder(std::u16string_view driverName) noexcept;

// The clock of timestamps and file dates; null restores the local clock.
using TLogClock = cf::DateTimeParts (*)();
void SetLogClock(TLogClock clock);

// The library's unload: the stop banner when logging was on and the start
// banner written, then the folder and stem are cleared. Never raises.
void LogModuleStop() noexcept;

}  // namespace common
