#pragma once

#include "data/LumetraDoc.h"
#include "fit/FitMethod.h"
#include "fit/FitState.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumetra {

// A statistic without a finite value for the data at hand (no degrees of freedom left, a t of a
// coefficient known exactly): shown as "n/a", written as null.
using Statistic = std::optional<double>;

struct CoefficientStatistics {
    std::string name; // "C[1]" ...; the semilog models' fitted constant is "ln(C[1])"
    double estimate = 0.0;
    Statistic stdError, t, p, ciLow, ciHigh;
};

// The curve as an equation in the centred variable u = (input − centre) / half, coefficients of
// u^n first: where the displayed raw-power coefficients cannot reproduce the curve.
struct CentredEquation {
    double centre = 0.0;
    double half = 1.0;
    std::vector<double> coefficients;
};

// The statistics of a fit, for the method used and in the model's fitted scale.
struct FitStatistics {
    int curveType = 0;
    int order = 0;
    FitMethod method = FitMethod::Classic;
    int n = 0;
    int dof = 0;
    double level = 0.95;
    std::vector<CoefficientStatistics> coefficients;
    Statistic residualStdDev;
    double sse = 0.0;
    double rmse = 0.0;
    double rSquared = 0.0;
    Statistic adjRSquared, f, fP;
    Statistic conditionNumber;
    Statistic classicDigits;
    std::optional<CentredEquation> centred;
    std::vector<std::string> notes; // what the numbers cannot say, in words
    // A weighted fit: its scheme, whether its standard deviations are absolute (the covariance
    // unscaled, normal quantiles), χ² (the weighted SSE), χ² over the degrees of freedom and the
    // p of χ², the effective number of pairs (Σw)²/Σw², and each pair's weighted residual
    // √w·(v − fitted) in the fitted scale.
    WeightScheme weights = WeightScheme::None;
    bool absolute = false;
    Statistic chiSquare, reducedChiSquare, chiSquareP;
    double effectivePairs = 0.0;
    std::vector<double> pearsonResiduals;
};

inline constexpr double kDefaultLevel = 0.95;
// Fewer significant digits than this left in the classic coefficients earn a warning.
inline constexpr double kWarnDigits = 6.0;

// The statistics of the polynomial a fit state holds, its raw-power coefficients named C[1] ...
// (highest power first). level lies strictly between 0 and 1. With absolute standard deviations
// the coefficients' covariance is not scaled by the residual variance and t, p and the intervals
// take the normal distribution.
FitStatistics StateStatistics(const FitState& state, double level, bool absolute = false);

// The note of a weighted fit whose standard deviations are relative.
inline constexpr const char* kRelativeChiSquareNote =
    "The standard deviations are relative: chi-square and its p say how the weights' scale "
    "fits, not how the curve does.";

// The text of the note on equal measured values.
inline constexpr const char* kConstantNote =
    "All measured values are equal: the slope is not testable (t, p and interval n/a).";

// Each pair's weighted residual √w·(v − fitted) in the fitted scale, for the document's weighting
// (empty when it has none, or the weights cannot be had).
std::vector<double> WeightedResiduals(const CLumetraDoc& doc, const FitState& state);
// The same for every pair of the document, an excluded one weighed alone as the scheme weighs it
// (empty also where a scheme cannot weigh one pair alone: replicate variance).
std::vector<double> AllWeightedResiduals(const CLumetraDoc& doc, const FitState& state);

// The document's fit state: the one its last fit built, or else built now from its pairs and
// kept (a file as read has none until it is asked for); or why there is none.
struct StateOutcome {
    std::shared_ptr<const FitState> state;
    std::string failure;
};
StateOutcome DocumentFitState(const CLumetraDoc& doc);
// The same for a fit that has statistics: not failed, and C[1] above 0 for the semilog models.
StateOutcome UsableFitState(const CLumetraDoc& doc);

// The document's present fit, or why it has no statistics.
struct StatisticsOutcome {
    std::optional<FitStatistics> stats;
    std::string failure;
};
StatisticsOutcome DocumentStatistics(const CLumetraDoc& doc, double level);

// The values of the model's fitted scale, as the fit forms them (the model table's maps): X and
// Y for the polynomial, log10(X) − XINT and log10(Y) − YINT for the log-log polynomial, X and
// ln(Y) for Y=Ae^BX, Y and ln(X) for X=Ae^BY. False when a logarithm has no value (a value <= 0).
bool FittedScaleValues(const CLumetraDoc& doc, std::vector<double>& u, std::vector<double>& v);

// The least digits any coefficient of the classic solution (highest power first), or the residual
// standard deviation it gives, shares with the stable solution of the state. A true coefficient
// of zero has no relative error, so a term smaller than a millionth of the largest term over the
// data is measured against that millionth; a residual SD below 1e-12 of the data's root mean
// square is rounding, and keeps every digit when the stable one is too.
double ClassicDigits(std::span<const double> classic, const FitState& state);
// The same for the semilog models' C[1] = A and C[2] = B.
double ClassicSemilogDigits(double a, double b, const FitState& state);

// NIST's log relative error: the significant digits `value` shares with `reference`, from 0 to
// kMaxDigits. The error is taken relative to the larger of |reference| and `least`; against 0
// and 0 it is the digits of the absolute error.
inline constexpr double kMaxDigits = 15.0;
double DigitsKept(double value, long double reference, long double least = 0.0L);

// The message after a classic fit that kept fewer than kWarnDigits digits, its button that refits
// with the accurate method, and the note line at the end of its report.
std::string PrecisionWarningText(double digits);
inline constexpr const char* kRefitAccurateButton = "Refit with Accurate";
std::string PrecisionNoteLine(double digits);
// Whether the document's last fit was a classic one that kept fewer than kWarnDigits digits.
bool NeedsPrecisionWarning(const CLumetraDoc& doc);

} // namespace lumetra
