#include <windows.h>
#include <objbase.h>

#include "common/uSysError.h"
#include "common/uWinApi_win.h"
#include "help/uHelpFiles.h"
#include "lib/cf/Exception.h"

namespace help {

namespace {

using common::Wide;

[[noreturn]] void RaiseFileError(const char16_t* what, const std::u16string& path, DWORD code) {
    throw cf::Exception(std::u16string(what) + u" \"" + path + u"\": " +
                        common::SysErrorMessage(static_cast<int>(code)));
}

// Closes a handle that the system answered with INVALID_HANDLE_VALUE for failure.
template <BOOL(WINAPI* Close)(HANDLE)>
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) Close(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

using FileHandle = Handle<CloseHandle>;
using FindHandle = Handle<FindClose>;

bool IsDotEntry(const wchar_t* name) { return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0)); }

std::u16string NameOf(const WIN32_FIND_DATAW& data) { return reinterpret_cast<const char16_t*>(data.cFileName); }

// A junction or link is removed as itself, never entered.
bool IsRealFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

bool RemoveEntry(const std::u16string& path, DWORD attributes);

bool RemoveContent(const std::u16string& folder) {
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW(Wide(folder + u"\\*"), &data));
    if (find.Get() == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    bool removed = true;
    do {
        if (IsDotEntry(data.cFileName)) continue;
        removed = RemoveEntry(folder + u"\\" + NameOf(data), data.dwFileAttributes) && removed;
    } while (FindNextFileW(find.Get(), &data));
    return removed;
}

bool RemoveEntry(const std::u16string& path, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        SetFileAttributesW(Wide(path), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (IsRealFolder(attributes)) return RemoveContent(path) && RemoveDirectoryW(Wide(path));
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return RemoveDirectoryW(Wide(path));
    return DeleteFileW(Wide(path));
}

}  // namespace

std::u16string UserTempFolder() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH)
        throw cf::Exception(u"Не удалось определить временную папку пользователя: " +
                            common::SysErrorMessage(static_cast<int>(GetLastError())));
    std::u16string folder(reinterpret_cast<const char16_t*>(buffer), length);
    if (folder.back() != u'\\') folder += u'\\';
    return folder;
}

TGuid NewGuid() {
    GUID guid;
    const HRESULT result = CoCreateGuid(&guid);
    if (FAILED(result)) throw cf::Exception(u"Не удалось создать GUID: " + common::SysErrorMessage(static_cast<int>(result)));
    TGuid out{};
    out.Data1 = guid.Data1;
    out.Data2 = guid.Data2;
    out.Data3 = guid.Data3;
    for (int i = 0; i < 8; ++i) out.Data4[i] = guid.Data4[i];
    return out;
}

// The user's temporary folder is private to the user already.
void CreatePrivateFolder(const std::u16string& path) {
    if (!CreateDirectoryW(Wide(path), nullptr)) RaiseFileError(u"Не удалось создать папку", path, GetLastError());
}

void CreateSubfolder(const std::u16string& path) {
    if (!CreateDirectoryW(Wide(path), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        RaiseFileError(u"Не удалось создать папку", path, GetLastError());
}

bool RemoveFolderTree(const std::u16string& path) noexcept {
    try {
        const DWORD attributes = GetFileAttributesW(Wide(path));
        if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
        return RemoveEntry(path, attributes);
    } catch (...) {
        return false;
    }
}

std::vector<TFolderEntry> ListFolder(const std::u16string& path) {
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW(Wide(path + u"\\*"), &data));
    if (find.Get() == INVALID_HANDLE_VALUE) RaiseFileError(u"Не удалось прочитать папку", path, GetLastError());
    std::vector<TFolderEntry> entries;
    do {
        if (IsDotEntry(data.cFileName)) continue;
        entries.push_back({NameOf(data), IsRealFolder(data.dwFileAttributes)});
    } while (FindNextFileW(find.Get(), &data));
    return entries;
}

std::string ReadFileBytes(const std::u16string& path) {
    FileHandle file(CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) RaiseFileError(u"Не удалось открыть файл", path, GetLastError());
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr))
            RaiseFileError(u"Не удалось прочитать файл", path, GetLastError());
        if (got == 0) return bytes;
        bytes.append(buffer, got);
    }
}

void WriteFileBytes(const std::u16string& path, std::string_view bytes) {
    FileHandle file(CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) RaiseFileError(u"Не удалось создать файл", path, GetLastError());
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr) || written == 0)
            RaiseFileError(u"Не удалось записать файл", path, GetLastError());
        bytes.remove_prefix(written);
    }
}

}  // namespace help
