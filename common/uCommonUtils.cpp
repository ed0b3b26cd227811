#include "common/uCommonUtils.h"

namespace common {

int GetWindowsVersion(std::u16string& detail) {
    detail.clear();
    const std::optional<TOsVersionRecord> record = QueryOsVersion();
    if (!record) return 0;
    detail = WindowsVersionDetail(*record);
    return WindowsVersionIndex(*record);
}

std::u16string GetWindowsVersionName() { return WindowsVersionName(QueryOsVersion()); }

}  // namespace common
