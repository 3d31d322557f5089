#include "fit/Calibration.h"

#include "data/NumberFormat.h"

#include <unsupported/Eigen/Polynomials>

#include <algorithm>
#include <cmath>

namespace lumetra {
namespace {

using LD = long double;

// Points at which the range is searched for sign changes, and for where an interval ends.
constexpr int kGridSteps = 4096;
// A root of the companion matrix this close to the real axis (in the range mapped to [-1, 1])
// is taken as a real root: a double root comes out with an imaginary part of about √ε.
constexpr double kRealTolerance = 1e-6;
// Roots closer than this part of the range are one root found twice.
constexpr LD kSameRoot = 1e-9L;
// An observation this close (relative) to a flat curve's value is that value.
constexpr LD kSameValue = 1e-12L;

// v − target on the state's centred variable w (the fitted input is centre + half·w).
struct Offset {
    const FitState& state;
    LD target;
    LD operator()(LD w) const { return state.Value(w) - target; }
    LD Slope(LD w) const { return state.Slope(w); }
};

// Halves [a, b] while f(a) and f(b) keep their sides (inside(a), !inside(b)) until no halving
// makes progress.
template <class Inside> LD Bisect(Inside inside, LD a, LD b) {
    for (;;) {
        const LD m = a + (b - a) / 2;
        if (m == a || m == b)
            return m;
        (inside(m) ? a : b) = m;
    }
}

// Newton's steps on the curve itself while they stay in the range and make |f| smaller.
LD Polish(const Offset& f, LD u, LD lo, LD hi) {
    LD fu = f(u);
    for (int i = 0; i < 50 && fu != 0.0L; ++i) {
        const LD slope = f.Slope(u);
        if (slope == 0.0L)
            break;
        const LD next = u - fu / slope;
        if (!(next >= lo && next <= hi))
            break;
        const LD fn = f(next);
        if (!(std::fabs(fn) < std::fabs(fu)))
            break;
        u = next;
        fu = fn;
    }
    return u;
}

// The real roots of v(u) − target on [lo, hi]: the eigenvalues of the companion matrix of the
// polynomial on the range mapped to [-1, 1], each polished on the curve, and every sign change
// on a grid, so that neither a tangent root nor an ill-conditioned one is missed.
std::vector<LD> RootsInRange(const Offset& f, LD lo, LD hi) {
    std::vector<LD> roots;
    const size_t n = size_t(f.state.degree);
    const LD centre = (lo + hi) / 2, half = (hi - lo) / 2;
    // Ascending coefficients of v(centre + half·s) − target: a Taylor shift, then the scaling.
    std::vector<LD> a(n + 1);
    for (size_t k = 0; k <= n; ++k)
        a[k] = LD(f.state.b[k]);
    a[0] -= f.target;
    for (size_t i = 0; i < n; ++i)
        for (size_t j = n - 1; j + 1 > i; --j)
            a[j] += centre * a[j + 1];
    LD power = 1.0L, magnitude = 0.0L;
    for (size_t k = 0; k <= n; ++k, power *= half) {
        a[k] *= power;
        magnitude = std::max(magnitude, std::fabs(a[k]));
    }
    size_t degree = n;
    while (degree > 0 && a[degree] == 0.0L)
        --degree;
    if (degree > 0) {
        Eigen::VectorXd coefficients(Eigen::Index(degree + 1));
        for (size_t k = 0; k <= degree; ++k)
            coefficients[Eigen::Index(k)] = double(a[k] / magnitude);
        Eigen::PolynomialSolver<double, Eigen::Dynamic> solver(coefficients);
        for (const std::complex<double>& r : solver.roots()) {
            if (!(std::fabs(r.imag()) <= kRealTolerance * (1.0 + std::fabs(r.real()))) ||
                !(std::fabs(r.real()) <= 1.0 + kRealTolerance))
                continue;
            const LD u = Polish(f, std::clamp(centre + half * LD(r.real()), lo, hi), lo, hi);
            // A near miss of a complex pair is not a root; a real one polishes to almost zero.
            if (std::fabs(f(u)) <= 1e-10L * magnitude)
                roots.push_back(u);
        }
    }
    LD previous = lo, fPrevious = f(lo);
    if (fPrevious == 0.0L)
        roots.push_back(lo);
    for (int i = 1; i <= kGridSteps; ++i) {
        const LD u = i == kGridSteps ? hi : lo + (hi - lo) * LD(i) / kGridSteps;
        const LD fu = f(u);
        if (fu == 0.0L)
            roots.push_back(u);
        else if (fPrevious != 0.0L && (fu < 0.0L) != (fPrevious < 0.0L))
            roots.push_back(
                Bisect([&](LD m) { return (f(m) < 0.0L) == (fPrevious < 0.0L); }, previous, u));
        previous = u;
        fPrevious = fu;
    }
    std::sort(roots.begin(), roots.end());
    const LD same = kSameRoot * (hi - lo);
    roots.erase(std::unique(roots.begin(), roots.end(), [&](LD x, LD y) { return y - x <= same; }),
                roots.end());
    return roots;
}

// Where the set of u with inside(u), which holds u0, ends on the way from u0 to `end`; nothing
// when it reaches the end.
template <class Inside> std::optional<LD> IntervalEnd(Inside inside, LD u0, LD end, LD step) {
    LD previous = u0;
    for (int i = 1;; ++i) {
        LD u = u0 + (end > u0 ? step : -step) * LD(i);
        if ((end > u0) ? u >= end : u <= end)
            u = end;
        if (!inside(u))
            return Bisect(inside, previous, u);
        if (u == end)
            return std::nullopt;
        previous = u;
    }
}

std::string LevelText(double level) {
    return FormatC("%g %%", {level * 100.0});
}

// The fitted input of a centred value, and back into the input's own units.
double InputOfCentred(const FittedCurve& curve, LD w) {
    const FitState& state = *curve.state;
    return InputFromFitted(curve, double(LD(state.centre) + LD(state.half) * w));
}

// A curve that does not change with its input: the measured values were all equal, or every
// coefficient but the constant came out zero.
bool IsFlat(const FitState& state) {
    if (state.constant)
        return true;
    for (int j = 1; j <= state.degree; ++j)
        if (state.b[j] != 0)
            return false;
    return true;
}

} // namespace

const char* CalibrationIntervalWord(CalibrationInterval kind) {
    return kind == CalibrationInterval::Wald ? "wald" : "inversion";
}

Calibration Calibrate(const FittedCurve& curve, double observed,
                      const CalibrationRequest& request) {
    Calibration result;
    result.observed = observed;
    result.readings = request.replicates;
    const char* in = InputName(curve);
    const char* out = OutputName(curve);
    const FitState& state = *curve.state;
    const std::optional<double> target = FittedOutput(curve, observed);
    if (!target) {
        result.message = FormatC("%s = %g is not above 0: the curve takes only values above 0.",
                                 {out, observed});
        return result;
    }
    const std::optional<double> lo = FittedInput(curve, curve.low),
                                hi = FittedInput(curve, curve.high);
    const Offset f{state, LD(*target)};
    const bool inRange = lo && hi && *lo < *hi;
    if (inRange && IsFlat(state)) {
        // Every input or none gives the value: a list of grid points would say neither.
        const LD level = state.Value(0.0L);
        const bool same = std::fabs(level - LD(*target)) <=
                          kSameValue * std::max(std::fabs(level), std::fabs(LD(*target)));
        result.message =
            same ? FormatC("Every %s from %g to %g gives %s = %g on the fitted curve.",
                           {in, curve.low, curve.high, out, observed})
                 : FormatC("No %s from %g to %g gives %s = %g on the fitted curve: it is flat at "
                           "%s = %g.",
                           {in, curve.low, curve.high, out, observed, out,
                            OutputFromFitted(curve, double(level))});
        return result;
    }
    const LD wLo = inRange ? state.U(*lo) : 0.0L, wHi = inRange ? state.U(*hi) : 0.0L;
    const std::vector<LD> roots = inRange ? RootsInRange(f, wLo, wHi) : std::vector<LD>{};
    if (roots.empty()) {
        result.message = FormatC("No %s from %g to %g gives %s = %g on the fitted curve.",
                                 {in, curve.low, curve.high, out, observed});
        return result;
    }
    for (LD w : roots)
        result.estimates.push_back({InputOfCentred(curve, w), {}, {}});
    if (curve.dof < 1) {
        result.message = NoDegreesOfFreedomText(curve);
        return result;
    }

    const LD t = StudentQuantile(curve, request.level);
    // A new observation's variance over the scale's square: 1/w at the input, 1 unweighted.
    auto scatter = [&](LD w) {
        if (request.meanResponse)
            return 0.0L;
        const LD m = request.replicates;
        if (curve.weights == WeightScheme::None && !curve.sigma)
            return 1.0L / m;
        const LD weight =
            LD(NewObservationWeight(curve, double(LD(state.centre) + LD(state.half) * w)));
        return weight > 0.0L ? 1.0L / (m * weight) : std::numeric_limits<LD>::infinity();
    };
    const LD ts = t * LD(SigmaScale(curve));
    bool unbounded = false, flat = false;
    for (size_t r = 0; r < roots.size(); ++r) {
        CalibrationEstimate& e = result.estimates[r];
        const LD w0 = roots[r];
        std::optional<LD> lower, upper;
        if (request.interval == CalibrationInterval::Wald) {
            const LD slope = std::fabs(f.Slope(w0));
            const LD se = std::sqrt(scatter(w0) + state.Leverage(w0));
            if (slope > 0.0L) {
                lower = w0 - ts * se / slope;
                upper = w0 + ts * se / slope;
            } else {
                flat = true;
            }
        } else if (ts == 0.0L) {
            lower = upper = w0; // a perfect fit: the curve is known exactly
        } else {
            auto inside = [&](LD w) {
                const LD d = f(w);
                return d * d <= ts * ts * (scatter(w) + state.Leverage(w));
            };
            const LD step = (wHi - wLo) / kGridSteps;
            lower = IntervalEnd(inside, w0, wLo, step);
            upper = IntervalEnd(inside, w0, wHi, step);
            unbounded = unbounded || !lower || !upper;
        }
        if (lower)
            e.lower = InputOfCentred(curve, *lower);
        if (upper)
            e.upper = InputOfCentred(curve, *upper);
    }
    if (flat)
        result.message = FormatC("The curve is flat where it takes %s = %g: the Wald interval "
                                 "has no bounds.",
                                 {out, observed});
    else if (unbounded)
        result.message = FormatC("The %s interval is not bounded inside the data's %s range, %g "
                                 "to %g: the curve is too flat there for that level.",
                                 {LevelText(request.level), in, curve.low, curve.high});
    return result;
}

Calibration CalibrateReadings(const FittedCurve& curve, const std::vector<double>& readings,
                              CalibrationRequest request) {
    // Summed in long double: readings far from zero keep their mean's last digits.
    LD sum = 0.0L;
    for (double y : readings)
        sum += y;
    request.replicates = int(readings.size());
    return Calibrate(curve, double(sum / LD(readings.size())), request);
}

} // namespace lumetra
