#pragma once

#include "fit/FitState.h"
#include "fit/FitStatistics.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace lumetra {

class CLumetraDoc;

// The level of the outlier test over all n pairs together (Bonferroni: α/n for each).
inline constexpr double kOutlierAlpha = 0.05;

// How much one pair decides the fit, as R's influence measures of lm count it (weighted: of
// lm(weights=)), in the model's fitted scale. A measure that does not exist for the pair (leverage
// 1, no residual spread, no degree of freedom after leaving it out) has no value.
struct PairInfluence {
    size_t pair = 0;        // the pair's index in the document
    double leverage = 0.0;  // w·gᵀ(AᵀWA)⁻¹g
    Statistic standardized; // √w·e / (s·√(1 − h))
    Statistic studentized; // √w·e / (s₍ᵢ₎·√(1 − h)), s₍ᵢ₎ the SD with the pair left out
    Statistic cooks;          // standardized² · h / (p·(1 − h))
    Statistic dffits;         // studentized · √(h / (1 − h))
    bool outlier = false;     // |studentized| above the Bonferroni t quantile
    bool influential = false; // Cook's distance above 4/n
    bool Flagged() const { return outlier || influential; }
};

struct InfluenceTable {
    int n = 0;
    int coefs = 0;
    std::vector<PairInfluence> pairs; // the fitted pairs, in pair order
    Statistic studentizedCutoff;      // none without a degree of freedom after a deletion
    double cooksCutoff = 0.0;         // 4/n
    // Of the weighted residuals ordered by the input (ties in pair order).
    Statistic durbinWatson;
    int flagged = 0;
    std::vector<std::string> notes; // why measures are missing, in words
};

// The measures of the fit the state holds, of v on t with the weights w (empty: unweighted); the
// state must be solved from these same values.
InfluenceTable ComputeInfluence(const FitState& state, std::span<const double> t,
                                std::span<const double> v, std::span<const double> w);

// The document's present fit's measures, or why it has none.
struct InfluenceOutcome {
    std::optional<InfluenceTable> table;
    std::string failure;
};
// Made once per fit: the document keeps them beside the fit state they come from.
std::shared_ptr<const InfluenceOutcome> DocumentInfluence(const CLumetraDoc& doc);

} // namespace lumetra
