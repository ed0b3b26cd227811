#include <sys/stat.h>

#include <cerrno>
#include <climits>

#include "common/uPaths.h"
#include "common/uSysError.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace common {

char16_t PathDelim() { return u'/'; }
bool IsPathDelimiter(char16_t c) { return c == u'/'; }
bool IsDriveDelimiter(char16_t) { return false; }

// PATH_MAX counts the closing zero.
TPathLimits SystemPathLimits() { return {PATH_MAX - 1, NAME_MAX, true}; }

bool DirectoryExists(const std::u16string& path) {
    struct stat info {};
    return stat(cf::ToUtf8(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void ForceDirectories(const std::u16string& path) {
    std::u16string folder = path;
    while (folder.size() > 1 && folder.back() == u'/') folder.pop_back();
    if (folder.empty() || DirectoryExists(folder)) return;
    const std::size_t slash = folder.find_last_of(u'/');
    if (slash != std::u16string::npos && slash > 0) ForceDirectories(folder.substr(0, slash));
    if (mkdir(cf::ToUtf8(folder).c_str(), 0777) != 0) {
        const int code = errno;
        if (code == EEXIST && DirectoryExists(folder)) return;
        throw cf::Exception(u"Не удалось создать папку \"" + folder + u"\": " + SysErrorMessage(code));
    }
}

}  // namespace common
