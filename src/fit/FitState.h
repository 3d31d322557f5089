#pragma once

#include "fit/FitLimits.h"

#include <cstddef>
#include <span>

namespace lumetra {

// Binary128, for the p×p steps and the rare pass where the map from the centred variable to raw
// powers would cancel the digits long double keeps.
using Quad = __float128;

// One least-squares polynomial v(t) of the given degree, held in the centred and scaled variable
// u = (t − centre) / half, in which the design is well conditioned whatever the offset of t.
// Everything derived from a fit (statistics, leverage, intervals, calibration, bands) reads it.
struct FitState {
    int degree = 0;
    size_t pairs = 0;
    // The rank of the scaled design; below degree + 1 nothing else holds a value.
    int rank = 0;
    // False when a value of t, v or a weight was not finite: no state was built.
    bool finite = true;
    double centre = 0.0; // a double with few bits, so that t − centre is exact or nearly so
    double half = 1.0;   // a power of two at or above half t's range: dividing by it is exact
    double low = 0.0, high = 0.0; // t's range
    // The upper triangle R of the design (row k: √w_k·(1, u_k, …, u_k^degree)), column j for u^j.
    long double r[kMaxCoefs][kMaxCoefs] = {};
    // The solution, unrounded: b[j] is the coefficient of u^j.
    Quad b[kMaxCoefs] = {};
    long double sse = 0.0L;       // Σ w·(v − fitted)², from residuals of the solution above
    long double condition = 0.0L; // the 2-norm condition number of the scaled design
    long double weightSum = 0.0L; // the pair count when unweighted
    long double mean = 0.0L;      // the weighted mean of v
    long double sst = 0.0L;       // Σ w·(v − mean)²; 0 when v is constant
    bool constant = false;        // every v the same: the curve is that value, exactly

    int Coefs() const { return degree + 1; }
    bool Solved() const { return finite && rank == degree + 1; }
    long double U(double t) const;
    // v and dv/du at u, by Horner's rule on the unrounded solution.
    long double Value(long double u) const;
    long double Slope(long double u) const;
    // gᵀ(AᵀA)⁻¹g = ‖R⁻ᵀg‖² with g = (1, u, …, u^degree): the mean response's variance over σ².
    long double Leverage(long double u) const;
    // The coefficients of t^k (ascending), an exact linear map of b carried in binary128.
    void RawCoefficients(Quad a[kMaxCoefs]) const;
    // ‖R⁻ᵀm_k‖², m_k the map's row of t^k: the raw coefficient's variance over σ².
    long double RawVariance(int k) const;
    // The centred solution of raw-power coefficients (ascending), the inverse map.
    void CentredFromRaw(const Quad raw[kMaxCoefs], Quad out[kMaxCoefs]) const;
    // ‖R·d‖² for a difference d of centred solutions: how much more the squared residuals of
    // b + d sum to than those of b.
    long double ExtraSse(const Quad d[kMaxCoefs]) const;
    // How many times the largest term of a raw coefficient's sum exceeds the coefficient itself
    // (1 when none cancels): its digits lost in the map.
    long double CoefficientCancellation() const;
    // How many times the largest raw-power term over the range exceeds the curve there: the
    // digits a curve evaluated from rounded raw coefficients loses.
    long double CurveCancellation() const;
};

// The fit of v on t (equal lengths) at `degree` with the weights w (empty: every weight 1; all
// ones give the same bits as none). The design is factored in double and the solution refined
// with residuals in long double (and binary128 where the raw coefficients need it), every sum in
// a fixed order of fixed chunks, so the bits depend neither on the core count nor on the run.
FitState BuildFitState(std::span<const double> t, std::span<const double> v,
                       std::span<const double> w, int degree);

// How many different values t holds, counting no further than `cap`.
int DistinctValues(std::span<const double> t, int cap);

} // namespace lumetra
