#include "fit/ModelFits.h"

#include "fit/FitStatistics.h"
#include "platform/WorkSplit.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace lumetra {
namespace {

constexpr size_t kMinPairsPerPart = 10000;

// The extremes rule of the document: the first value, replaced only by a strictly smaller one.
double Smallest(std::span<const double> v) {
    double smallest = v[0];
    for (double d : v)
        if (d < smallest)
            smallest = d;
    return smallest;
}

FitResult Failed(FitFailure why) {
    FitResult r;
    r.failure = why;
    return r;
}

FitFailure NonPositive(bool xBad, bool yBad) {
    return xBad && yBad ? FitFailure::NonPositiveXY
           : xBad       ? FitFailure::NonPositiveX
                        : FitFailure::NonPositiveY;
}

// A shortage of memory is one more reason a fit fails, not an exception for the caller.
template <class Fit> FitResult CatchOutOfMemory(Fit fit) {
    try {
        return fit();
    } catch (const std::bad_alloc&) {
        return Failed(FitFailure::OutOfMemory);
    }
}

// computed[k] = C[1]·u[k]^n + ... + C[n+1] with pow, the fit's rule; u = 0 gives C[n+1] itself.
// value(k) for every k below N into computed[k], on several cores in contiguous runs.
template <class Value> void ComputeEach(size_t N, std::vector<double>& computed, Value value) {
    RunParts(WorkParts(N, kMinPairsPerPart), [&](int part, int parts) {
        const size_t begin = N * size_t(part) / size_t(parts);
        const size_t end = N * size_t(part + 1) / size_t(parts);
        for (size_t k = begin; k < end; ++k)
            computed[k] = value(k);
    });
}

void EvalPolynomialWithPow(std::span<const double> u, const double* C, int n,
                           std::vector<double>& computed) {
    ComputeEach(u.size(), computed, [&](size_t k) {
        const double x = u[k];
        if (x == 0.0)
            return C[n];
        double sum = 0.0;
        for (int j = 0; j < n; ++j)
            sum += C[j] * std::pow(x, double(n - j));
        return sum + C[n];
    });
}

// The accurate method's values: the fit state's solution by Horner's rule in the centred
// variable, whose terms do not cancel, so doubles keep its digits at a tenth of the pow rule.
void EvalStatePolynomial(std::span<const double> u, const FitState& s,
                         std::vector<double>& computed) {
    double b[kMaxCoefs];
    for (int j = 0; j <= s.degree; ++j)
        b[j] = double(s.b[j]);
    const double centre = s.centre, scale = 1.0 / s.half; // exact: half is a power of two
    ComputeEach(u.size(), computed, [&](size_t k) {
        const double w = (u[k] - centre) * scale;
        double sum = b[s.degree];
        for (int j = s.degree - 1; j >= 0; --j)
            sum = sum * w + b[j];
        return sum;
    });
}

// The per-pair values of the polynomial just solved, by the method's rule.
void EvalFittedPolynomial(std::span<const double> u, int order, FitMethod method, FitResult& r) {
    if (method == FitMethod::Accurate && r.state)
        EvalStatePolynomial(u, *r.state, r.computed);
    else
        EvalPolynomialWithPow(u, r.coef, order, r.computed);
}

// The state's raw-power coefficients as doubles, highest power first; false where one lies
// beyond the range of doubles.
bool StoreStateCoefficients(const FitState& s, FitResult& r) {
    Quad raw[kMaxCoefs];
    s.RawCoefficients(raw);
    for (int k = 0; k <= s.degree; ++k) {
        r.coef[s.degree - k] = double(raw[k]);
        if (!std::isfinite(r.coef[s.degree - k])) {
            r.failure = FitFailure::CoefficientRange;
            r.overflowCoef = s.degree - k;
            return false;
        }
    }
    return true;
}

// Why a state found no solution: values that are no numbers, or too few different inputs.
void StateFailure(const FitState& s, std::span<const double> u, FitResult& r) {
    r.failure = s.finite ? FitFailure::RankDeficient : FitFailure::NotFinite;
    r.distinctInputs = DistinctValues(u, s.Coefs());
}

// The sum of absolute differences and the coefficient of performance against the measured
// values (Y, or X for a model of X from Y). Overflow anywhere on the way (a huge value raised
// to a high power, an inf typed in) leaves inf or nan, which must reach neither the report nor
// the file: such a result fails as NotFinite.
void MeasureFit(std::span<const double> measured, int coefs, FitResult& r) {
    double sumAbs = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    const size_t N = measured.size();
    const std::vector<double>& computed = r.computed;
    bool finite = true;
    for (size_t k = 0; k < N; ++k) {
        const double difference = measured[k] - computed[k];
        finite = finite && std::isfinite(computed[k]) && std::isfinite(difference);
        sumAbs += std::fabs(difference);
        s1 += computed[k] * measured[k];
        s2 += measured[k];
        s3 += measured[k] * measured[k];
    }
    const double s4 = s2 * s2 / double(N);
    // Equal measured values leave no variation: every model reproduces a constant, so the fit
    // explains all there is to explain. Asked of the values themselves, since rounding in the
    // sums makes S3 - S4 anything near zero.
    const bool allEqual =
        std::all_of(measured.begin(), measured.end(), [&](double v) { return v == measured[0]; });
    const double performance = allEqual ? 1.0 : std::fabs((s1 - s4) / (s3 - s4));
    for (int k = 0; k < coefs; ++k)
        finite = finite && std::isfinite(r.coef[k]);
    if (!finite || !std::isfinite(sumAbs) || !std::isfinite(performance) ||
        !std::isfinite(r.xint) || !std::isfinite(r.yint)) {
        r.failure = FitFailure::NotFinite;
        return;
    }
    r.sumAbsDiff = sumAbs;
    r.performance = performance;
}

// The polynomial of v on u by the method, and the fit state that every derived number reads.
// Classic: the normal equations; the accurate method takes the state's coefficients. False, with
// the failure set, when the method finds no solution.
bool SolvePolynomialByMethod(std::span<const double> u, std::span<const double> v,
                             std::span<const double> w, int order, NormalEquations& work,
                             FitMethod method, FitResult& r) {
    auto state = std::make_shared<FitState>(BuildFitState(u, v, w, order));
    const bool solved = state->Solved();
    if (method == FitMethod::Classic) {
        BuildNormalEquations(u, v, order, work, PowerRule::Pow, w);
        if (!SolveNormalEquations(work, order, r.coef)) {
            r.failure = solved ? FitFailure::SingularClassic : FitFailure::Singular;
            return false;
        }
        r.classicDigits = solved ? ClassicDigits({r.coef, size_t(order + 1)}, *state) : 0.0;
    } else {
        if (!solved) {
            StateFailure(*state, u, r);
            return false;
        }
        r.classicDigits = -1.0; // measured when the statistics are asked for
        if (!StoreStateCoefficients(*state, r))
            return false;
    }
    if (solved)
        r.state = std::move(state);
    return true;
}

// ln(measured) = ln(A) + B · other, in closed form: Y from X, or X from Y. Weights of 1 multiply
// exactly, so they leave the unweighted sums' bits.
FitResult FitStraightLineOfLog(std::span<const double> other, std::span<const double> measured,
                               std::span<const double> w, bool xFromY, FitMethod method) {
    // The logarithm of a value <= 0 is no number; refuse as the log-log model does.
    if (Smallest(measured) <= 0.0)
        return Failed(NonPositive(xFromY, !xFromY));
    const size_t N = other.size();
    double sx = 0.0, sxx = 0.0, sxy = 0.0, sy = 0.0, sw = 0.0;
    for (size_t k = 0; k < N; ++k) {
        const double wk = w.empty() ? 1.0 : w[k];
        const double x = other[k];
        const double ly = std::log(measured[k]);
        sx += wk * x;
        sxx += wk * x * x;
        sxy += wk * x * ly;
        sy += wk * ly;
        sw += wk;
    }
    const double n = w.empty() ? double(N) : sw;
    double b = (sxy - sy * sx / n) / (sxx - sx * sx / n);
    double a = std::exp((sy - sx * b) / n);
    std::vector<double> logs(N);
    for (size_t k = 0; k < N; ++k)
        logs[k] = std::log(measured[k]);
    auto state = std::make_shared<FitState>(BuildFitState(other, logs, w, 1));
    FitResult r;
    if (!state->Solved()) {
        StateFailure(*state, other, r);
        return r;
    }
    Quad raw[kMaxCoefs];
    state->RawCoefficients(raw);
    const double stateA = double(std::exp((long double)raw[0]));
    const double classicDigits = ClassicSemilogDigits(a, b, *state);
    if (method == FitMethod::Accurate) {
        b = double(raw[1]);
        a = stateA;
    }
    auto inRange = [](double value) { return std::isfinite(value) && value > 0.0; };
    if (!inRange(a) && !inRange(stateA)) {
        // ln(A) is known, A itself is no double: a shift of the input brings it back.
        r.failure = FitFailure::CoefficientRange;
        return r;
    }
    r.coef[0] = a;
    r.coef[1] = b;
    r.classicDigits = classicDigits;
    r.state = std::move(state);
    r.computed.resize(N);
    for (size_t k = 0; k < N; ++k)
        r.computed[k] = a * std::exp(b * other[k]);
    MeasureFit(measured, 2, r);
    return r;
}

} // namespace

