#include <windows.h>
#include <shlobj.h>

#include "common/uCommonUtils.h"
#include "common/uSystemTime_win.h"
#include "common/uWinApi_win.h"
#include "common/uSysError.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace common {

namespace {

constexpr DWORD kPathCapacity = 260;

std::u16string UpToNul(const wchar_t* buffer, std::size_t capacity) {
    std::size_t length = 0;
    while (length < capacity && buffer[length] != 0) ++length;
    return std::u16string(reinterpret_cast<const char16_t*>(buffer), length);
}

}  // namespace

HMODULE OwnModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&OwnModule), &module);
    return module;
}

std::u16string GetModulePath() {
    wchar_t buffer[kPathCapacity] = {};
    const DWORD length = GetModuleFileNameW(OwnModule(), buffer, kPathCapacity);
    return GetLongPath(UpToNul(buffer, length));
}

std::u16string GetLongPath(const std::u16string& path) {
    wchar_t buffer[kPathCapacity] = {};
    GetLongPathNameW(Wide(path), buffer, kPathCapacity);
    return UpToNul(buffer, kPathCapacity);
}

std::u16string GetSpecialFolderPath(uint16_t csidl) {
    wchar_t buffer[kPathCapacity] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, TRUE))
        throw cf::Exception(u"Система не сообщила папку с кодом " + cf::IntToStr(csidl));
    std::u16string folder = UpToNul(buffer, kPathCapacity);
    if (folder.empty() || folder.back() != u'\\') folder += u'\\';
    return folder;
}

std::u16string GetEnvironmentText(const char16_t* name) {
    const wchar_t* wideName = reinterpret_cast<const wchar_t*>(name);
    const DWORD size = GetEnvironmentVariableW(wideName, nullptr, 0);
    if (size == 0) return {};
    std::u16string value(size, u'\0');
    const DWORD length = GetEnvironmentVariableW(wideName, reinterpret_cast<wchar_t*>(value.data()), size);
    value.resize(length < size ? length : 0);
    return value;
}

cf::DateTimeParts LocalNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return PartsOfSystemTime(now);
}

std::optional<TOsVersionRecord> QueryOsVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // The deprecated query on purpose: the name follows what the system reports to us.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return std::nullopt;
#pragma GCC diagnostic pop
    TOsVersionRecord record;
    record.MajorVersion = info.dwMajorVersion;
    record.MinorVersion = info.dwMinorVersion;
    record.BuildNumber = info.dwBuildNumber;
    record.PlatformId = info.dwPlatformId;
    record.CSDVersion = UpToNul(info.szCSDVersion, 128);
    return record;
}

std::u16string GetOsDisplayName() { return GetWindowsVersionName(); }

}  // namespace common
