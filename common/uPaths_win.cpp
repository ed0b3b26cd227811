#include <windows.h>

#include "common/uPaths.h"
#include "common/uSysError.h"
#include "common/uWinApi_win.h"
#include "lib/cf/Exception.h"

namespace common {

namespace {

// Characters no file or folder name may hold; the drive colon is checked apart.
bool HasInvalidCharacters(std::u16string_view path) {
    const std::u16string_view invalid = u"<>\"|?*";
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] < u' ' || invalid.find(path[i]) != std::u16string_view::npos) return true;
        if (path[i] == u':' && i != 1) return true;
    }
    return false;
}

bool DriveMissing(const std::u16string& path) {
    if (path.size() < 2 || path[1] != u':') return false;
    const std::u16string root = path.substr(0, 2) + u"\\";
    return GetDriveTypeW(Wide(root)) == DRIVE_NO_ROOT_DIR;
}

std::u16string ParentOf(const std::u16string& path) {
    std::size_t end = path.size();
    while (end > 0 && IsPathDelimiter(path[end - 1])) --end;
    while (end > 0 && !IsPathDelimiter(path[end - 1])) --end;
    while (end > 0 && IsPathDelimiter(path[end - 1])) --end;
    return path.substr(0, end);
}

}  // namespace

// Paths without the long-path prefix: MAX_PATH counts the closing zero.
TPathLimits SystemPathLimits() { return {MAX_PATH - 1, 255, false}; }

char16_t PathDelim() { return u'\\'; }
bool IsPathDelimiter(char16_t c) { return c == u'\\' || c == u'/'; }
bool IsDriveDelimiter(char16_t c) { return c == u':'; }

bool DirectoryExists(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void ForceDirectories(const std::u16string& path) {
    std::u16string folder = path;
    while (!folder.empty() && IsPathDelimiter(folder.back())) folder.pop_back();
    if (folder.empty() || DirectoryExists(folder)) return;
    if (HasInvalidCharacters(folder)) throw cf::Exception(u"Invalid characters in path");
    if (DriveMissing(folder)) throw cf::Exception(u"The drive cannot be found");
    const std::u16string parent = ParentOf(folder);
    // A bare drive ("C:") or share root has no parent to make.
    if (!parent.empty() && !(parent.size() == 2 && parent[1] == u':')) ForceDirectories(parent);
    if (!CreateDirectoryW(Wide(folder), nullptr)) {
        const int code = LastOSError();
        if (code == ERROR_ALREADY_EXISTS && DirectoryExists(folder)) return;
        throw cf::Exception(u"Не удалось создать папку \"" + folder + u"\": " + SysErrorMessage(code));
    }
}

}  // namespace common
