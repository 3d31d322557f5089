#include "fit/CurveModels.h"

#include "data/NumberFormat.h"
#include "fit/ModelEval.h"
#include "fit/ModelFits.h"

#include <cmath>
#include <numbers>

namespace lumetra {
namespace {

std::vector<std::string> PolynomialEquation(const CurveParams& c) {
    return {FormatC("         Y=C[1]*X^n + C[2]*X^(n-1) + ... + C[n]*X + C[n+1] where n = %d and",
                    {c.order})};
}

std::vector<std::string> LogLogEquation(const CurveParams& c) {
    return {FormatC("         G=C[1]*H^n + C[2]*H^(n-1) + ... + C[n]*H + C[n+1] where n = %d and ",
                    {c.order}),
            "              G=Log10(Y)-YINT and H = Log10(X)-XINT therefore:",
            "              Y = 10^(G+YINT) and:",
            FormatC("              YINT = %lf and XINT = %lf and:", {c.yint, c.xint})};
}

std::vector<std::string> SemilogYEquation(const CurveParams&) {
    return {"         Y=C[1]*exp(C[2]*X) where:"};
}

std::vector<std::string> SemilogXEquation(const CurveParams&) {
    return {"         X=C[1]*exp(C[2]*Y) where:"};
}

bool EvalPolynomial(const CurveParams& c, double x, double& y) {
    y = EvalPolynomialSquaring(c.coef, c.order, x);
    return true;
}

bool EvalLogLog(const CurveParams& c, double x, double& y) {
    if (x <= 0.0)
        return false;
    y = std::pow(10.0, c.yint + EvalPolynomialSquaring(c.coef, c.order, std::log10(x) - c.xint));
    return true;
}

// A·e^(B·v), for both semilog models: Y from X, or X from Y.
bool EvalExponential(const CurveParams& c, double v, double& value) {
    value = c.coef[0] * std::exp(c.coef[1] * v);
    return true;
}

std::optional<double> Same(double value, double) {
    return value;
}
double SameBack(double fitted, double) {
    return fitted;
}
double UnitSlope(double) {
    return 1.0;
}

std::optional<double> Log10Less(double value, double offset) {
    if (!(value > 0.0))
        return std::nullopt;
    return std::log10(value) - offset;
}
double Log10Back(double fitted, double offset) {
    return std::pow(10.0, fitted + offset);
}
double Log10Slope(double value) {
    return value * std::numbers::ln10;
}

std::optional<double> NaturalLog(double value, double) {
    if (!(value > 0.0))
        return std::nullopt;
    return std::log(value);
}
double NaturalBack(double fitted, double) {
    return std::exp(fitted);
}
double NaturalSlope(double value) {
    return value;
}

constexpr ScaleMap kSame{Same, SameBack, UnitSlope};
constexpr ScaleMap kLog10{Log10Less, Log10Back, Log10Slope};
constexpr ScaleMap kNaturalLog{NaturalLog, NaturalBack, NaturalSlope};

const CurveModel kModels[] = {
    {CurveType::Polynomial, "Polynomial", "Polynomial", "poly", false, true, "Polynomial",
     FitPolynomial, PolynomialEquation, EvalPolynomial, nullptr, "Y on X", "X", "Y", "X", "Y",
     kSame, kSame},
    {CurveType::LogLog, "Log-Log Polynomial", "Log-Log Polynomial", "loglog", false, true,
     "Log-Log", FitLogLog, LogLogEquation, EvalLogLog,
     "X may not be <= 0.0!\nCan't compute Y from X (Log-Log)", "G=Log10(Y)-YINT on H=Log10(X)-XINT",
     "X", "Y", "H", "G", kLog10, kLog10},
    {CurveType::SemilogY, "Semilog Y=Ae^BX", "Semi-Log (Y=Ae^BX)", "semilogy", false, false,
     "Semilog", FitSemilogY, SemilogYEquation, EvalExponential, nullptr,
     "ln(Y) = ln(C[1]) + C[2]*X; C[1] from its logarithm", "X", "Y", "X", "ln(Y)", kSame,
     kNaturalLog},
    {CurveType::SemilogX, "Semilog X=Ae^BY", "Semi-Log (X=Ae^BY)", "semilogx", true, false,
     "Semilog", FitSemilogX, SemilogXEquation, EvalExponential, nullptr,
     "ln(X) = ln(C[1]) + C[2]*Y; C[1] from its logarithm", "Y", "X", "Y", "ln(X)", kSame,
     kNaturalLog},
};

} // namespace

std::span<const CurveModel> CurveModels() {
    return kModels;
}

const CurveModel* FindCurveModel(int code) {
    for (const CurveModel& model : kModels)
        if (CurveCode(model) == code)
            return &model;
    return nullptr;
}

const CurveModel* FindCurveModel(std::string_view cliName) {
    for (const CurveModel& model : kModels)
        if (model.cliName == cliName)
            return &model;
    return nullptr;
}

std::string CurveModelCliNames() {
    std::string names;
    for (const CurveModel& model : kModels)
        names += (names.empty() ? "" : "|") + std::string(model.cliName);
    return names;
}

} // namespace lumetra
