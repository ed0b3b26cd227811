#include "common/uCommonUtils.h"
#include "common/uVInfo.h"

namespace common {

// Outside Windows files carry no version resource: the library knows only its
// own numbers, compiled in from the project's version.
TVersionNumbers GetFileVersionNumbers(const std::u16string& fileName) {
    if (fileName.empty() || GetLongPath(fileName) != GetModulePath()) return {};
    return TVersionNumbers{WQ_VERSION_MAJOR, WQ_VERSION_MINOR, WQ_VERSION_RELEASE, WQ_VERSION_BUILD};
}

}  // namespace common
