// A private folder of the fuzz program under the system's temporary folder,
// emptied for every input.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace fuzz_support {

// Empties (or makes) the folder `name` and answers its path.
std::filesystem::path FreshFolder(const char* name);
void WriteFile(const std::filesystem::path& file, std::string_view bytes);

}  // namespace fuzz_support
