#pragma once

#include <string>

namespace lumetra {

class CLumetraDoc;
class CompiledFormat;

// The file keeps numbers with the display precision. These rules find which of the user's
// X and Y values that would change, so that no value is rounded without the user's say.

// How many values change, and the first of them: 8.5 before, "8" after.
struct RoundingCount {
    int count = 0;
    std::string before, after;

    void Add(double value, const std::string& shownAfter);
};

// The value as a format keeps it: formatted and read back.
double StoredValue(double value, const CompiledFormat& format);

// The value's shortest text that reads back as the same number ("8.5", "1.23456789").
std::string ShortestText(double value);

// The X and Y values of the pairs that saving with the display formats would change.
RoundingCount CountRoundedPairs(const CLumetraDoc& doc);
// Rounds them so, in place.
void RoundPairs(CLumetraDoc& doc);

// The question before values are rounded: when a list is stored (saving false) or a file saved.
std::string RoundingQuestion(const RoundingCount& rounding, bool saving);
// What a batch save tells of the values it rounded.
std::string RoundingReport(const RoundingCount& rounding);

} // namespace lumetra
