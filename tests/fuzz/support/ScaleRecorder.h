// The scale inside the fuzzing process: it takes the bytes the driver sends,
// checks every frame (start byte, length fields, CRC, a known command whose
// data has exactly its layout's size, text fields that keep their bounds)
// and answers as the scale would, so that a whole upload runs without a
// network. A bad frame is a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/tiger-sim/ScaleModel.h"

namespace fuzz_support {

class ScaleRecorder {
public:
    // One connection at a time, as the driver makes them.
    void Connect();
    void Close();
    void Take(const char* data, std::size_t size);
    // Up to `size` answer bytes; 0 when none is waiting.
    std::size_t Answer(char* data, std::size_t size);
    bool HasAnswer() const { return !answers_.empty(); }

    uint64_t Frames() const { return frames_; }
    const tiger_sim::TScaleState& State() const { return state_; }
    void Reset();

private:
    void Check(const std::string& frame);

    tiger_sim::TScaleState state_;
    std::string pending_;
    std::string answers_;
    uint64_t frames_ = 0;
};

// The one recorder the socket calls of the fuzz programs talk to.
ScaleRecorder& Recorder();

}  // namespace fuzz_support
