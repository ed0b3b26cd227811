// Appending one line's bytes to a log file that other processes share: while
// a process appends, no other may write.
#pragma once

#include <string>
#include <string_view>

namespace common {

enum class TAppendResult { Done, Locked };

// One attempt: opens or creates the file denying other writers, appends at the
// end and closes (or only unlocks, see ReleaseLogFile). Only a regular file is written: a symbolic link is never
// followed, and a link or anything else under the name fails. Locked when another process holds the file; raises
// cf::Exception naming the file and the system's reason on any other failure.
// With keepDenying the file stays denied to other writers after the line (the
// lock kept, or on Windows the file kept open), and the next line to the same
// name appends straight away, until a line without it or ReleaseLogLock.
TAppendResult TryAppendDenyingWriters(const std::u16string& fileName, std::string_view bytes,
                                      bool keepDenying = false);

// Lets other writers in again after lines written with keepDenying.
void ReleaseLogLock() noexcept;

// Where the system allows (POSIX), the file of the last append stays open
// between lines, unlocked, and is opened again when anything changes under
// its name; this closes it (logging switched off, the library unloading).
void ReleaseLogFile() noexcept;

// Retries a locked file for about 200 ms, then raises the open error.
void AppendDenyingWriters(const std::u16string& fileName, std::string_view bytes, bool keepDenying = false);

// The message of a file that cannot be opened or written.
std::u16string FileErrorMessage(const std::u16string& fileName, int code);
// The message of a log name taken by a link, a folder, a pipe or a device.
std::u16string NotARegularFileMessage(const std::u16string& fileName);

}  // namespace common
