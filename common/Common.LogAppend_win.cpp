#include <windows.h>

#include <memory>

#include "common/Common.LogAppend.h"
#include "common/uSysError.h"
#include "lib/cf/Exception.h"

namespace common {

// The file kept open, denying other writers, after a line written with
// keepDenying; its next line to the same name appends without opening it.
struct TLogFile::TState {
    std::u16string name;
    HANDLE handle = INVALID_HANDLE_VALUE;
};

namespace {

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

TLogFile::TLogFile() : FState(std::make_unique<TState>()) {}

TLogFile::~TLogFile() { Close(); }

bool TLogFile::Denies(const std::u16string& fileName) const noexcept {
    return FState->handle != INVALID_HANDLE_VALUE && FState->name == fileName;
}

bool TLogFile::Deny(const std::u16string& fileName) {
    FState->handle = OpenAtEnd(fileName);
    if (FState->handle == INVALID_HANDLE_VALUE) return false;
    FState->name = fileName;
    return true;
}

void TLogFile::Write(std::string_view bytes, const std::u16string& fileName) {
    WriteAll(FState->handle, bytes, fileName);
}

// An open handle is what denies other writers.
void TLogFile::LetOthersIn() noexcept { Close(); }

void TLogFile::Close() noexcept {
    if (FState->handle != INVALID_HANDLE_VALUE) CloseHandle(FState->handle);
    FState->handle = INVALID_HANDLE_VALUE;
    FState->name.clear();
}

}  // namespace common
