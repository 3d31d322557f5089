#pragma once

#include "fit/AccurateFit.h"
#include "fit/FitMethod.h"

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
};

inline constexpr double kDefaultLevel = 0.95;
// Fewer significant digits than this left in the classic coefficients earn a warning.
inline constexpr double kWarnDigits = 6.0;

// The statistics of the polynomial `coef` (highest power first, order + 1 values) fitted to v on
// u, with the design's (AᵀA)⁻¹ and condition number; the coefficients are named C[1] .... level
// lies strictly between 0 and 1.
FitStatistics PolynomialStatistics(std::span<const double> u, std::span<const double> v,
                                   std::span<const double> coef, const AccurateSolution& design,
                                   double level);

// The document's present fit, or why it has no statistics.
struct StatisticsOutcome {
    std::optional<FitStatistics> stats;
    std::string failure;
};
StatisticsOutcome DocumentStatistics(const CLumetraDoc& doc, double level);

// The values of the model's fitted scale, as the fit forms them: X and Y for the polynomial,
// log10(X) − XINT and log10(Y) − YINT for the log-log polynomial, X and ln(Y) for Y=Ae^BX, Y and
// ln(X) for X=Ae^BY. False when a logarithm has no value (a value <= 0).
bool FittedScaleValues(const CLumetraDoc& doc, std::vector<double>& u, std::vector<double>& v);

// The least digits any coefficient of the classic solution (highest power first) shares with the
// accurate one. A true coefficient of zero has no relative error, so a term smaller than a
// millionth of the largest term over the data is measured against that millionth.
double ClassicDigits(std::span<const double> classic, const AccurateSolution& accurate);
// The same for the semilog models' C[1] = A and C[2] = B.
double ClassicSemilogDigits(double a, double b, const AccurateSolution& accurate);

// The message after a classic fit that kept fewer than kWarnDigits digits, and the note line at
// the end of its report.
std::string PrecisionWarningText(double digits);
std::string PrecisionNoteLine(double digits);
// Whether the document's last fit was a classic one that kept fewer than kWarnDigits digits.
bool NeedsPrecisionWarning(const CLumetraDoc& doc);

} // namespace lumetra
