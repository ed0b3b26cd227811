// The host's currency: fixed point with four decimals, as the driver, the
// scale frames and host values all carry it.
#pragma once

#include <concepts>
#include <cstdint>

namespace cf {

struct Currency {
    static constexpr int64_t kScale = 10000;  // ten-thousandths in one unit

    constexpr Currency() = default;
    // A count of ten-thousandths: 125000 is 12.5. Implicit, as the host's
    // currency kind is that count; never from a floating number, which would
    // silently lose its fraction.
    template <std::integral T>
    constexpr Currency(T scaled) : Scaled(static_cast<int64_t>(scaled)) {}

    friend constexpr bool operator==(Currency a, Currency b) { return a.Scaled == b.Scaled; }

    int64_t Scaled = 0;
};

}  // namespace cf
