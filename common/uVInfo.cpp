#include "common/uVInfo.h"

#include "common/uCommonUtils.h"
#include "lib/cf/TextUtils.h"

namespace common {

TVersionNumbers GetModuleVersion() { return GetFileVersionNumbers(GetModulePath()); }

std::u16string FormatVersion(const TVersionNumbers& v) {
    return cf::UIntToStr(v.Major) + u"." + cf::UIntToStr(v.Minor) + u"." + cf::UIntToStr(v.Release) + u"." +
           cf::UIntToStr(v.Build);
}

std::u16string GetFileVersionString(const std::u16string& fileName) {
    return FormatVersion(fileName.empty() ? GetModuleVersion() : GetFileVersionNumbers(fileName));
}

}  // namespace common