FitResult FitPolynomial(std::span<const double> x, std::span<const double> y,
                        std::span<const double> w, int order, NormalEquations& work,
                        FitMethod method) {
    return CatchOutOfMemory([&] {
        FitResult r;
        if (!SolvePolynomialByMethod(x, y, w, order, work, method, r))
            return r;
        r.computed.resize(x.size());
        EvalFittedPolynomial(x, order, method, r);
        MeasureFit(y, order + 1, r);
        return r;
    });
}

// The fit runs on H = log10(X) - XINT and G = log10(Y) - YINT; G lives in the array of the
// computed values until they replace it, which saves one array of the pair count.
FitResult FitLogLog(std::span<const double> x, std::span<const double> y, std::span<const double> w,
                    int order, NormalEquations& work, FitMethod method) {
    return CatchOutOfMemory([&] {
        const double minX = Smallest(x);
        const double minY = Smallest(y);
        if (minX <= 0.0 || minY <= 0.0)
            return Failed(NonPositive(minX <= 0.0, minY <= 0.0));
        FitResult r;
        r.xint = std::log10(minX);
        r.yint = std::log10(minY);
        r.offsetsSet = true;
        const size_t N = x.size();
        std::vector<double> h(N);
        std::vector<double>& g = r.computed;
        g.resize(N);
        for (size_t k = 0; k < N; ++k) {
            h[k] = std::log10(x[k]) - r.xint;
            g[k] = std::log10(y[k]) - r.yint;
        }
        if (!SolvePolynomialByMethod(h, g, w, order, work, method, r))
            return r;
        EvalFittedPolynomial(h, order, method, r);
        for (double& v : r.computed)
            v = std::pow(10.0, r.yint + v);
        MeasureFit(y, order + 1, r);
        return r;
    });
}

FitResult FitSemilogY(std::span<const double> x, std::span<const double> y,
                      std::span<const double> w, int, NormalEquations&, FitMethod method) {
    return CatchOutOfMemory([&] { return FitStraightLineOfLog(x, y, w, false, method); });
}

FitResult FitSemilogX(std::span<const double> x, std::span<const double> y,
                      std::span<const double> w, int, NormalEquations&, FitMethod method) {
    return CatchOutOfMemory([&] { return FitStraightLineOfLog(y, x, w, true, method); });
}

} // namespace lumetra
