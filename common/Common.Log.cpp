#include "common/Common.Log.h"

#include <atomic>
#include <chrono>
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

using Clock = std::chrono::steady_clock;

// Under a TLogHold the file stays denied to other writers between lines for
// at most kHoldTime at a stretch; then for kLetInTime each line takes and
// gives back the lock, so that another process's writer, which retries every
// 2 ms for 200 ms, gets its line in.
constexpr auto kHoldTime = std::chrono::milliseconds(50);
constexpr auto kLetInTime = std::chrono::milliseconds(5);

// What a log file name is made of; while it stays the same, so does the file
// name, and the folder need not be checked again for every line.
struct LogFileKey {
    std::u16string stem, folder, override;
    uint16_t year = 0, month = 0, day = 0;
    bool operator==(const LogFileKey& other) const {
        return year == other.year && month == other.month && day == other.day && stem == other.stem &&
               folder == other.folder && override == other.override;
    }
};

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
    std::mutex appendLock;  // one line's (or a banner's) append at a time
    // The file of the last line, under appendLock: what its name was made of,
    // the name (empty when none), and the file as the system has it open.
    LogFileKey fileKey;
    std::u16string fileName;
    TLogFile file;
    std::atomic<int> holdDepth{0};
    std::atomic<bool> holding{false};  // changed under appendLock
    Clock::time_point holdingSince, letInUntil;  // under appendLock
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

LogFileKey CurrentFileKey(const cf::DateTimeParts& today) {
    LogState& state = State();
    LogFileKey key;
    {
        std::lock_guard<std::mutex> guard(state.settingsLock);
        key.stem = state.stem;
        key.folder = state.folder;
    }
    key.override = GetEnvironmentText(kLogDirVariable);
    key.year = today.Year;
    key.month = today.Month;
    key.day = today.Day;
    return key;
}

TLogPath LogPathOf(const LogFileKey& key) {
    TLogPathInputs in;
    in.LogFileStem = key.stem;
    in.LogFolder = key.folder;
    in.LogVendorFolder = kLogVendorFolder;
    in.FolderOverride = key.override;
    if (in.LogFileStem.empty()) in.ModulePath = GetModulePath();
    in.CommonAppData = [] { return GetSpecialFolderPath(kCsidlCommonAppData); };
    return ResolveLogPath(in);
}

TLogPath CurrentLogPath() { return LogPathOf(CurrentFileKey({})); }

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

// The file of the key's day, its folder made when missing.
std::u16string PrepareLogFile(const LogFileKey& key) {
    const TLogPath path = LogPathOf(key);
    if (path.RootedStem) return path.Stem;
    EnsureFolder(path.Folder);
    cf::DateTimeParts today;
    today.Year = key.year;
    today.Month = key.month;
    today.Day = key.day;
    return LogFileName(path, today);
}

// Whether this line may leave the file denied to other writers (under appendLock).
bool KeepDenying() {
    LogState& state = State();
    if (state.holdDepth.load() == 0) return false;
    const Clock::time_point now = Clock::now();
    if (now < state.letInUntil) return false;
    if (!state.holding) {
        state.holding = true;
        state.holdingSince = now;
        return true;
    }
    if (now - state.holdingSince < kHoldTime) return true;
    state.holding = false;
    state.letInUntil = now + kLetInTime;
    return false;
}

