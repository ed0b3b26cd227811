// The simulated scale's memory: everything the driver's commands write,
// as decoded from their frames, and the answers to the read commands.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/tiger-sim/FrameReader.h"

namespace tiger_sim {

struct TPluEntry {
    uint32_t Plu = 0;
    std::string Barcode;   // as sent, single-byte
    std::string Line1;     // code page 866 bytes
    std::string Line2;     // two-line firmware only
    bool TwoLine = false;
    uint32_t PriceHundredths = 0;
    uint8_t TaxNumber = 0;
    uint8_t TareNumber = 0;
    uint16_t FixWeight = 0;
    uint16_t GroupNumber = 0;
    bool IsWeightGoods = true;
    uint16_t ShelfLife = 0;
    uint16_t SellByDate = 0;
    uint16_t TextID = 0;
};

struct TLabelOptionsEntry {
    bool TwoLine = false;
    uint8_t FontPLU1 = 0, FontPLU2 = 0, FontDopText = 0, PrintStoreAddress = 0;
    uint16_t PrintFormat = 0;
};

struct TScaleState {
    uint8_t FirmwareMark = 0;  // of the last valid frame
    std::map<uint32_t, TPluEntry> Plu;
    std::map<uint16_t, uint32_t> Tare;
    std::optional<std::string> Company;
    std::map<uint16_t, std::string> AdditionalTexts;
    std::map<uint16_t, std::string> Operators;
    std::map<uint16_t, std::string> DateTexts;
    std::optional<std::array<uint8_t, 6>> DateTime;  // day, month, year % 100, hour, minute, second
    std::optional<std::array<uint8_t, 5>> OperatorOptions;  // media, ticket 0, running message, key, ticket 1
    std::optional<std::string> BarcodeFormat;
    std::map<uint8_t, TLabelOptionsEntry> LabelOptions;  // by kind: 2 label, 5 pre-pack
    std::vector<std::string> Labels;  // label layout frames, as given

    std::string ToJson() const;
};

// One frame understood: its command's name, its decoded fields as a JSON
// object, and what it does to the scale (returning the answer bytes).
struct TDecodedFrame {
    std::string Command;
    std::string FieldsJson = "{}";
    std::function<std::string(TScaleState&)> Apply;  // empty: unknown command
};

// A frame with good lengths and CRC. Tables outside the command set are
// label layout frames: stored as given and acknowledged.
TDecodedFrame DecodeFrame(const TParsedFrame& frame);

// Code page 866 bytes as UTF-8, trailing spaces dropped.
std::string TextOf866(const std::string& bytes);

}  // namespace tiger_sim
