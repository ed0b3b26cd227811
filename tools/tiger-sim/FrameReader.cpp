#include "tools/tiger-sim/FrameReader.h"

#include "device/uFrameFields.h"
#include "device/uScaleCommands.h"

namespace tiger_sim {

namespace {

// STX and the total length; the total counts 8 header bytes and the data,
// the frame adds 7 more bytes of header and the 2-byte CRC.
constexpr std::size_t kPrefix = 3;
constexpr std::size_t kOutsideTotal = 9;
constexpr std::size_t kCountedHeader = 8;

}  // namespace

uint32_t ReadLE(std::string_view bytes, std::size_t offset, std::size_t size) {
    uint32_t value = 0;
    for (std::size_t i = 0; i < size && offset + i < bytes.size(); ++i) {
        value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[offset + i])) << (8 * i);
    }
    return value;
}

TFrameSplit SplitFrame(std::string_view buffer) {
    if (buffer.empty()) return {TSplit::spNeedMore, 0};
    if (static_cast<uint8_t>(buffer[0]) != device::kSTX) return {TSplit::spBadStart, 0};
    if (buffer.size() < kPrefix) return {TSplit::spNeedMore, 0};
    const std::size_t total = ReadLE(buffer, 1, 2);
    if (total < kCountedHeader) return {TSplit::spBadLength, 0};
    const std::size_t length = total + kOutsideTotal;
    if (buffer.size() < length) return {TSplit::spNeedMore, 0};
    return {TSplit::spFrame, length};
}

TParsedFrame ParseFrame(std::string bytes) {
    TParsedFrame frame;
    frame.Bytes = std::move(bytes);
    const std::string_view b(frame.Bytes);
    const std::size_t total = ReadLE(b, 1, 2);
    frame.LengthsOk = b.size() == total + kOutsideTotal && ReadLE(b, 3, 2) == 1 &&
                      ReadLE(b, 5, 2) == total - kCountedHeader;
    if (b.size() >= device::kHeaderSize + device::kCrcSize) {
        const std::size_t crcAt = b.size() - device::kCrcSize;
        const uint16_t expected = static_cast<uint16_t>((static_cast<uint8_t>(b[crcAt]) << 8) |
                                                        static_cast<uint8_t>(b[crcAt + 1]));
        frame.CrcOk = device::Crc16(b.substr(1, crcAt - 1)) == expected;
        frame.Table = static_cast<uint8_t>(b[8]);
        frame.Operation = static_cast<uint16_t>(ReadLE(b, 10, 2));
        frame.Parameter = static_cast<uint16_t>(ReadLE(b, 12, 2));
        frame.FirmwareMark = static_cast<uint8_t>(b[device::kFirmwareMarkOffset]);
        frame.Data = frame.Bytes.substr(device::kHeaderSize, crcAt - device::kHeaderSize);
    }
    return frame;
}

}  // namespace tiger_sim