// Appends to the file of the last line while stem, folder and date stay the
// same; a folder removed since then is made again, as for a new file.
void AppendToLogFile(const std::string& bytes, const cf::DateTimeParts& now) {
    LogState& state = State();
    const LogFileKey key = CurrentFileKey(now);
    const bool keepDenying = KeepDenying();
    if (!state.fileName.empty() && state.fileKey == key) {
        try {
            AppendDenyingWriters(state.file, state.fileName, bytes, keepDenying);
            return;
        } catch (...) {
            const TLogPath path = LogPathOf(key);
            if (path.RootedStem || DirectoryExists(path.Folder)) throw;
        }
    }
    state.fileName.clear();
    std::u16string fileName = PrepareLogFile(key);
    AppendDenyingWriters(state.file, fileName, bytes, keepDenying);
    state.fileKey = key;
    state.fileName = std::move(fileName);
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

// timestamp \t tag \t
std::u16string LineHead(const cf::DateTimeParts& now, TLogLevel level) {
    std::u16string head = FormatLogTimestamp(now, cf::FormatSettings().TimeSeparator);
    head.append(u"\t").append(Tag(level)).append(u"\t");
    return head;
}

constexpr std::u16string_view kDetailSeparator = u": \t";

// The file is the one of the line's own time.
void AppendLine(const std::string& bytes, const cf::DateTimeParts& now) {
    std::lock_guard<std::mutex> guard(State().appendLock);
    AppendToLogFile(bytes, now);
}

// Logging switched off or the library unloading: the next line opens the file again.
void CloseLogFile() noexcept {
    LogState& state = State();
    std::lock_guard<std::mutex> guard(state.appendLock);
    state.file.Close();
    state.fileName.clear();
    state.holding = false;
}

// FormatLogLine's line in UTF-8 with CR LF, converted part by part into one
// buffer: a trace line's detail can be a whole document, and joining the
// parts as UTF-16 first would hold one more copy of it.
std::string LineBytes(const cf::DateTimeParts& now, TLogLevel level, std::u16string_view text,
                      std::u16string_view detail) {
    const std::u16string head = LineHead(now, level);
    const std::u16string_view trimmedText = cf::TrimView(text);
    const std::u16string_view trimmedDetail = cf::TrimView(detail);
    const std::size_t headLength = cf::Utf8Length(head), textLength = cf::Utf8Length(trimmedText);
    const std::size_t detailLength = detail.empty() ? 0 : cf::Utf8Length(kDetailSeparator) + cf::Utf8Length(trimmedDetail);
    std::string bytes(headLength + textLength + detailLength + 2, '\0');
    char* next = cf::WriteUtf8(bytes.data(), head);
    next = cf::WriteUtf8(next, trimmedText);
    if (!detail.empty()) next = cf::WriteUtf8(cf::WriteUtf8(next, kDetailSeparator), trimmedDetail);
    next[0] = '\r';
    next[1] = '\n';
    return bytes;
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
    std::u16string line = LineHead(now, level);
    line += cf::TrimView(text);
    if (!detail.empty()) line.append(kDetailSeparator).append(cf::TrimView(detail));
    return line;
}

void WriteLog(std::u16string_view text, std::u16string_view detail, TLogLevel level) noexcept {
    if (!LogAccepts(level)) return;
    AttemptWrite([&] {
        WriteStartBanner();
        const cf::DateTimeParts now = Now();
        AppendLine(LineBytes(now, level, text, detail), now);
    });
}

TLogHold::TLogHold() noexcept { ++State().holdDepth; }

TLogHold::~TLogHold() {
    if (--State().holdDepth == 0) LetOtherLogWritersIn();
}

void LetOtherLogWritersIn() noexcept {
    LogState& state = State();
    if (!state.holding.load()) return;
    try {
        std::lock_guard<std::mutex> guard(state.appendLock);
        if (!state.holding.load()) return;
        state.holding = false;
        state.file.LetOthersIn();
    } catch (...) {
    }
}

bool LogKeptFromOtherWriters() noexcept { return State().holding.load(); }

std::u16string ProbeLogFile() noexcept {
    if (GetLogMode() == TLogMode::lmOff) return {};
    AttemptWrite([] {
        WriteStartBanner();
        AppendLine({}, Now());
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
    if (!folderOnly) return PrepareLogFile(CurrentFileKey(Now()));
    const TLogPath path = CurrentLogPath();
    if (path.RootedStem) return path.Stem;
    EnsureFolder(path.Folder);
    return path.Folder;
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
    const cf::DateTimeParts now = Now();
    AppendLine(cf::ToUtf8(line) + "\r\n", now);
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
        CloseLogFile();
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
        CloseLogFile();
        SetLogFileStem({});
        SetLogFolder({});
    } catch (...) {
    }
}

}  // namespace common
