// File-name text rules and folder services for the log location. What differs
// between systems (separators, what counts as rooted, how folders are made)
// lives in the platform files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace common {

// The system's path separator: "\" on Windows, "/" elsewhere.
char16_t PathDelim();
// Windows takes "\" and "/"; elsewhere only "/".
bool IsPathDelimiter(char16_t c);
// The colon after a drive letter; no such thing outside Windows.
bool IsDriveDelimiter(char16_t c);
// Begins with a drive letter and its colon, or with a separator.
bool IsRootedPath(std::u16string_view path);

std::u16string IncludeTrailingPathDelimiter(std::u16string_view path);
// The part after the last separator or drive colon.
std::u16string ExtractFileName(std::u16string_view path);
// The file name without folder and without its last extension.
std::u16string ExtractFileStem(std::u16string_view path);

// How long a whole path and one name in it may be on this system, counted in
// UTF-16 units on Windows and in UTF-8 bytes elsewhere.
struct TPathLimits {
    std::size_t MaxPath;
    std::size_t MaxName;
    bool CountsUtf8Bytes;
};
TPathLimits SystemPathLimits();
// The text's length in the units the limits count.
std::size_t PathLength(std::u16string_view text, const TPathLimits& limits);

bool DirectoryExists(const std::u16string& path);
// Creates the folder with every missing parent; raises cf::Exception naming the
// folder and the system's reason when one cannot be made.
void ForceDirectories(const std::u16string& path);

}  // namespace common
