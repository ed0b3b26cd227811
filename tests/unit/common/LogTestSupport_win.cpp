#include <windows.h>

#include <stdexcept>

#include "lib/cf/TextUtils.h"
#include "tests/unit/common/LogTestSupport.h"

namespace log_tests {

namespace {

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// One argument in quotes, as the C runtime splits a command line: backslashes
// before a quote or the closing quote are doubled.
std::u16string Quoted(const std::u16string& argument) {
    std::u16string quoted = u"\"";
    std::size_t backslashes = 0;
    for (char16_t c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == u'"' ? 2 * backslashes + 1 : backslashes, u'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, u'\\');
    return quoted + u"\"";
}

}  // namespace

void SetEnvironment(const std::u16string& name, const std::u16string& value) {
    SetEnvironmentVariableW(Wide(name), Wide(value));
}

void UnsetEnvironment(const std::u16string& name) { SetEnvironmentVariableW(Wide(name), nullptr); }

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
    std::u16string commandLine = Quoted(cf::FromUtf8(program));
    for (const std::string& a : arguments) commandLine += u" " + Quoted(cf::FromUtf8(a));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(commandLine.data()), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        throw std::runtime_error("cannot start " + program);
    CloseHandle(process.hThread);
    handle_ = process.hProcess;
}

ChildProcess::~ChildProcess() {
    if (!waited_) Wait();
    CloseHandle(static_cast<HANDLE>(handle_));
}

int ChildProcess::Wait() {
    waited_ = true;
    WaitForSingleObject(static_cast<HANDLE>(handle_), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(static_cast<HANDLE>(handle_), &code);
    return static_cast<int>(code);
}

std::string ProgramFolder() {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer, length);
    return path.substr(0, path.find_last_of("\\/") + 1);
}

std::string ProgramFileName(const std::string& name) { return name + ".exe"; }

bool OtherWriterGetsIn(const std::u16string& path) {
    HANDLE handle = CreateFileW(Wide(path), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_SHARING_VIOLATION) return false;
        throw std::runtime_error("cannot open the file");
    }
    CloseHandle(handle);
    return true;
}

ForeignFileLock::ForeignFileLock(const std::u16string& path) {
    HANDLE handle = CreateFileW(Wide(path), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot lock the file");
    handle_ = handle;
}

ForeignFileLock::~ForeignFileLock() { Release(); }

void ForeignFileLock::Release() {
    if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
}

}  // namespace log_tests
