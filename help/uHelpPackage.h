// Unpacking the help package, a ZIP archive, into the viewer's working folder.
// A package is data from outside: no entry may leave the folder, and its size
// is bounded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace help {

struct TPackageLimits {
    std::size_t MaxEntries = 1000;
    // A package of a few kilobytes can inflate to this many bytes: unpacking
    // it must stay well within a second.
    uint64_t MaxTotalBytes = 16ull * 1024 * 1024;
};

// The entry's path inside the folder, with the system's separators; a folder
// entry keeps its trailing separator. Raises cf::Exception for a name that is
// empty, rooted, carries a drive or stream colon, a ".." component, a
// component ending in a dot or a space, a device name, or is the archive's
// own name `reservedName`.
std::u16string SafeEntryPath(std::u16string_view entryName, std::u16string_view reservedName);

// Extracts every entry of `archive` into `folder` (no trailing separator).
// Raises cf::Exception with a Russian message for a damaged or encrypted
// archive, an unsafe name, or a package beyond the limits.
void ExtractPackage(const std::u16string& archive, const std::u16string& folder, const TPackageLimits& limits = {});

}  // namespace help
