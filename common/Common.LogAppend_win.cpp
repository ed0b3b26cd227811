#include <windows.h>

#include <mutex>

#include "common/Common.LogAppend.h"
#include "common/uSysError.h"
#include "lib/cf/Exception.h"

namespace common {

namespace {

// The file kept open (denying other writers) after a line written with
// keepDenying; its next line to the same name appends without opening it.
struct KeptFile {
    std::mutex lock;
    std::u16string name;  // under lock, with handle
    HANDLE handle = INVALID_HANDLE_VALUE;
};

// Never destroyed: the library's unload step still writes its last line.
KeptFile& Kept() {
    static KeptFile* kept = new KeptFile;
    return *kept;
}

void Close(KeptFile& kept) {
    if (kept.handle != INVALID_HANDLE_VALUE) CloseHandle(kept.handle);
    kept.handle = INVALID_HANDLE_VALUE;
    kept.name.clear();
}

// A reparse point (a symbolic link or junction) under the log's name is opened
// as itself, never followed, and then refused like a folder. One attribute
// query per line: the fuller file record costs several times more, which
// two processes sharing the log feel.
bool IsPlainFile(HANDLE handle) {
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &info, sizeof info)) return false;
    return (info.FileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

// Opens the file for one line at its end, or answers INVALID_HANDLE_VALUE
// when another process has it open for writing.
HANDLE OpenAtEnd(const std::u16string& fileName) {
    // Read and write access, sharing only reading: a second writer fails to open.
    HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(fileName.c_str()), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const int code = LastOSError();
        if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION) return INVALID_HANDLE_VALUE;
        throw cf::Exception(FileErrorMessage(fileName, code));
    }
    if (!IsPlainFile(handle)) {
        CloseHandle(handle);
        throw cf::Exception(NotARegularFileMessage(fileName));
    }
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(handle, zero, nullptr, FILE_END)) {
        const int code = LastOSError();
        CloseHandle(handle);
        throw cf::Exception(FileErrorMessage(fileName, code));
    }
    return handle;
}

void WriteAll(HANDLE handle, std::string_view bytes, const std::u16string& fileName) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0)
            throw cf::Exception(FileErrorMessage(fileName, LastOSError()));
        bytes.remove_prefix(written);
    }
}

}  // namespace

TAppendResult TryAppendDenyingWriters(const std::u16string& fileName, std::string_view bytes, bool keepDenying) {
    KeptFile& kept = Kept();
    std::lock_guard<std::mutex> guard(kept.lock);
    if (kept.handle == INVALID_HANDLE_VALUE || kept.name != fileName) {
        Close(kept);
        kept.handle = OpenAtEnd(fileName);
        if (kept.handle == INVALID_HANDLE_VALUE) return TAppendResult::Locked;
        kept.name = fileName;
    }
    try {
        WriteAll(kept.handle, bytes, fileName);
    } catch (...) {
        Close(kept);
        throw;
    }
    if (!keepDenying) Close(kept);
    return TAppendResult::Done;
}

// A handle kept open keeps denying other writers: it is closed with the lock.
void ReleaseLogFile() noexcept { ReleaseLogLock(); }

void ReleaseLogLock() noexcept {
    KeptFile& kept = Kept();
    std::lock_guard<std::mutex> guard(kept.lock);
    Close(kept);
}

}  // namespace common
