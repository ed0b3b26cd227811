#include <dlfcn.h>
#include <sys/time.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "common/uCommonUtils.h"
#include "common/uPaths.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace common {

namespace {

std::u16string FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? cf::FromUtf8(value) : std::u16string();
}

// PRETTY_NAME of /etc/os-release, without its quotes.
std::u16string DistributionName() {
    std::ifstream file("/etc/os-release");
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("PRETTY_NAME=", 0) != 0) continue;
        std::string value = line.substr(12);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')) value = value.substr(1, value.size() - 2);
        return cf::FromUtf8(value);
    }
    return {};
}

std::u16string UserDataFolder() {
    std::u16string folder = FromEnvironment("XDG_DATA_HOME");
    if (folder.empty() || !IsRootedPath(folder)) {
        const std::u16string home = FromEnvironment("HOME");
        if (home.empty()) throw cf::Exception(u"Система не сообщила папку данных пользователя");
        folder = IncludeTrailingPathDelimiter(home) + u".local/share";
    }
    ForceDirectories(folder);
    return folder;
}

}  // namespace

std::u16string GetModulePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&GetModulePath), &info) == 0 || info.dli_fname == nullptr) return {};
    return GetLongPath(cf::FromUtf8(info.dli_fname));
}

std::u16string GetLongPath(const std::u16string& path) {
    char resolved[PATH_MAX] = {};
    if (realpath(cf::ToUtf8(path).c_str(), resolved) == nullptr) return {};
    return cf::FromUtf8(resolved);
}

std::u16string GetSpecialFolderPath(uint16_t csidl) {
    std::u16string folder;
    if (csidl == kCsidlCommonAppData && access("/var/lib", W_OK) == 0) folder = u"/var/lib";
    if (csidl == kCsidlAppData) folder = UserDataFolder();
    if (folder.empty()) throw cf::Exception(u"Система не сообщила папку с кодом " + cf::IntToStr(csidl));
    return IncludeTrailingPathDelimiter(folder);
}

std::u16string GetEnvironmentText(const char16_t* name) { return FromEnvironment(cf::ToUtf8(name).c_str()); }

// The local time of a second is the same for every line written within it:
// converted once per second, not once per line of an upload.
cf::DateTimeParts LocalNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    thread_local time_t convertedSecond = -1;
    thread_local tm local{};
    if (now.tv_sec != convertedSecond) {
        localtime_r(&now.tv_sec, &local);
        convertedSecond = now.tv_sec;
    }
    return cf::PartsFromTm(local, static_cast<uint16_t>(now.tv_nsec / 1000000));
}

std::optional<TOsVersionRecord> QueryOsVersion() { return std::nullopt; }

std::u16string GetOsDisplayName() {
    utsname names{};
    const std::u16string release = uname(&names) == 0 ? cf::FromUtf8(names.release) : std::u16string();
    std::u16string text = u"Linux " + release;
    const std::u16string distribution = DistributionName();
    if (!distribution.empty()) text += u" " + distribution;
    return text;
}

}  // namespace common
