#include "data/RoundTrip.h"

#include <array>
#include <charconv>
#include <cmath>

namespace lumetra {

std::string RoundTripNumber(double value) {
    // Plain decimals where a person reads them easily (300000, 0.00022), the exponent form
    // beyond; either way the fewest digits that read back exactly.
    const double magnitude = std::fabs(value);
    const std::chars_format format = magnitude == 0.0 || (magnitude >= 1e-5 && magnitude < 1e16)
                                         ? std::chars_format::fixed
                                         : std::chars_format::scientific;
    std::array<char, 32> buffer;
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format);
    return ec == std::errc() ? std::string(buffer.data(), end) : std::string();
}

} // namespace lumetra
