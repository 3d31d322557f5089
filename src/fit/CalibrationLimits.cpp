#include "fit/CalibrationLimits.h"

#include "data/NumberFormat.h"
#include "fit/FitWeights.h"

#include <cmath>
#include <limits>

namespace lumetra {
namespace {

using LD = long double;

constexpr int kMaxReplicates = 1000000;
// Doublings of the search for the detection limit beyond the critical X: past them the lower
// prediction limit has not reached the critical value anywhere a number can hold.
constexpr int kMaxDoublings = 2000;
constexpr int kMaxIterations = 100000;
constexpr LD kConverged = 16 * std::numeric_limits<LD>::epsilon();

// The straight line as its fit state holds it, at X in the line's own units.
struct Line {
    const FittedCurve& curve;
    int m;
    LD Value(LD x) const { return curve.state->Value(Centred(x)); }
    LD Centred(LD x) const { return (x - curve.state->centre) / curve.state->half; }
    // The standard deviation of the difference between a mean of m new readings at x and the
    // line there.
    LD Sigma(LD x) const {
        const LD scale = SigmaScale(curve);
        const LD reading = LD(NewObservationVariance(curve, double(x))) / m;
        return std::sqrt(reading + scale * scale * curve.state->Leverage(Centred(x)));
    }
};

std::string PairsText(int n) {
    return FormatC("%d pair%s", {n, n == 1 ? "" : "s"});
}

std::string Refusal(const FittedCurve& curve) {
    const CurveModel& model = *curve.model;
    if (model.type != CurveType::Polynomial)
        return FormatC("Limits of detection and quantification belong to a straight-line "
                       "calibration (Polynomial of order 1): this fit is %s.",
                       {model.caption});
    if (curve.state->degree != 1)
        return FormatC("Limits of detection and quantification belong to a straight-line "
                       "calibration (Polynomial of order 1): this fit is of order %d.",
                       {curve.state->degree});
    if (curve.n < 3)
        return FormatC("Limits of detection and quantification need at least 3 pairs, for a "
                       "residual scatter beside the line: the fit has %s.",
                       {PairsText(curve.n)});
    if (curve.state->constant || curve.state->b[1] == 0)
        return "The line is flat (slope 0): no amount differs from the blank in the signal, so "
               "there are no limits.";
    if (SigmaScale(curve) == 0.0)
        return "The line passes through every pair exactly: with no residual scatter the limits "
               "would be 0, which says nothing about the method.";
    if (!std::isfinite(NewObservationVariance(curve, 0.0)))
        return FormatC("Weights %s give a reading of the blank (X = 0) no weight, so its scatter "
                       "is unknown: give the standard deviation of a new reading (σ new) for the "
                       "limits.",
                       {WeightSchemeCaption(curve.weights)});
    return "";
}

// The one-sided quantile of `probability` as StudentQuantile gives the two-sided ones.
double OneSided(const FittedCurve& curve, double probability) {
    return StudentQuantile(curve, 1.0 - 2.0 * probability);
}

// The X beyond `from` where decreasing(x) turns from below 0 to 0, by doubling steps and halving.
template <class F> std::optional<LD> RootBeyond(F f, LD from, LD step) {
    LD lo = from, hi = from + step;
    for (int i = 0; !(f(hi) >= 0.0L); ++i, step *= 2) {
        if (i == kMaxDoublings || !std::isfinite(hi))
            return std::nullopt;
        lo = hi;
        hi = from + 2 * step;
    }
    for (;;) {
        const LD mid = lo + (hi - lo) / 2;
        if (mid == lo || mid == hi)
            return hi;
        (f(mid) >= 0.0L ? hi : lo) = mid;
    }
}

} // namespace

std::string LimitsOptionsError(const LimitsRequest& request) {
    if (!(request.alpha > 0.0 && request.alpha < 0.5))
        return "alpha, the error probability of the decision, must be a number above 0 and "
               "below 0.5, such as 0.05.";
    if (!(request.beta > 0.0 && request.beta < 0.5))
        return "beta, the error probability of a missed detection, must be a number above 0 and "
               "below 0.5, such as 0.05.";
    if (!(request.k > 0.0 && std::isfinite(request.k)))
        return "k, the quantification limit's factor, must be a number above 0, such as 3.";
    if (request.replicates < 1 || request.replicates > kMaxReplicates)
        return FormatC("The number of readings of a sample, m, must be a whole number from 1 to "
                       "%d.",
                       {kMaxReplicates});
    return "";
}

CalibrationLimits ComputeLimits(const FittedCurve& curve, const LimitsRequest& request) {
    CalibrationLimits limits;
    limits.request = request;
    limits.failure = LimitsOptionsError(request);
    if (limits.failure.empty())
        limits.failure = Refusal(curve);
    if (!limits.failure.empty())
        return limits;
    const FitState& state = *curve.state;
    const Line line{curve, request.replicates};
    limits.n = curve.n;
    limits.dof = curve.dof;
    const LD slope = state.Slope(0.0L) / LD(state.half);
    const LD direction = slope > 0 ? 1.0L : -1.0L;
    limits.slope = double(slope);
    limits.tAlpha = OneSided(curve, request.alpha);
    limits.tBeta = OneSided(curve, request.beta);
    limits.tQuantification = StudentQuantile(curve, 1.0 - request.alpha);

    // The blank's reading exceeds the critical value with probability α.
    const LD blank = line.Value(0.0L);
    const LD criticalY = blank + direction * LD(limits.tAlpha) * line.Sigma(0.0L);
    const LD criticalX = (criticalY - blank) / slope;
    limits.criticalY = double(criticalY);
    limits.criticalX = double(criticalX);
    if (request.alpha == request.beta)
        limits.detectionShortcut = double(2 * criticalX);
    if (!(curve.low <= 0.0 && curve.high >= 0.0))
        limits.notes.push_back(FormatC("X = 0 lies outside the standards' X, %g to %g: the "
                                       "critical value extrapolates the line to the blank.",
                                       {curve.low, curve.high}));

    // A sample at the detection limit reads below the critical value with probability β.
    const LD range = std::max(LD(curve.high - curve.low), std::fabs(criticalX));
    // The line's rise from the critical value is |b|·(x − criticalX): no cancellation on a tight
    // line, whose values differ from criticalY in their last digits.
    const auto missed = [&](LD x) {
        return std::fabs(slope) * (x - criticalX) - LD(limits.tBeta) * line.Sigma(x);
    };
    if (const std::optional<LD> detection = RootBeyond(missed, criticalX, range))
        limits.detectionX = double(*detection);
    else
        limits.notes.push_back(FormatC("The lower %g %% prediction limit never reaches the "
                                       "critical value: the slope is not significant enough "
                                       "for a detection limit at beta = %g.",
                                       {100.0 * (1.0 - request.beta), request.beta}));

    // L = k·t·σ(L)/|b|, iterated from the critical X: it converges where k times the relative
    // standard error of the slope is below 1.
    const LD factor = LD(request.k) * LD(limits.tQuantification) / std::fabs(slope);
    LD L = criticalX;
    bool converged = false;
    for (int i = 0; i < kMaxIterations && std::isfinite(L); ++i) {
        const LD next = factor * line.Sigma(L);
        converged = std::fabs(next - L) <= kConverged * std::fabs(next);
        L = next;
        if (converged)
            break;
    }
    if (converged && std::isfinite(double(L)))
        limits.quantificationX = double(L);
    else
        limits.notes.push_back(FormatC("The quantification limit does not converge: %g times the "
                                       "half-width of the calibration interval grows with X as "
                                       "fast as X does, or faster (the slope is not known well "
                                       "enough).",
                                       {request.k}));
    return limits;
}

} // namespace lumetra
