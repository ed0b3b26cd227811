// The scale inside the fuzzing process: it takes the bytes the driver sends,
// checks every frame (start byte, length fields, CRC, a command of the
// scale's set with exactly its data size, a PLU name within its field) and
// answers as the scale does, so that a whole upload runs without a network.
// A bad frame is a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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
    void Reset();

private:
    void Check(const std::string& frame);

    std::string pending_;
    std::string answers_;
};

// The one recorder the socket calls of the fuzz programs talk to.
ScaleRecorder& Recorder();

}  // namespace fuzz_support
