#include "data/RoundTrip.h"

#include <array>
#include <charconv>

namespace lumetra {

std::string RoundTripNumber(double value) {
    std::array<char, 32> buffer;
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return ec == std::errc() ? std::string(buffer.data(), end) : std::string();
}

} // namespace lumetra
