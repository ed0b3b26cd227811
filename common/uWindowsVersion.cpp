#include "common/uWindowsVersion.h"

#include <initializer_list>
#include <iterator>

#include "lib/cf/TextUtils.h"

namespace common {

namespace {

constexpr uint32_t kPlatformNT = 2;

const char16_t* const kNames[] = {
    u"Unknown",      u"Windows 95",    u"Windows 98", u"Windows ME",  u"Windows NT 3",
    u"Windows NT 4", u"Windows 2000",  u"Windows XP", u"Windows 2003", u"Windows Vista",
    u"Windows 7",    u"Windows 8.0",   u"Windows 8.1", u"Windows 10",
};

int Windows4Index(const TOsVersionRecord& r) {
    switch (r.MinorVersion) {
        case 0: return r.PlatformId == kPlatformNT ? 5 : 1;
        case 10: return 2;
        case 90: return 3;
        default: return 0;
    }
}

int ByMinor(uint32_t minor, std::initializer_list<int> indices) {
    return minor < indices.size() ? *(indices.begin() + minor) : 0;
}

}  // namespace

int WindowsVersionIndex(const TOsVersionRecord& r) {
    switch (r.MajorVersion) {
        case 3: return 4;
        case 4: return Windows4Index(r);
        case 5: return ByMinor(r.MinorVersion, {6, 7, 8});
        case 6: return ByMinor(r.MinorVersion, {9, 10, 11, 12});
        case 10: return r.MinorVersion == 0 ? 13 : 0;
        default: return 0;
    }
}

const char16_t* WindowsVersionDisplayName(int index) {
    return index >= 0 && index < static_cast<int>(std::size(kNames)) ? kNames[index] : kNames[0];
}

std::u16string WindowsVersionDetail(const TOsVersionRecord& r) {
    std::u16string detail;
    if (!r.CSDVersion.empty()) detail = r.CSDVersion + u" ";
    return detail + u"(" + cf::UIntToStr(r.MajorVersion) + u"." + cf::UIntToStr(r.MinorVersion) + u"." +
           cf::UIntToStr(r.BuildNumber) + u")";
}

std::u16string WindowsVersionName(const std::optional<TOsVersionRecord>& record) {
    if (!record) return std::u16string(kNames[0]) + u" ";
    return std::u16string(WindowsVersionDisplayName(WindowsVersionIndex(*record))) + u" " +
           WindowsVersionDetail(*record);
}

}  // namespace common
