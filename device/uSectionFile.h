// Readers of the label template file: sections "[Name]" CR LF ... CR LF
// "[/Name]" CR LF in the system's ANSI code page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace device {

// The text of section AName, or ADefault when the file or the section is
// missing, the markers are out of order or the section is empty.
std::u16string ReadFileSection(std::u16string_view AFileName, std::u16string_view AName,
                               std::u16string_view ADefault);

// Appends the names between "[" and "]" in file order, skipping empty ones
// and closing markers; a missing file leaves AList as it was.
void ReadFileSectionNames(std::u16string_view AFileName, std::vector<std::u16string>& AList);

}  // namespace device
