// The hexadecimal and code-page encoders, each checked against its inverse
// where one exists.
#include <cstddef>
#include <cstdint>
#include <string>

#include "device/uCodePages.h"
#include "device/uFrameFields.h"
#include "lib/cf/Exception.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/fuzz/support/FuzzInput.h"

using fuzz_support::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz_support::FuzzInput input(data, size);
    const uint8_t choice = input.Byte();
    const int width = input.Byte();
    const std::string bytes(input.Piece());
    const std::u16string text = input.Units(size);

    Require(device::HexToBytes(device::BytesToHex(bytes)) == bytes, "hexadecimal text does not give its bytes back");
    try {
        device::HexToBytes(text);
    } catch (const cf::EConvertError&) {
    }
    for (const device::TCodePage page : {device::TCodePage::cp866, device::TCodePage::cp1251}) {
        const std::string encoded = device::EncodeCodePage(text, page);
        Require(encoded.size() == text.size(), "a code page text has not one byte per unit");
        Require(device::DecodeCodePage(encoded, page).size() == encoded.size(), "decoding changed the text's length");
    }
    Require(device::StrToCP866(text).size() == text.size(), "a code page 866 text has not one byte per unit");
    std::string frame;
    device::AppendPaddedCP866(frame, text, width, ' ', choice % 4);
    Require(frame.size() <= static_cast<std::size_t>(width), "a padded field outgrew its width");
    device::ExtractField(text, choice);
    return 0;
}
