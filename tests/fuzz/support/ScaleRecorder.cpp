#include "tests/fuzz/support/ScaleRecorder.h"

#include <algorithm>

#include "device/uScaleCommands.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/support/ReferenceFrames.h"
#include "tools/tiger-sim/FrameReader.h"

namespace fuzz_support {

namespace {

constexpr device::TCommandCode kCommands[] = {
    device::kClearPLU,          device::kDeletePLU,      device::kReadPLU,          device::kWritePluOneLine,
    device::kWritePluTwoLine,   device::kReadAdditionalText, device::kWriteAdditionalText, device::kReadConf,
    device::kWriteCompany,      device::kWriteTare,      device::kWriteDateTime,    device::kWriteOperatorOptions,
    device::kWriteOpers,        device::kWriteDateText,  device::kWriteBarcodeFormat, device::kWriteLabelOptions,
};

const device::TCommandCode* CommandOf(const tiger_sim::TParsedFrame& frame) {
    for (const device::TCommandCode& command : kCommands) {
        if (frame.Table == command.Table && frame.Operation == command.Operation &&
            frame.Parameter == command.Parameter && frame.Data.size() == command.DataLength)
            return &command;
    }
    return nullptr;
}

// The PLU record's name field ends with one space; a longer name would
// push it and every later field out of place.
void CheckPluLayout(const tiger_sim::TParsedFrame& frame) {
    const bool twoLine = frame.Data.size() == device::kWritePluTwoLine.DataLength;
    const std::size_t separator = device::kBarcodeWidth + 4 +
                                  (twoLine ? 2 * device::kPluNameLineWidth : device::kPluNameOneLineWidth);
    Require(frame.Data[separator] == ' ', "PLU name overflows its field");
}

}  // namespace

ScaleRecorder& Recorder() {
    static ScaleRecorder recorder;
    return recorder;
}

void ScaleRecorder::Connect() {
    pending_.clear();
    answers_.clear();
}

void ScaleRecorder::Close() {
    Require(pending_.empty(), "connection closed inside a frame");
    answers_.clear();
}

void ScaleRecorder::Reset() {
    pending_.clear();
    answers_.clear();
}

void ScaleRecorder::Take(const char* data, std::size_t size) {
    pending_.append(data, size);
    for (;;) {
        const tiger_sim::TFrameSplit split = tiger_sim::SplitFrame(pending_);
        if (split.Kind == tiger_sim::TSplit::spNeedMore) return;
        Require(split.Kind == tiger_sim::TSplit::spFrame, "bytes outside a frame or a bad total length");
        const std::string frame = pending_.substr(0, split.Length);
        pending_.erase(0, split.Length);
        Check(frame);
    }
}

void ScaleRecorder::Check(const std::string& bytes) {
    const tiger_sim::TParsedFrame frame = tiger_sim::ParseFrame(bytes);
    Require(frame.LengthsOk, "frame length fields disagree");
    const std::size_t crcAt = bytes.size() - device::kCrcSize;
    const uint16_t crc = test_support::ReferenceCrc(bytes.substr(1, crcAt - 1));
    Require(static_cast<uint8_t>(bytes[crcAt]) == (crc >> 8) && static_cast<uint8_t>(bytes[crcAt + 1]) == (crc & 0xFF),
            "frame CRC is wrong");
    const device::TCommandCode* command = CommandOf(frame);
    Require(command != nullptr, "frame of no known command or of a wrong data size");
    if (command->Table == device::kWritePluOneLine.Table && command->Operation == device::kWritePluOneLine.Operation)
        CheckPluLayout(frame);
    // The good answer, and for a read as many data bytes as the scale sends.
    answers_ += static_cast<char>(command->GoodAnswer);
    answers_.append(command->FurtherAnswer, '\0');
}

std::size_t ScaleRecorder::Answer(char* data, std::size_t size) {
    const std::size_t count = std::min(size, answers_.size());
    answers_.copy(data, count);
    answers_.erase(0, count);
    return count;
}

}  // namespace fuzz_support
