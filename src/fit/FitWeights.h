#pragma once

#include "data/XYdata.h"
#include "fit/Weights.h"

#include <span>
#include <string>
#include <vector>

namespace lumetra {

class CLumetraDoc;
class FitPairs;
struct CurveModel;

// The weights of a fit in its model's fitted scale, or why the scheme cannot weigh the pairs.
// Empty weights and no failure: the fit is unweighted.
struct FitWeights {
    std::vector<double> weights;
    std::string failure;
};

// The pairs' weights under the scheme. Every scheme gives a weight in measured units (1/σ², 1/X,
// 1/X², 1/Y, 1/Y², or 1/s² of the readings that share an input), which the first-order rule
// takes into the fitted scale: times the square of d(measured)/d(fitted), so that a σ of Y
// becomes σ/(Y ln 10) for log10(Y) and σ/Y for ln(Y).
// A failure names a pair by its number in the document: its place in `fitted` where the pairs are
// those of a fit, else its place in `pairs`.
FitWeights WeightsFor(const CurveModel& model, WeightScheme scheme, std::span<const CXYdata> pairs,
                      const FitPairs* fitted = nullptr);
// The same for the document's pairs, model and scheme.
FitWeights DocumentWeights(const CLumetraDoc& doc);

// A scheme's name in the report, the Statistics window and lumetra-cli's texts.
const char* WeightSchemeCaption(WeightScheme scheme);
// The document's weighting in words: "1/X^2, relative" or "Standard deviations, absolute".
std::string WeightingText(const CLumetraDoc& doc);

} // namespace lumetra
