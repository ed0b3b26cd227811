#include "tests/fuzz/support/FuzzFolder.h"

#include <fstream>

#include "tests/fuzz/support/FuzzCheck.h"

namespace fuzz_support {

std::filesystem::path FreshFolder(const char* name) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error) / name;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder, error);
    Require(!error, "the fuzz program's folder cannot be made");
    return folder;
}

void WriteFile(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace fuzz_support
