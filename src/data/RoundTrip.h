#pragma once

#include <string>

namespace lumetra {

// The shortest text that reads back to exactly this double, always with ".", in plain decimals
// from 1e-5 up to 1e16 and in the exponent form outside: what goes to the clipboard and into a
// CSV table, so no digit of a stored value is lost on the way.
std::string RoundTripNumber(double value);

} // namespace lumetra
