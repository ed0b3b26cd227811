#include "forms/uDiskLogFiles.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "common/Common.Log.h"

namespace forms {

namespace fs = std::filesystem;

std::u16string TDiskLogFiles::LogFolder() { return common::GetLogPath(true); }

std::vector<std::u16string> TDiskLogFiles::EntryNames(const std::u16string& AFolder) {
    std::vector<std::u16string> names;
    std::error_code error;
    fs::directory_iterator entries(fs::path(AFolder), error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error))
        names.push_back(entries->path().filename().u16string());
    return names;
}

std::optional<TFileStamp> TDiskLogFiles::Stamp(const std::u16string& APath) {
    std::error_code error;
    const fs::path path(APath);
    if (!fs::is_regular_file(path, error)) return std::nullopt;
    const auto time = fs::last_write_time(path, error);
    if (error) return std::nullopt;
    const auto size = fs::file_size(path, error);
    if (error) return std::nullopt;
    return TFileStamp{static_cast<int64_t>(time.time_since_epoch().count()), static_cast<uint64_t>(size)};
}

std::optional<std::string> TDiskLogFiles::ReadFrom(const std::u16string& APath, uint64_t AOffset) {
    std::ifstream file(fs::path(APath), std::ios::binary);
    if (!file) return std::nullopt;
    file.seekg(0, std::ios::end);
    const std::streamoff end = file.tellg();
    if (end < 0 || static_cast<uint64_t>(end) < AOffset) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(static_cast<uint64_t>(end) - AOffset), '\0');
    file.seekg(static_cast<std::streamoff>(AOffset));
    if (!bytes.empty() && !file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return std::nullopt;
    return bytes;
}

}  // namespace forms
