// Frames as the protocol's layout describes them, built apart from the
// library's encoders, and the frames the simulator received, for tests that
// compare the two byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/tiger-sim/Simulator.h"

namespace test_support {

// CRC-16/XMODEM written here, apart from the library's.
inline uint16_t ReferenceCrc(const std::string& bytes) {
    uint16_t crc = 0;
    for (unsigned char byte : bytes) {
        crc ^= static_cast<uint16_t>(byte << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x1021) : static_cast<uint16_t>(crc << 1);
    }
    return crc;
}

// Header, data and CRC of a frame, built from the protocol's layout.
inline std::string ReferenceFrame(uint8_t table, uint16_t operation, uint16_t parameter, uint8_t firmwareMark,
                                  const std::string& data) {
    auto le16 = [](std::size_t v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; };
    std::string frame = "\x02" + le16(data.size() + 8) + le16(1) + le16(data.size()) + std::string(1, '\0') +
                        static_cast<char>(table) + std::string(1, '\0') + le16(operation) + le16(parameter) +
                        static_cast<char>(firmwareMark) + data;
    const uint16_t crc = ReferenceCrc(frame.substr(1));
    frame += static_cast<char>(crc >> 8);
    frame += static_cast<char>(crc & 0xFF);
    return frame;
}

// Every frame the simulator received, in order.
inline std::vector<std::string> ReceivedFrames(const tiger_sim::TSimulator& sim) {
    std::vector<std::string> frames;
    for (const tiger_sim::TJournalEntry& entry : sim.Journal()) {
        const std::string key = "\"hex\":\"";
        const std::size_t start = entry.Json.find(key);
        if (start == std::string::npos) continue;
        const std::size_t end = entry.Json.find('"', start + key.size());
        const std::string hex = entry.Json.substr(start + key.size(), end - start - key.size());
        std::string bytes;
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
            bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        frames.push_back(bytes);
    }
    return frames;
}

}  // namespace test_support
