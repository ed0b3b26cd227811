// Cutting scale frames out of the received byte stream and checking them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tiger_sim {

enum class TSplit { spFrame, spNeedMore, spBadStart, spBadLength };

struct TFrameSplit {
    TSplit Kind;
    std::size_t Length;  // of the frame at the head of the buffer, for spFrame
};

// Where the first frame of `buffer` ends, by its total-length field.
TFrameSplit SplitFrame(std::string_view buffer);

struct TParsedFrame {
    std::string Bytes;
    bool LengthsOk = false;  // the constant word and the data length agree with the total
    bool CrcOk = false;
    uint8_t Table = 0;
    uint16_t Operation = 0;
    uint16_t Parameter = 0;
    uint8_t FirmwareMark = 0;
    std::string Data;
};

TParsedFrame ParseFrame(std::string bytes);

// Little-endian unsigned number of `size` bytes at `offset`.
uint32_t ReadLE(std::string_view bytes, std::size_t offset, std::size_t size);

}  // namespace tiger_sim
