#pragma once

#include "fit/FitStatistics.h"
#include "fit/Weights.h"

#include <string>
#include <vector>

namespace lumetra {

class CLumetraDoc;

// One weighting fitted to the document's pairs, judged as laboratories choose weights: by how
// well the curve gives back the inputs of its own standards.
struct WeightingResult {
    WeightScheme scheme = WeightScheme::None;
    std::string failure; // why the scheme does not apply to these pairs; the numbers are unset then
    // Σ|x̂ − x|/x over the pairs whose input is not 0, x̂ the input at which the curve takes the
    // pair's measured value (the root nearest x).
    Statistic sumRelativeError;
    Statistic residualStdDev;
    double rSquared = 0.0;
    bool smallest = false; // the smallest sum of relative errors of all schemes
};

// Every scheme fitted by the stable solution of the document's model and order, in the order of
// the schemes; Standard deviations only where some pair has one.
std::vector<WeightingResult> CompareWeightings(const CLumetraDoc& doc);

// The comparison as text lines under a heading, columns lined up in a fixed pitch font.
std::vector<std::string> WeightingLines(const CLumetraDoc& doc,
                                        const std::vector<WeightingResult>& results);

} // namespace lumetra
