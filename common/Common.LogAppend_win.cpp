#include <windows.h>

#include "common/Common.LogAppend.h"
#include "common/uSysError.h"
#include "lib/cf/Exception.h"

namespace common {

namespace {

struct FileHandle {
    HANDLE handle;
    ~FileHandle() { CloseHandle(handle); }
};

// A reparse point (a symbolic link or junction) under the log's name is opened
// as itself, never followed, and then refused like a folder. One attribute
// query per line: the fuller file record costs several times more, which
// two processes sharing the log feel.
bool IsPlainFile(HANDLE handle) {
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &info, sizeof info)) return false;
    return (info.FileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

}  // namespace

TAppendResult TryAppendDenyingWriters(const std::u16string& fileName, std::string_view bytes) {
    // Read and write access, sharing only reading: a second writer fails to open.
    HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(fileName.c_str()), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const int code = LastOSError();
        if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION) return TAppendResult::Locked;
        throw cf::Exception(FileErrorMessage(fileName, code));
    }
    FileHandle file{handle};
    if (!IsPlainFile(file.handle)) throw cf::Exception(NotARegularFileMessage(fileName));
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(file.handle, zero, nullptr, FILE_END)) throw cf::Exception(FileErrorMessage(fileName, LastOSError()));
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(file.handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0)
            throw cf::Exception(FileErrorMessage(fileName, LastOSError()));
        bytes.remove_prefix(written);
    }
    return TAppendResult::Done;
}

// A handle kept open would keep denying other writers between the lines.
void ReleaseLogFile() noexcept {}

}  // namespace common
