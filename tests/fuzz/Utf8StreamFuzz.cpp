// The log viewer's UTF-8 decoding: the stream cut into pieces at the input's
// own points must decode to the same text as the whole.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "forms/uUtf8Stream.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/fuzz/support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz_support::FuzzInput input(data, size);
    const uint8_t step = input.Byte();
    const std::string_view bytes = input.Rest();

    forms::TUtf8Stream whole;
    const std::u16string expected = whole.Decode(bytes);
    forms::TUtf8Stream pieces;
    std::u16string text;
    const std::size_t length = step % 7 + 1;
    for (std::size_t at = 0; at < bytes.size(); at += length) text += pieces.Decode(bytes.substr(at, length));
    fuzz_support::Require(text == expected, "UTF-8 decoded in pieces differs from the whole");
    return 0;
}
