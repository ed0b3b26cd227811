// The scale's command set: where each command sits in the frame header, how
// many data bytes it carries, and what a good answer looks like. The driver
// builds frames from it and the scale simulator recognises them by it.
#pragma once

#include <cstdint>

namespace device {

constexpr uint8_t kSTX = 0x02;
constexpr uint8_t kACK = 0x06;
constexpr uint8_t kNAK = 0x15;
constexpr uint8_t kDataAnswer = 0x66;

// STX, total length, 01 00, data length, 00, table, 00, operation, parameter, firmware mark.
constexpr std::size_t kHeaderSize = 15;
constexpr std::size_t kFirmwareMarkOffset = 14;
constexpr std::size_t kCrcSize = 2;

struct TCommandCode {
    uint8_t Table;
    uint16_t Operation;
    uint16_t Parameter;
    uint16_t DataLength;
    uint8_t GoodAnswer;
    uint16_t FurtherAnswer;  // bytes read after the good answer byte
};

constexpr TCommandCode kClearPLU{0xCF, 8, 1, 45, kACK, 0};
constexpr TCommandCode kDeletePLU{0xCF, 1, 1, 45, kACK, 0};
constexpr TCommandCode kReadPLU{0xCF, 3, 1, 45, kDataAnswer, 117};
constexpr TCommandCode kWritePluOneLine{0xCF, 0, 1, 68, kACK, 0};
constexpr TCommandCode kWritePluTwoLine{0xCF, 0, 1, 100, kACK, 0};
constexpr TCommandCode kReadAdditionalText{0xD1, 2, 0, 2, kDataAnswer, 220};
constexpr TCommandCode kWriteAdditionalText{0xD1, 0, 1, 202, kACK, 0};
constexpr TCommandCode kReadConf{0xC9, 2, 0, 1, kDataAnswer, 40};
constexpr TCommandCode kWriteCompany{0xD4, 0, 0, 72, kACK, 0};
constexpr TCommandCode kWriteTare{0xD7, 0, 1, 6, kACK, 0};
constexpr TCommandCode kWriteDateTime{0xEE, 0, 0, 6, kACK, 0};
constexpr TCommandCode kWriteOperatorOptions{0xCA, 0, 1, 11, kACK, 0};
constexpr TCommandCode kWriteOpers{0xCC, 0, 0, 22, kACK, 0};
constexpr TCommandCode kWriteDateText{0xDB, 0, 0, 32, kACK, 0};
constexpr TCommandCode kWriteBarcodeFormat{0xD6, 0, 1, 20, kACK, 0};
constexpr TCommandCode kWriteLabelOptions{0xF3, 0, 1, 18, kACK, 0};

// Frame widths of the text fields.
constexpr int kPluNameLineWidth = 30;
constexpr int kPluNameOneLineWidth = 28;
constexpr int kBarcodeWidth = 13;
constexpr int kCompanyWidth = 70;
constexpr int kAdditionalTextWidth = 200;
constexpr int kOperatorNameWidth = 20;
constexpr int kOperatorCount = 5;
constexpr int kDateTextWidth = 30;
constexpr int kDateTextCount = 3;
constexpr int kBarcodeFormatWidth = 20;

// Control bytes that texts carry to the scale in place of their markers.
constexpr char kLineBreakByte = 0x10;   // "||" in an additional text
constexpr char kMarker15Byte = 0x0F;    // "##15##"
constexpr uint8_t kLabelOptionsPrepack = 0x05;

}  // namespace device
