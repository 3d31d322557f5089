#pragma once

#include "fit/FitLimits.h"
#include "fit/FitMethod.h"
#include "fit/FitState.h"
#include "fit/NormalEquations.h"

#include <memory>

#include <span>
#include <vector>

namespace lumetra {

// Why a fit found no curve.
enum class FitFailure {
    None,
    NonPositiveX,  // the model takes the logarithm of X, and an X is <= 0.0
    NonPositiveY,  // likewise of Y
    NonPositiveXY, // both
    Singular,      // the normal matrix (or the straight line's denominator) is exactly singular
    NotFinite,     // a result overflowed to inf or nan on the way
    OutOfMemory,   // a work array of the fit could not be had
    // The classic normal equations are singular, the scaled problem is not: the accurate method
    // fits it.
    SingularClassic,
    RankDeficient,    // the scaled design has not full rank: too few different inputs
    CoefficientRange, // a coefficient lies beyond the range of doubles (overflowCoef names it)
};

// What a model fit gives back. For a failed fit only the failure counts.
struct FitResult {
    FitFailure failure = FitFailure::None;
    double coef[kMaxCoefs] = {}; // C[1] ... C[n+1], or A and B
    double xint = 0.0;           // the log-log offsets log10(smallest X) and log10(smallest Y)
    double yint = 0.0;
    bool offsetsSet = false;      // the fit set them: they stay even when it then fails
    std::vector<double> computed; // the model's value at each pair: an X value for X from Y
    double sumAbsDiff = 0.0;      // the sum of |measured - computed|
    double performance = 0.0;     // the fit coefficient of performance
    // The fit in the fitted scale (nullptr when it has not full rank), which every derived number
    // reads, and the digits the classic coefficients (and their residual SD) share with it.
    std::shared_ptr<const FitState> state;
    double classicDigits = 0.0;
    int distinctInputs = 0; // for RankDeficient: the different inputs, up to the coefficients
    int overflowCoef = 0;   // for CoefficientRange: the index of the coefficient
    bool Ok() const { return failure == FitFailure::None; }
};

// The model fits over the pairs (x[k], y[k]) (equal lengths, at least two pairs) with the weights w
// of the fitted scale (empty: unweighted; all ones give the same bits). The computed values and
// the measures of the report stay unweighted. The
// polynomial models solve the normal equations of the given order in work; the semilog models
// fit a straight line through logarithms and ignore both. Both methods also build the fit state
// of the fitted scale: the classic one for its statistics and the digits it kept, the accurate
// one for its coefficients too. Every operation runs in a fixed order, so a fit gives the same
// bits on every run and for any number of cores.
FitResult FitPolynomial(std::span<const double> x, std::span<const double> y,
                        std::span<const double> w, int order, NormalEquations& work,
                        FitMethod method);
FitResult FitLogLog(std::span<const double> x, std::span<const double> y, std::span<const double> w,
                    int order, NormalEquations& work, FitMethod method);
FitResult FitSemilogY(std::span<const double> x, std::span<const double> y,
                      std::span<const double> w, int order, NormalEquations& work,
                      FitMethod method);
FitResult FitSemilogX(std::span<const double> x, std::span<const double> y,
                      std::span<const double> w, int order, NormalEquations& work,
                      FitMethod method);

} // namespace lumetra
