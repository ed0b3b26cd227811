#include "ZipBuilder.h"

#include <zlib.h>

#include <stdexcept>

namespace help_tests {

namespace {

void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// Version needed, flags, method, time and date, CRC, both sizes, name length:
// the same run of fields in the local and the central header.
void PutCommon(std::string& out, uint16_t flags, uint16_t method, uint32_t crc, uint32_t stored, uint32_t size,
               std::size_t nameLength) {
    Put16(out, 20);
    Put16(out, flags);
    Put16(out, method);
    Put16(out, 0);
    Put16(out, 0x5C21);  // 2026-01-01
    Put32(out, crc);
    Put32(out, stored);
    Put32(out, size);
    Put16(out, static_cast<uint32_t>(nameLength));
    Put16(out, 0);  // extra field length
}

}  // namespace

std::string Deflate(const std::string& data) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) throw std::runtime_error("deflate");
    return out;
}

ZipBuilder& ZipBuilder::Add(const std::string& name, const std::string& data, const ZipEntryOptions& options) {
    Entry entry;
    entry.Name = name;
    entry.Stored = options.Deflate ? Deflate(data) : data;
    entry.Method = options.Deflate ? 8 : 0;
    entry.Flags = options.Flags;
    entry.Crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    entry.Size = options.DeclaredSize.value_or(static_cast<uint32_t>(data.size()));
    entry.Offset = static_cast<uint32_t>(local_.size());
    Put32(local_, 0x04034B50);
    PutCommon(local_, entry.Flags, entry.Method, entry.Crc, static_cast<uint32_t>(entry.Stored.size()), entry.Size,
              name.size());
    local_ += name;
    local_ += entry.Stored;
    entries_.push_back(std::move(entry));
    return *this;
}

std::string ZipBuilder::Bytes() const {
    std::string central;
    for (const Entry& entry : entries_) {
        Put32(central, 0x02014B50);
        Put16(central, 20);  // made by
        PutCommon(central, entry.Flags, entry.Method, entry.Crc, static_cast<uint32_t>(entry.Stored.size()), entry.Size,
                  entry.Name.size());
        Put16(central, 0);  // comment length
        Put16(central, 0);  // disk
        Put16(central, 0);  // internal attributes
        Put32(central, entry.Name.ends_with('/') ? 0x10 : 0);
        Put32(central, entry.Offset);
        central += entry.Name;
    }
    std::string archive = local_ + central;
    Put32(archive, 0x06054B50);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<uint32_t>(entries_.size()));
    Put16(archive, static_cast<uint32_t>(entries_.size()));
    Put32(archive, static_cast<uint32_t>(central.size()));
    Put32(archive, static_cast<uint32_t>(local_.size()));
    Put16(archive, 0);
    return archive;
}

}  // namespace help_tests
