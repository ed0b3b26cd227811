#include "common/Common.Log.h"

#include <atomic>
#include <mutex>

#include "common/Common.BaseSecurity.h"
#include "common/Common.LogAppend.h"
#include "common/Common.LogPath.h"
#include "common/uCommonUtils.h"
#include "common/uPaths.h"
#include "common/uVInfo.h"
#include "lib/cf/Exception.h"
#include "lib/cf/FormatSettings.h"
#include "lib/cf/TextUtils.h"

namespace common {

namespace {

// Created on first use and never destroyed: the library's unload step still
// writes through it after other static objects are gone.
struct LogState {
    std::atomic<TLogMode> mode{TLogMode::lmOff};
    std::atomic<bool> bannerWritten{false};
    std::atomic<TLogClock> clock{nullptr};
    std::mutex settingsLock;  // guards stem and folder
    std::u16string stem;
    std::u16string folder;
    std::u16string problem;  // of the latest line, under settingsLock
    std::mutex appendLock;  // one line's open-append-close at a time
};

LogState& State() {
    static LogState* state = new LogState;
    return *state;
}

cf::DateTimeParts Now() {
    const TLogClock clock = State().clock.load();
    return clock != nullptr ? clock() : LocalNow();
}

const char16_t* Tag(TLogLevel level) {
    switch (level) {
        case TLogLevel::llInfo: return u"INFO";
        case TLogLevel::llDebug: return u"DEBUG";
        default: return u"ERROR";
    }
}

TLogPath CurrentLogPath() {
    LogState& state = State();
    TLogPathInputs in;
    {
        std::lock_guard<std::mutex> guard(state.settingsLock);
        in.LogFileStem = state.stem;
        in.LogFolder = state.folder;
    }
    in.LogVendorFolder = kLogVendorFolder;
    in.FolderOverride = GetEnvironmentText(kLogDirVariable);
    if (in.LogFileStem.empty()) in.ModulePath = GetModulePath();
    in.CommonAppData = [] { return GetSpecialFolderPath(kCsidlCommonAppData); };
    return ResolveLogPath(in);
}

void RememberProblem(std::u16string problem) noexcept {
    LogState& state = State();
    std::lock_guard<std::mutex> guard(state.settingsLock);
    state.problem.swap(problem);
}

void EnsureFolder(const std::u16string& folder) {
    if (DirectoryExists(folder)) return;
    ForceDirectories(folder);
    GrantEveryoneFullAccess(folder);
}

// Runs one write; its failure is remembered instead of raised.
template <typename F>
void AttemptWrite(F&& write) noexcept {
    try {
        write();
        RememberProblem({});
    } catch (...) {
        try {
            RememberProblem(cf::CurrentExceptionMessage());
        } catch (...) {
            RememberProblem({});
        }
    }
}

}  // namespace

bool LogAccepts(TLogLevel level) {
    switch (State().mode.load()) {
        case TLogMode::lmAll: return true;
        case TLogMode::lmInfoErrors: return level != TLogLevel::llDebug;
        case TLogMode::lmErrors: return level == TLogLevel::llError;
        default: return false;
    }
}

std::u16string FormatLogLine(const cf::DateTimeParts& now, TLogLevel level, std::u16string_view text,
                             std::u16string_view detail) {
    std::u16string line = FormatLogTimestamp(now, cf::FormatSettings().TimeSeparator) + u"\t" + Tag(level) + u"\t" + cf::Trim(text);
    if (!detail.empty()) line += u": \t" + cf::Trim(detail);
    return line;
}

void WriteLog(std::u16string_view text, std::u16string_view detail, TLogLevel level) noexcept {
    if (!LogAccepts(level)) return;
    AttemptWrite([&] {
        WriteStartBanner();
        WriteLogLine(FormatLogLine(Now(), level, text, detail));
    });
}

std::u16string ProbeLogFile() noexcept {
    if (GetLogMode() == TLogMode::lmOff) return {};
    AttemptWrite([] {
        WriteStartBanner();
        const std::u16string fileName = GetLogPath(false);
        std::lock_guard<std::mutex> guard(State().appendLock);
        AppendDenyingWriters(fileName, {});
    });
    try {
        return LogWriteProblem();
    } catch (...) {
        return {};
    }
}

std::u16string LogWriteProblem() {
    LogState& state = State();
    std::lock_guard<std::mutex> guard(state.settingsLock);
    return state.problem;
}

std::u16string GetLogPath(bool folderOnly) {
    const TLogPath path = CurrentLogPath();
    if (path.RootedStem) return path.Stem;
    EnsureFolder(path.Folder);
    return folderOnly ? path.Folder : LogFileName(path, Now());
}

std::u16string DescribeLogFolder() noexcept {
    try {
        return GetLogPath(true);
    } catch (...) {
    }
    try {
        return CurrentLogPath().Folder;
    } catch (...) {
        return {};
    }
}

void WriteLogLine(std::u16string_view line) {
    const std::u16string fileName = GetLogPath(false);
    const std::string bytes = cf::ToUtf8(std::u16string(line) + u"\r\n");
    std::lock_guard<std::mutex> guard(State().appendLock);
    AppendDenyingWriters(fileName, bytes);
}

void WriteStartBanner() {
    LogState& state = State();
    if (state.mode.load() == TLogMode::lmOff || state.bannerWritten.exchange(true)) return;
    try {
        const std::u16string spaces(40, u' ');
        WriteLogLine(spaces);
        WriteLogLine(u"============Start log=============");
        WriteLogLine(u"OS version:\t" + GetOsDisplayName());
        WriteLogLine(u"Application:\t" + ExtractFileName(GetModulePath()));
        WriteLogLine(u"App. version:\t" + FormatVersion(GetModuleVersion()));
        WriteLogLine(spaces);
    } catch (...) {
        state.bannerWritten = false;  // the next accepted entry tries again
        throw;
    }
}

void WriteStopBanner() {
    const LogState& state = State();
    if (state.mode.load() == TLogMode::lmOff || !state.bannerWritten.load()) return;
    WriteLogLine(u"============Stop log===============\r\n");
}

void SetLogMode(TLogMode mode) {
    LogState& state = State();
    if (state.mode.load() != TLogMode::lmOff && mode == TLogMode::lmOff) {
        try {
            WriteStopBanner();
        } catch (...) {
        }
        state.bannerWritten = false;
    }
    state.mode = mode;
}

TLogMode GetLogMode() { return State().mode.load(); }

void SetLogFileStem(std::u16string stem) {
    std::lock_guard<std::mutex> guard(State().settingsLock);
    State().stem = std::move(stem);
}

std::u16string GetLogFileStem() {
    std::lock_guard<std::mutex> guard(State().settingsLock);
    return State().stem;
}

void SetLogFolder(std::u16string folder) {
    std::lock_guard<std::mutex> guard(State().settingsLock);
    State().folder = std::move(folder);
}

std::u16string GetLogFolder() {
    std::lock_guard<std::mutex> guard(State().settingsLock);
    return State().folder;
}

std::u16string StartupLogFolder(std::u16string_view driverName) noexcept {
    try {
        const std::u16string override = GetEnvironmentText(kLogDirVariable);
        if (IsRootedPath(override)) return override;
        for (const uint16_t csidl : {kCsidlCommonAppData, kCsidlAppData}) {
            try {
                return GetSpecialFolderPath(csidl) + kLogVendorFolder + PathDelim() + std::u16string(driverName);
            } catch (...) {
            }
        }
    } catch (...) {
    }
    return {};
}

void SetLogClock(TLogClock clock) { State().clock = clock; }

void LogModuleStop() noexcept {
    try {
        WriteStopBanner();
    } catch (...) {
    }
    try {
        LogState& state = State();
        state.mode = TLogMode::lmOff;
        state.bannerWritten = false;
        SetLogFileStem({});
        SetLogFolder({});
    } catch (...) {
    }
}

}  // namespace common
