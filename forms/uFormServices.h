// What the windows' presenters need from the system, behind small interfaces
// so that their rules can be checked with fakes: files and their times, the
// clock and the shell.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace forms {

struct TFileStamp {
    int64_t LastWriteTime = 0;  // in the system's file-time ticks; only compared
    uint64_t Size = 0;
};

class ILogFiles {
public:
    virtual ~ILogFiles() = default;
    // The log folder with a trailing separator, created when missing.
    virtual std::u16string LogFolder() = 0;
    // Names (without folder) of every entry of AFolder.
    virtual std::vector<std::u16string> EntryNames(const std::u16string& AFolder) = 0;
    // Nothing when the file does not exist or cannot be looked at.
    virtual std::optional<TFileStamp> Stamp(const std::u16string& APath) = 0;
    // The bytes from AOffset to the end; nothing when the file cannot be read.
    virtual std::optional<std::string> ReadFrom(const std::u16string& APath, uint64_t AOffset) = 0;
};

class IShell {
public:
    virtual ~IShell() = default;
    // Opens AFolder in the system's file explorer.
    virtual void Explore(const std::u16string& AFolder) = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    // The local date and time as days since 30 December 1899.
    virtual double Now() = 0;
};

}  // namespace forms
