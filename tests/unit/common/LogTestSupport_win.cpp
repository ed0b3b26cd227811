#include <windows.h>

#include <stdexcept>

#include "lib/cf/TextUtils.h"
#include "tests/unit/common/LogTestSupport.h"

namespace log_tests {

namespace {
const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
}  // namespace

void SetEnvironment(const std::u16string& name, const std::u16string& value) {
    SetEnvironmentVariableW(Wide(name), Wide(value));
}

void UnsetEnvironment(const std::u16string& name) { SetEnvironmentVariableW(Wide(name), nullptr); }

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
    std::u16string commandLine = u"\"" + cf::FromUtf8(program) + u"\"";
    for (const std::string& a : arguments) commandLine += u" \"" + cf::FromUtf8(a) + u"\"";
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
