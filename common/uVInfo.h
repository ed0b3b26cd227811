// Version numbers of the library's own file and of other files.
#pragma once

#include <cstdint>
#include <string>

namespace common {

struct TVersionNumbers {
    uint16_t Major = 0;
    uint16_t Minor = 0;
    uint16_t Release = 0;
    uint16_t Build = 0;
};

// The numbers of a file's version resource; all 0 when it has none or it cannot be read.
TVersionNumbers GetFileVersionNumbers(const std::u16string& fileName);
// The library's own version.
TVersionNumbers GetModuleVersion();
// "%d.%d.%d.%d", e.g. "8.1.3.15".
std::u16string FormatVersion(const TVersionNumbers& version);
// The version of the named file, or of the library itself when the name is empty.
std::u16string GetFileVersionString(const std::u16string& fileName);

}  // namespace common
