#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/Common.LogAppend.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace common {

namespace {

// The folder is open to every user, so whoever can plant a link or a pipe
// under the log's name must not make the driver write through it: links are
// never followed, a pipe never blocks the open, and only a regular file is
// written.
constexpr int kOpenFlags = O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;

// A new log file is writable by every user, like the folder it lies in. The
// file mostly exists already: one open then, and the exclusive create (which
// tells that this process made the file and must widen its mode) only when
// it does not; a file made by another process in between is simply opened.
int OpenOrCreate(const std::string& name) {
    int fd = open(name.c_str(), kOpenFlags);
    if (fd >= 0 || errno != ENOENT) return fd;
    fd = open(name.c_str(), kOpenFlags | O_CREAT | O_EXCL, 0666);
    if (fd >= 0) {
        fchmod(fd, 0666);
        return fd;
    }
    if (errno != EEXIST) return -1;
    return open(name.c_str(), kOpenFlags);
}

}  // namespace

// The file of the last append stays open: the next line then costs a look at
// the name (still this very regular file, with the same mode and owner?), the
// lock, the write and the unlock, not an open and a close besides. Any change
// under the name (removed, replaced, made a link, rights changed) opens the
// name again with every check, as for a new file.
struct TLogFile::TState {
    std::u16string wideName;  // as the log names it, to skip converting it again
    std::string name;
    int fd = -1;
    struct stat info {};
    bool locked = false;
};

namespace {

void Unlock(TLogFile::TState& file) {
    if (file.locked) flock(file.fd, LOCK_UN);
    file.locked = false;
}

void Release(TLogFile::TState& file) {
    if (file.fd >= 0) close(file.fd);
    file.fd = -1;
    file.locked = false;
    file.name.clear();
    file.wideName.clear();
}

bool StillHeld(const TLogFile::TState& file, const std::string& name) {
    if (file.fd < 0 || file.name != name) return false;
    struct stat now {};
    return lstat(name.c_str(), &now) == 0 && S_ISREG(now.st_mode) && now.st_dev == file.info.st_dev &&
           now.st_ino == file.info.st_ino && now.st_mode == file.info.st_mode && now.st_uid == file.info.st_uid &&
           now.st_gid == file.info.st_gid;
}

void Hold(TLogFile::TState& file, const std::string& name, const std::u16string& fileName) {
    Release(file);
    const int fd = OpenOrCreate(name);
    if (fd < 0) {
        if (errno == ELOOP) throw cf::Exception(NotARegularFileMessage(fileName));
        throw cf::Exception(FileErrorMessage(fileName, errno));
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        const int code = errno;
        close(fd);
        throw cf::Exception(FileErrorMessage(fileName, code));
    }
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        throw cf::Exception(NotARegularFileMessage(fileName));
    }
    file.name = name;
    file.wideName = fileName;
    file.fd = fd;
    file.info = info;
}

void WriteAll(int fd, std::string_view bytes, const std::u16string& fileName) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw cf::Exception(FileErrorMessage(fileName, errno));
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace

TLogFile::TLogFile() : FState(std::make_unique<TState>()) {}

TLogFile::~TLogFile() { Close(); }

// While the lock is kept for the same name a line costs the write alone: the
// name was checked when the lock was taken, and no other writer got in since.
bool TLogFile::Denies(const std::u16string& fileName) const noexcept {
    return FState->locked && FState->wideName == fileName;
}

// Locks the file of fileName, checking the name first.
bool TLogFile::Deny(const std::u16string& fileName) {
    TState& file = *FState;
    const std::string name = file.fd >= 0 && file.wideName == fileName ? file.name : cf::ToUtf8(fileName);
    if (!StillHeld(file, name)) Hold(file, name, fileName);
    if (flock(file.fd, LOCK_EX | LOCK_NB) == 0) {
        file.locked = true;
        return true;
    }
    if (errno == EWOULDBLOCK || errno == EINTR) return false;
    throw cf::Exception(FileErrorMessage(fileName, errno));
}

void TLogFile::Write(std::string_view bytes, const std::u16string& fileName) { WriteAll(FState->fd, bytes, fileName); }

void TLogFile::LetOthersIn() noexcept { Unlock(*FState); }

void TLogFile::Close() noexcept { Release(*FState); }

}  // namespace common
