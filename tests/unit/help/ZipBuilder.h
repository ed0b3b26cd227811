// Builds ZIP archives in memory for the package tests, including ones no
// honest tool would write: any entry name, flags and declared sizes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace help_tests {

struct ZipEntryOptions {
    bool Deflate = false;
    uint16_t Flags = 0;
    // Replaces the true unpacked size in both headers.
    std::optional<uint32_t> DeclaredSize;
};

class ZipBuilder {
public:
    ZipBuilder& Add(const std::string& name, const std::string& data, const ZipEntryOptions& options = {});
    std::string Bytes() const;

private:
    struct Entry {
        std::string Name;
        std::string Stored;
        uint16_t Method;
        uint16_t Flags;
        uint32_t Crc;
        uint32_t Size;
        uint32_t Offset;
    };
    std::vector<Entry> entries_;
    std::string local_;
};

// Raw deflate, as a ZIP entry holds it.
std::string Deflate(const std::string& data);

}  // namespace help_tests
