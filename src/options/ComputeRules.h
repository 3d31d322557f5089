#pragma once

#include "options/CurveTypeRules.h"

#include <string>

namespace lumetra {

// A computed value as the Compute pages show it: "%16.5lf" above 0.00001, "%13.7E" otherwise.
std::string FormatComputeResult(double value);

// Which page computes for a curve model: Compute Y, unless the model gives X from Y.
bool ComputesYFromX(int curveType);

struct ComputeOutcome {
    bool computed = false; // false: the result stays as it was
    std::string result;
    PageField focus = PageField::ComputeInput; // where the focus goes afterwards
};

// The Compute Y page's button: checks and trims the typed X (an empty text counts as 0), then
// evaluates the fitted curve. A log-log X <= 0 gets its message.
ComputeOutcome ComputeY(Ui& ui, const CLumetraDoc& doc, std::string& input);

// The Compute X page's button: an empty text does nothing at all (not even the focus moves).
ComputeOutcome ComputeX(Ui& ui, const CLumetraDoc& doc, std::string& input);

} // namespace lumetra
