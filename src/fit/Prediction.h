#pragma once

#include "fit/CurveModels.h"
#include "fit/FitState.h"
#include "fit/FitStatistics.h"
#include "fit/Weights.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumetra {

// A fit seen as the polynomial v(u) its model fits, with what the uncertainty of a point on it
// needs. u is the model's input in its fitted scale (X, log10(X) − XINT, or Y for X=Ae^BY), v its
// output there (Y, log10(Y) − YINT, ln(Y), or ln(X)). The input is the variable the model computes
// from (X; Y for X=Ae^BY), the output the one it computes; the model table maps them.
struct FittedCurve {
    const CurveModel* model = nullptr;
    std::shared_ptr<const FitState> state;
    int n = 0;
    int dof = 0;
    double s = 0.0; // the residual standard deviation in the fitted scale
    double inputOffset = 0.0, outputOffset = 0.0; // the log-log XINT and YINT
    double low = 0.0, high = 0.0;                 // the data's range of the input
    // How the fit weighed its pairs. With absolute standard deviations the covariance is not
    // scaled by s² and the intervals take the normal distribution's quantile.
    WeightScheme weights = WeightScheme::None;
    bool absolute = false;
    // The standard deviation of a new observation in the output's units, as the user gives it;
    // without it the Sigma and Replicates schemes give a new observation the fit's mean weight.
    std::optional<double> sigma;
};

// The document's present fit as a FittedCurve, or why there is none.
struct CurveOutcome {
    std::optional<FittedCurve> curve;
    std::string failure;
};
CurveOutcome DocumentCurve(const CLumetraDoc& doc);

// The names of the input and the output ("X" and "Y"; the other way round for X=Ae^BY).
const char* InputName(const FittedCurve& curve);
const char* OutputName(const FittedCurve& curve);

// An input or an output in the fitted scale and back; nothing where a logarithm has no value.
std::optional<double> FittedInput(const FittedCurve& curve, double input);
std::optional<double> FittedOutput(const FittedCurve& curve, double output);
double InputFromFitted(const FittedCurve& curve, double u);
double OutputFromFitted(const FittedCurve& curve, double v);

// v(u) by the state's unrounded solution, and ‖R⁻ᵀg‖², g the design row of u: the mean
// response's variance is s² times it.
struct CurvePoint {
    double v = 0.0;
    double leverage = 0.0;
};
CurvePoint CurveAt(const FittedCurve& curve, double u);

// Student's t quantile of the two-sided interval at `level` with the fit's degrees of freedom
// (the normal quantile when the standard deviations are absolute); level lies strictly between 0
// and 1 and the fit has degrees of freedom.
double StudentQuantile(const FittedCurve& curve, double level);

// The standard deviation of unit weight that scales every interval: s, or 1 when the standard
// deviations are absolute.
double SigmaScale(const FittedCurve& curve);

// The weight, in the fitted scale, that the fit's weighting gives a new observation at the fitted
// input u (1 for an unweighted fit); 0 where the scheme gives none (1/X at X = 0).
double NewObservationWeight(const FittedCurve& curve, double u);
// The variance of a new observation at the input under this fit's weighting, in the fitted
// scale: SigmaScale² / NewObservationWeight; infinite where the scheme gives no weight.
double NewObservationVariance(const FittedCurve& curve, double input);

// Why a fit without degrees of freedom gives no intervals.
std::string NoDegreesOfFreedomText(const FittedCurve& curve);

// The curve's output for an input, with the standard error of the mean response (in the output's
// units, by the delta method where the fitted scale is a logarithm), the confidence interval of
// the mean response and the prediction interval of a new observation. The intervals are formed in
// the fitted scale and taken back. message says why a value is missing.
struct Prediction {
    double input = 0.0;
    Statistic output, seMean, meanLow, meanHigh, predLow, predHigh;
    std::string message;
};
Prediction Predict(const FittedCurve& curve, double input, double level);

} // namespace lumetra
