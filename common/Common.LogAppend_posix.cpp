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

struct FileDescriptor {
    int fd;
    ~FileDescriptor() { close(fd); }
};

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

void RequireRegularFile(const FileDescriptor& file, const std::u16string& fileName) {
    struct stat info {};
    if (fstat(file.fd, &info) != 0) throw cf::Exception(FileErrorMessage(fileName, errno));
    if (!S_ISREG(info.st_mode)) throw cf::Exception(NotARegularFileMessage(fileName));
}

}  // namespace

TAppendResult TryAppendDenyingWriters(const std::u16string& fileName, std::string_view bytes) {
    const int fd = OpenOrCreate(cf::ToUtf8(fileName));
    if (fd < 0) {
        if (errno == ELOOP) throw cf::Exception(NotARegularFileMessage(fileName));
        throw cf::Exception(FileErrorMessage(fileName, errno));
    }
    FileDescriptor file{fd};
    RequireRegularFile(file, fileName);
    if (flock(file.fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK || errno == EINTR) return TAppendResult::Locked;
        throw cf::Exception(FileErrorMessage(fileName, errno));
    }
    while (!bytes.empty()) {
        const ssize_t written = write(file.fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw cf::Exception(FileErrorMessage(fileName, errno));
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return TAppendResult::Done;
}

}  // namespace common
