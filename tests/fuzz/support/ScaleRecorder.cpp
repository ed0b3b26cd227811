#include "tests/fuzz/support/ScaleRecorder.h"

#include <algorithm>

#include "device/uScaleCommands.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/support/ReferenceFrames.h"
#include "tools/tiger-sim/FrameReader.h"

namespace fuzz_support {

namespace {

// The PLU record's name field ends with one space; a longer name would
// push it and every later field out of place.
void CheckPluLayout(const tiger_sim::TParsedFrame& frame) {
    const bool twoLine = frame.Data.size() == device::kWritePluTwoLine.DataLength;
    const std::size_t separator = 17 + (twoLine ? 60 : 28);
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
    state_ = {};
    pending_.clear();
    answers_.clear();
    frames_ = 0;
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
    ++frames_;
    const tiger_sim::TParsedFrame frame = tiger_sim::ParseFrame(bytes);
    Require(frame.LengthsOk, "frame length fields disagree");
    const std::size_t crcAt = bytes.size() - device::kCrcSize;
    const uint16_t crc = test_support::ReferenceCrc(bytes.substr(1, crcAt - 1));
    Require(static_cast<uint8_t>(bytes[crcAt]) == (crc >> 8) && static_cast<uint8_t>(bytes[crcAt + 1]) == (crc & 0xFF),
            "frame CRC is wrong");
    const tiger_sim::TDecodedFrame decoded = tiger_sim::DecodeFrame(frame);
    Require(static_cast<bool>(decoded.Apply), "frame of no known command or of a wrong data size");
    if (decoded.Command == "WritePlu") CheckPluLayout(frame);
    answers_ += decoded.Apply(state_);
    state_.FirmwareMark = frame.FirmwareMark;
}

std::size_t ScaleRecorder::Answer(char* data, std::size_t size) {
    const std::size_t count = std::min(size, answers_.size());
    answers_.copy(data, count);
    answers_.erase(0, count);
    return count;
}

}  // namespace fuzz_support
