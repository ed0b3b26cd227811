// Facts about the running system and the library itself: its own file,
// special folders, the environment, the local clock and the system's name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/uWindowsVersion.h"
#include "lib/cf/DateTime.h"

namespace common {

inline constexpr uint16_t kCsidlCommonAppData = 0x23;
inline constexpr uint16_t kCsidlAppData = 0x1A;

// Full file name of the library itself (not of the host process), in its long form.
std::u16string GetModulePath();
// The long form of an existing path; empty when the path does not exist.
std::u16string GetLongPath(const std::u16string& path);
// A special folder with a trailing separator, created when missing. Raises
// cf::Exception when the system cannot give it.
std::u16string GetSpecialFolderPath(uint16_t csidl);

// An environment variable's value; empty when it is not set.
std::u16string GetEnvironmentText(const char16_t* name);

// The local date and time, with milliseconds.
cf::DateTimeParts LocalNow();

// What the system's version query reports; nothing when it fails or the system has none.
std::optional<TOsVersionRecord> QueryOsVersion();
// Index of the Windows version table and its detail text.
int GetWindowsVersion(std::u16string& detail);
std::u16string GetWindowsVersionName();
// The system's name for the log's start banner: the Windows version name on
// Windows; "Linux", the kernel release and the distribution's name elsewhere.
std::u16string GetOsDisplayName();

}  // namespace common
