// The display name of a Windows version, from the record the version query
// reports. Kept apart from the query so that every row can be checked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace common {

// What GetVersionExW reports (the basic record).
struct TOsVersionRecord {
    uint32_t MajorVersion = 0;
    uint32_t MinorVersion = 0;
    uint32_t BuildNumber = 0;
    uint32_t PlatformId = 0;       // 2: the NT platform
    std::u16string CSDVersion;     // service-pack text
};

// 0 "Unknown" ... 13 "Windows 10".
int WindowsVersionIndex(const TOsVersionRecord& record);
const char16_t* WindowsVersionDisplayName(int index);
// "Service Pack 1 (6.1.7601)", or "(10.0.19045)" without a service pack.
std::u16string WindowsVersionDetail(const TOsVersionRecord& record);
// The display name, a space and the detail; "Unknown " when the query failed.
std::u16string WindowsVersionName(const std::optional<TOsVersionRecord>& record);

}  // namespace common
