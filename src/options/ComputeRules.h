#pragma once

#include "options/CurveTypeRules.h"

#include <string>

namespace lumetra {

// A computed value as the Compute pages show it: "%16.5lf" above 0.00001, "%13.7E" otherwise.
std::string FormatComputeResult(double value);

// Which page computes for a curve model: Compute Y, unless the model gives X from Y.
bool ComputesYFromX(int curveType);

struct ComputeOutcome {
    bool computed = false;     // false: the result stays as it was
    bool inputRefused = false; // the typed value was no number (its message was shown)
    std::string result;
};

// The Compute Y page's button: checks and trims the typed X as every entry field does (an empty
// field is refused), then evaluates the fitted curve. A log-log X <= 0 and a Y beyond the range
// of numbers get their messages.
ComputeOutcome ComputeY(Ui& ui, const CLumetraDoc& doc, std::string& input);

// The Compute X page's button: the same for a typed Y.
ComputeOutcome ComputeX(Ui& ui, const CLumetraDoc& doc, std::string& input);

} // namespace lumetra
