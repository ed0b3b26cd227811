// Appending one line's bytes to a log file that other processes share: while
// a process appends, no other may write.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace common {

enum class TAppendResult { Done, Locked };

// The log file this process has open, as the system has it (on POSIX the
// descriptor and what the name pointed at when it was opened, on Windows the
// handle). The log keeps one, under its own lock: this object has none.
class TLogFile {
public:
    TLogFile();
    ~TLogFile();
    TLogFile(const TLogFile&) = delete;
    TLogFile& operator=(const TLogFile&) = delete;

    // One attempt: denies other writers the file (opened or created; on POSIX
    // the open one is taken again while it is still the regular file under
    // its name), appends at the end and lets them in again, or with
    // keepDenying goes on denying them, so that the next line to the same name
    // appends straight away. Only a regular file is written: a symbolic link
    // is never followed, and a link or anything else under the name fails.
    // Locked when another process holds the file; raises cf::Exception naming
    // the file and the system's reason on any other failure.
    TAppendResult TryAppend(const std::u16string& fileName, std::string_view bytes, bool keepDenying);
    // Lets other writers in again: on POSIX the file is unlocked and stays
    // open; on Windows, where an open handle is what denies, it is closed.
    void LetOthersIn() noexcept;
    // Closes the file (logging switched off, the library unloading).
    void Close() noexcept;

    // What the system keeps of the open file (Common.LogAppend_posix.cpp, _win.cpp).
    struct TState;

private:
    // Per system: whether other writers are denied the file of fileName now;
    // denying them (false when another process holds the file); the write.
    bool Denies(const std::u16string& fileName) const noexcept;
    bool Deny(const std::u16string& fileName);
    void Write(std::string_view bytes, const std::u16string& fileName);

    std::unique_ptr<TState> FState;
};

// Retries a locked file for about 200 ms, then raises the open error.
void AppendDenyingWriters(TLogFile& file, const std::u16string& fileName, std::string_view bytes,
                          bool keepDenying = false);

// The message of a file that cannot be opened or written.
std::u16string FileErrorMessage(const std::u16string& fileName, int code);
// The message of a log name taken by a link, a folder, a pipe or a device.
std::u16string NotARegularFileMessage(const std::u16string& fileName);

}  // namespace common
