#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "common/uSysError.h"
#include "help/uHelpFiles.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace help {

namespace {

[[noreturn]] void RaiseFileError(const char16_t* what, const std::u16string& path, int code) {
    throw cf::Exception(std::u16string(what) + u" \"" + path + u"\": " + common::SysErrorMessage(code));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

struct CloseDirectory {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirectoryStream = std::unique_ptr<DIR, CloseDirectory>;

bool IsDotEntry(const char* name) { return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)); }

// Works below an open folder descriptor so that a link swapped in for a
// folder is deleted, never followed.
bool RemoveContent(int folder) {
    const int fd = dup(folder);
    if (fd < 0) return false;
    DirectoryStream dir(fdopendir(fd));
    if (dir.get() == nullptr) {
        close(fd);
        return false;
    }
    bool removed = true;
    while (const dirent* entry = readdir(dir.get())) {
        if (IsDotEntry(entry->d_name)) continue;
        if (unlinkat(folder, entry->d_name, 0) == 0) continue;
        Descriptor child(openat(folder, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        removed = child.Get() >= 0 && RemoveContent(child.Get()) && unlinkat(folder, entry->d_name, AT_REMOVEDIR) == 0 &&
                  removed;
    }
    return removed;
}

}  // namespace

std::u16string UserTempFolder() {
    const char* tmpdir = std::getenv("TMPDIR");
    std::u16string folder = cf::FromUtf8(tmpdir != nullptr && tmpdir[0] == '/' ? tmpdir : "/tmp");
    if (folder.back() != u'/') folder += u'/';
    return folder;
}

TGuid NewGuid() {
    uint8_t bytes[16];
    std::size_t filled = 0;
    while (filled < sizeof(bytes)) {
        const ssize_t got = getrandom(bytes + filled, sizeof(bytes) - filled, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw cf::Exception(u"Не удалось получить случайное число: " + common::SysErrorMessage(errno));
        filled += static_cast<std::size_t>(got);
    }
    bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4, random
    bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);  // the standard variant
    TGuid guid{};
    guid.Data1 = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
    guid.Data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
    guid.Data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i) guid.Data4[i] = bytes[8 + i];
    return guid;
}

void CreatePrivateFolder(const std::u16string& path) {
    if (mkdir(cf::ToUtf8(path).c_str(), 0700) != 0) RaiseFileError(u"Не удалось создать папку", path, errno);
}

void CreateSubfolder(const std::u16string& path) {
    if (mkdir(cf::ToUtf8(path).c_str(), 0700) != 0 && errno != EEXIST)
        RaiseFileError(u"Не удалось создать папку", path, errno);
}

bool RemoveFolderTree(const std::u16string& path) noexcept {
    try {
        const std::string name = cf::ToUtf8(path);
        Descriptor folder(open(name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (folder.Get() < 0) return errno == ENOENT;
        return RemoveContent(folder.Get()) && rmdir(name.c_str()) == 0;
    } catch (...) {
        return false;
    }
}

std::vector<TFolderEntry> ListFolder(const std::u16string& path) {
    DirectoryStream dir(opendir(cf::ToUtf8(path).c_str()));
    if (dir.get() == nullptr) RaiseFileError(u"Не удалось прочитать папку", path, errno);
    std::vector<TFolderEntry> entries;
    const std::string prefix = cf::ToUtf8(path) + "/";
    while (const dirent* entry = readdir(dir.get())) {
        if (IsDotEntry(entry->d_name)) continue;
        struct stat info {};
        const bool folder = lstat((prefix + entry->d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        entries.push_back({cf::FromUtf8(entry->d_name), folder});
    }
    return entries;
}

std::string ReadFileBytes(const std::u16string& path) {
    Descriptor file(open(cf::ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) RaiseFileError(u"Не удалось открыть файл", path, errno);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(file.Get(), buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) RaiseFileError(u"Не удалось прочитать файл", path, errno);
        if (got == 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

void WriteFileBytes(const std::u16string& path, std::string_view bytes) {
    Descriptor file(open(cf::ToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file.Get() < 0) RaiseFileError(u"Не удалось создать файл", path, errno);
    while (!bytes.empty()) {
        const ssize_t written = write(file.Get(), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) RaiseFileError(u"Не удалось записать файл", path, errno);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace help
