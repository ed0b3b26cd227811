#include "tests/unit/common/LogTestSupport.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace log_tests {

namespace fs = std::filesystem;

namespace {
std::u16string WithSeparator(const fs::path& path) {
    std::u16string text = path.u16string();
    const char16_t separator = static_cast<char16_t>(fs::path::preferred_separator);
    if (text.empty() || text.back() != separator) text += separator;
    return text;
}
}  // namespace

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path folder = fs::temp_directory_path() /
                            ("wq-log-test-" + std::to_string(ticks) + "-" + std::to_string(counter++));
    fs::create_directories(folder);
    path_ = WithSeparator(folder);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(fs::path(path_), ignored);
}

bool FileExists(const std::u16string& path) { return fs::exists(fs::path(path)); }

std::string ReadFileBytes(const std::u16string& path) {
    std::ifstream file(fs::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::u16string> FilesIn(const std::u16string& folder) {
    std::vector<std::u16string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(folder), error)) names.push_back(entry.path().filename().u16string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> CrLfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace log_tests
