// The equipment error: a failure of the scale or its connection, with a code
// the driver can report (70: device not enabled, 1001: transport failure).
#pragma once

#include <cstdint>

#include "lib/cf/Exception.h"

namespace cf {

class EquException : public Exception {
public:
    EquException(int32_t code, std::u16string message) : Exception(std::move(message)), Code(code) {}
    int32_t Code;
};

}  // namespace cf
