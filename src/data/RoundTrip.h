#pragma once

#include <string>

namespace lumetra {

// The shortest text that reads back to exactly this double, always with ".": what goes to the
// clipboard and into a CSV table, so no digit of a stored value is lost on the way.
std::string RoundTripNumber(double value);

} // namespace lumetra
