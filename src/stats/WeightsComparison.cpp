#include "stats/WeightsComparison.h"

#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "fit/CurveModels.h"
#include "fit/FitPairs.h"
#include "fit/FitWeights.h"

#include <cmath>

namespace lumetra {
namespace {

using LD = long double;

constexpr int kNewtonSteps = 60;

std::string Cell(const Statistic& value) {
    return value ? FormatC("%16.8E", {*value}) : FormatC("%16s", {"n/a"});
}

// The centred input at which the state's curve takes v, by Newton's steps from w.
std::optional<LD> Root(const FitState& state, LD v, LD w) {
    for (int i = 0; i < kNewtonSteps; ++i) {
        const LD slope = state.Slope(w);
        if (!(slope != 0.0L) || !std::isfinite(slope))
            return std::nullopt;
        const LD step = (state.Value(w) - v) / slope;
        w -= step;
        if (!std::isfinite(w))
            return std::nullopt;
        if (std::fabs(step) <= 1e-15L * (1.0L + std::fabs(w)))
            return w;
    }
    return std::nullopt;
}

// Σ|x̂ − x|/x of the standards: each pair's measured value taken back through the curve.
Statistic SumRelativeError(const CurveModel& model, const CLumetraDoc& doc, const FitState& state,
                           std::span<const CXYdata> pairs, const std::vector<double>& u,
                           const std::vector<double>& v) {
    const double inOffset = model.xFromY ? doc.m_dYInt : doc.m_dXInt;
    LD sum = 0.0L;
    for (size_t k = 0; k < u.size(); ++k) {
        const CXYdata& p = pairs[k];
        const double x = InputOf(model, p.m_dX, p.m_dY);
        if (x == 0.0)
            continue;
        const std::optional<LD> w = Root(state, LD(v[k]), state.U(u[k]));
        if (!w)
            return std::nullopt;
        const LD fitted = LD(state.centre) + LD(state.half) * *w;
        const double back = model.input.fromFitted(double(fitted), inOffset);
        sum += std::fabs((LD(back) - LD(x)) / LD(x));
    }
    return std::isfinite(sum) ? Statistic(double(sum)) : std::nullopt;
}

bool AnySigma(std::span<const CXYdata> pairs) {
    for (const CXYdata& p : pairs)
        if (p.m_dSigma != 0.0)
            return true;
    return false;
}

} // namespace

std::vector<WeightingResult> CompareWeightings(const CLumetraDoc& doc) {
    std::vector<WeightingResult> results;
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    std::vector<double> u, v;
    if (!model || !FittedScaleValues(doc, u, v))
        return results;
    const int degree = FittedDegree(*model, doc.m_nOrder);
    const FitPairs fitted(doc);
    const std::span<const CXYdata> pairs = fitted.Pairs();
    for (size_t i = 0; i < kWeightSchemeWords.size(); ++i) {
        WeightingResult r;
        r.scheme = WeightScheme(i);
        if (r.scheme == WeightScheme::Sigma && !AnySigma(pairs))
            continue;
        const FitWeights weights = WeightsFor(*model, r.scheme, pairs, &fitted);
        r.failure = weights.failure;
        if (r.failure.empty()) {
            const FitState state = BuildFitState(u, v, weights.weights, degree);
            if (!state.Solved() || int(u.size()) <= degree + 1) {
                r.failure = "The fit has no degrees of freedom or no solution.";
            } else {
                const FitStatistics s = StateStatistics(state, kDefaultLevel);
                r.residualStdDev = s.residualStdDev;
                r.rSquared = s.rSquared;
                r.sumRelativeError = SumRelativeError(*model, doc, state, pairs, u, v);
            }
        }
        results.push_back(r);
    }
    WeightingResult* best = nullptr;
    for (WeightingResult& r : results)
        if (r.sumRelativeError && (!best || *r.sumRelativeError < *best->sumRelativeError))
            best = &r;
    if (best)
        best->smallest = true;
    return results;
}

std::vector<std::string> WeightingLines(const CLumetraDoc& doc,
                                        const std::vector<WeightingResult>& results) {
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    const char* in = model ? model->inputName : "X";
    std::vector<std::string> lines = {
        FormatC("         Which weights? Each weighting fitted, its standards' %s taken back "
                "through the curve:",
                {in}),
        FormatC(
            "         %-20s %16s %16s %16s",
            {"Weighting", FormatC("Sum |%s'-%s|/%s", {in, in, in}), "Residual SD", "R-squared"}),
    };
    for (const WeightingResult& r : results) {
        const char* name = WeightSchemeCaption(r.scheme);
        if (!r.failure.empty()) {
            lines.push_back(FormatC("         %-20s %s", {name, r.failure}));
            continue;
        }
        lines.push_back(FormatC("         %-20s %s %s %s%s",
                                {name, Cell(r.sumRelativeError), Cell(r.residualStdDev),
                                 Cell(r.rSquared), r.smallest ? "  <- smallest" : ""}));
    }
    return lines;
}

} // namespace lumetra
