#include "fit/FitWeights.h"

#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "fit/CurveModels.h"
#include "fit/EqualInputs.h"
#include "fit/FitPairs.h"

#include <algorithm>
#include <cmath>

namespace lumetra {
namespace {

constexpr const char* kCaptions[] = {"None",  "Standard deviations", "1/X", "1/X^2", "1/Y",
                                     "1/Y^2", "Replicate variance"};

// 1/s² of the measured values of the pairs that share an input, for each pair; a failure names
// the input that has one reading, or readings without scatter.
FitWeights ReplicateWeights(const CurveModel& model, std::span<const CXYdata> pairs) {
    std::vector<double> inputs;
    inputs.reserve(pairs.size());
    for (const CXYdata& p : pairs)
        inputs.push_back(InputOf(model, p.m_dX, p.m_dY));
    const EqualInputRuns runs = RunsOfEqualInput(inputs);
    FitWeights out;
    out.weights.resize(pairs.size());
    for (size_t r = 0; r < runs.Runs(); ++r) {
        const size_t begin = runs.starts[r], end = runs.starts[r + 1];
        const CXYdata& head = pairs[runs.order[begin]];
        const double first = OutputOf(model, head.m_dX, head.m_dY);
        long double sum = 0.0L, sumSquares = 0.0L;
        bool differ = false;
        for (size_t i = begin; i < end; ++i) {
            const CXYdata& p = pairs[runs.order[i]];
            const double measured = OutputOf(model, p.m_dX, p.m_dY);
            differ = differ || measured != first;
            // Deviations from the first reading keep the digits of readings far from zero.
            const long double d = (long double)measured - first;
            sum += d;
            sumSquares += d * d;
        }
        const size_t count = end - begin;
        if (count < 2 || !differ) {
            out.weights.clear();
            out.failure = FormatC(count < 2 ? "Replicate variance weights need two readings or "
                                              "more at each %s: %s = %g has one."
                                            : "Replicate variance weights need readings that "
                                              "differ at each %s: the readings at %s = %g are "
                                              "all the same.",
                                  {model.inputName, model.inputName, inputs[runs.order[begin]]});
            return out;
        }
        const long double n = (long double)count;
        const double weight = double(1.0L / ((sumSquares - sum * sum / n) / (n - 1)));
        for (size_t i = begin; i < end; ++i)
            out.weights[runs.order[i]] = weight;
    }
    return out;
}

// The weight of one pair in measured units, or an empty text's opposite: why it has none.
std::string MeasuredWeight(WeightScheme scheme, const CXYdata& p, size_t index, double& weight) {
    const int pair = int(index + 1);
    switch (scheme) {
    case WeightScheme::Sigma:
        if (p.m_dSigma == 0.0)
            return FormatC("The weighting \"Standard deviations\" needs a standard deviation on "
                           "every pair: pair %d has none.",
                           {pair});
        if (!(p.m_dSigma > 0.0) || !std::isfinite(p.m_dSigma))
            return FormatC("The standard deviation of pair %d is %g: it must be a number above 0.",
                           {pair, p.m_dSigma});
        weight = 1.0 / (p.m_dSigma * p.m_dSigma);
        break;
    case WeightScheme::InverseX:
    case WeightScheme::InverseX2:
    case WeightScheme::InverseY:
    case WeightScheme::InverseY2: {
        const bool onX = scheme == WeightScheme::InverseX || scheme == WeightScheme::InverseX2;
        const bool squared = scheme == WeightScheme::InverseX2 || scheme == WeightScheme::InverseY2;
        const double value = onX ? p.m_dX : p.m_dY;
        const char* name = onX ? "X" : "Y";
        if (value == 0.0 || (!squared && value < 0.0))
            return FormatC(squared ? "Weights 1/%s^2 need every %s other than 0: pair %d has %s "
                                     "= %g."
                                   : "Weights 1/%s need every %s above 0: pair %d has %s = %g.",
                           {name, name, pair, name, value});
        weight = squared ? 1.0 / (value * value) : 1.0 / value;
        break;
    }
    case WeightScheme::None:
    case WeightScheme::Replicates:
        weight = 1.0;
        break;
    }
    if (!std::isfinite(weight) || !(weight > 0.0))
        return FormatC("The weight of pair %d is beyond the range of numbers.", {pair});
    return "";
}

} // namespace

FitWeights WeightsFor(const CurveModel& model, WeightScheme scheme, std::span<const CXYdata> pairs,
                      const FitPairs* fitted) {
    if (scheme == WeightScheme::None)
        return {};
    FitWeights out;
    if (scheme == WeightScheme::Replicates) {
        out = ReplicateWeights(model, pairs);
        if (!out.failure.empty())
            return out;
    } else {
        out.weights.resize(pairs.size());
        for (size_t k = 0; k < pairs.size(); ++k) {
            out.failure = MeasuredWeight(scheme, pairs[k], fitted ? fitted->DocumentIndex(k) : k,
                                         out.weights[k]);
            if (!out.failure.empty()) {
                out.weights.clear();
                return out;
            }
        }
    }
    for (size_t k = 0; k < pairs.size(); ++k) {
        const double slope = model.output.slope(OutputOf(model, pairs[k].m_dX, pairs[k].m_dY));
        out.weights[k] *= slope * slope;
    }
    return out;
}

FitWeights DocumentWeights(const CLumetraDoc& doc) {
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    if (!model)
        return {};
    if (doc.m_eWeights == WeightScheme::None)
        return {};
    const FitPairs fitted(doc);
    return WeightsFor(*model, doc.m_eWeights, fitted.Pairs(), &fitted);
}

const char* WeightSchemeCaption(WeightScheme scheme) {
    return kCaptions[size_t(scheme)];
}

std::string WeightingText(const CLumetraDoc& doc) {
    return std::string(WeightSchemeCaption(doc.m_eWeights)) +
           (doc.m_bSigmaAbsolute ? ", absolute" : ", relative");
}

} // namespace lumetra
