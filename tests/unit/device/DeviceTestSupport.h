// Helpers for the device tests: hex literals and caught messages.
#pragma once

#include <string>
#include <string_view>

#include "tests/support/ErrorMessage.h"
#include "device/uFrameFields.h"
#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace device_test {

// "02 35 00" -> bytes; blanks are ignored.
inline std::string Bytes(std::string_view hex) {
    std::u16string digits;
    for (char c : hex) {
        if (c != ' ') digits += static_cast<char16_t>(c);
    }
    return device::HexToBytes(digits);
}

inline std::string Hex(std::string_view bytes) { return cf::ToUtf8(device::BytesToHex(bytes)); }

using test_support::MessageOf;

}  // namespace device_test
