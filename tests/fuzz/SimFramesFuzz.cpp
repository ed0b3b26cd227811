// Arbitrary bytes into the simulator's frame reader, as its connection loop
// cuts them: every frame cut out is parsed, decoded, applied to the scale's
// memory and the memory written as JSON.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/tiger-sim/FrameReader.h"
#include "tools/tiger-sim/ScaleModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string buffer(reinterpret_cast<const char*>(data), size);
    tiger_sim::TScaleState state;
    while (!buffer.empty()) {
        const tiger_sim::TFrameSplit split = tiger_sim::SplitFrame(buffer);
        if (split.Kind != tiger_sim::TSplit::spFrame) break;
        const tiger_sim::TParsedFrame parsed = tiger_sim::ParseFrame(buffer.substr(0, split.Length));
        buffer.erase(0, split.Length);
        if (!parsed.LengthsOk || !parsed.CrcOk) continue;
        const tiger_sim::TDecodedFrame decoded = tiger_sim::DecodeFrame(parsed);
        if (decoded.Apply) decoded.Apply(state);
    }
    // What the reader leaves, it hands on whole as a bad or incomplete frame.
    if (!buffer.empty()) tiger_sim::ParseFrame(buffer);
    state.ToJson();
    return 0;
}
