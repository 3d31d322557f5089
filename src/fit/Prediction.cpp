#include "fit/Prediction.h"

#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"

#include <boost/math/distributions/students_t.hpp>

#include <cmath>
#include <numbers>

namespace lumetra {
namespace {

using LD = long double;

Statistic Finite(double value) {
    return std::isfinite(value) ? Statistic(value) : std::nullopt;
}

} // namespace

CurveOutcome DocumentCurve(const CLumetraDoc& doc) {
    if (doc.m_bFitFailed)
        return {std::nullopt, "The fit failed: there is no curve to read values from."};
    const StatisticsOutcome outcome = DocumentStatistics(doc, kDefaultLevel);
    if (!outcome.stats)
        return {std::nullopt, outcome.failure};
    const FitStatistics& stats = *outcome.stats;

    FittedCurve c;
    c.curveType = CurveType(doc.m_nCurveType);
    const bool semilog = c.curveType == CurveType::SemilogY || c.curveType == CurveType::SemilogX;
    const int order = semilog ? 1 : doc.m_nOrder;
    if (semilog)
        c.coef = {doc.m_dCoef[1], std::log(doc.m_dCoef[0])};
    else
        c.coef.assign(doc.m_dCoef, doc.m_dCoef + order + 1);
    c.design = doc.m_pFitDesign;
    if (!c.design || c.design->order != order) {
        std::vector<double> u, v;
        FittedScaleValues(doc, u, v); // DocumentStatistics has found them all valid
        c.design = std::make_shared<AccurateSolution>(SolveAccurate(u, v, order));
    }
    c.n = stats.n;
    c.dof = stats.dof;
    c.s = stats.residualStdDev.value_or(0.0);
    c.xInt = c.curveType == CurveType::LogLog ? doc.m_dXInt : 0.0;
    c.yInt = c.curveType == CurveType::LogLog ? doc.m_dYInt : 0.0;
    c.low = c.curveType == CurveType::SemilogX ? doc.m_dMinY : doc.m_dMinX;
    c.high = c.curveType == CurveType::SemilogX ? doc.m_dMaxY : doc.m_dMaxX;
    return {std::move(c), ""};
}

const char* InputName(const FittedCurve& curve) {
    return curve.curveType == CurveType::SemilogX ? "Y" : "X";
}

const char* OutputName(const FittedCurve& curve) {
    return curve.curveType == CurveType::SemilogX ? "X" : "Y";
}

std::optional<double> FittedInput(const FittedCurve& curve, double input) {
    if (curve.curveType != CurveType::LogLog)
        return input;
    if (!(input > 0.0))
        return std::nullopt;
    return std::log10(input) - curve.xInt;
}

std::optional<double> FittedOutput(const FittedCurve& curve, double output) {
    if (curve.curveType == CurveType::Polynomial)
        return output;
    if (!(output > 0.0))
        return std::nullopt;
    return curve.curveType == CurveType::LogLog ? std::log10(output) - curve.yInt
                                                : std::log(output);
}

double InputFromFitted(const FittedCurve& curve, double u) {
    return curve.curveType == CurveType::LogLog ? std::pow(10.0, u + curve.xInt) : u;
}

double OutputFromFitted(const FittedCurve& curve, double v) {
    switch (curve.curveType) {
    case CurveType::Polynomial:
        return v;
    case CurveType::LogLog:
        return std::pow(10.0, v + curve.yInt);
    default:
        return std::exp(v);
    }
}

CurvePoint CurveAt(const FittedCurve& curve, double u) {
    const size_t p = curve.coef.size();
    LD g[kMaxCoefs];
    LD power = 1.0L, v = 0.0L;
    for (size_t i = p; i-- > 0;) {
        g[i] = power;
        power *= LD(u);
    }
    for (size_t i = 0; i < p; ++i)
        v += LD(curve.coef[i]) * g[i];
    LD leverage = 0.0L;
    for (size_t i = 0; i < p; ++i) {
        LD row = 0.0L;
        for (size_t j = 0; j < p; ++j)
            row += curve.design->inverse[i][j] * g[j];
        leverage += g[i] * row;
    }
    // Rounding can take a leverage of nearly nothing below zero; a variance cannot be.
    return {double(v), double(std::max(0.0L, leverage))};
}

double StudentQuantile(const FittedCurve& curve, double level) {
    return boost::math::quantile(
        boost::math::complement(boost::math::students_t(curve.dof), (1.0 - level) / 2.0));
}

std::string NoDegreesOfFreedomText(const FittedCurve& curve) {
    return FormatC("No degrees of freedom are left (%d pairs, %d coefficients): the fit gives no "
                   "intervals.",
                   {curve.n, curve.n - curve.dof});
}

Prediction Predict(const FittedCurve& curve, double input, double level) {
    Prediction p;
    p.input = input;
    const std::optional<double> u = FittedInput(curve, input);
    if (!u) {
        p.message =
            FormatC("The log-log curve has no value at X = %g: X must be above 0.", {input});
        return p;
    }
    const CurvePoint point = CurveAt(curve, *u);
    p.output = Finite(OutputFromFitted(curve, point.v));
    if (!p.output) {
        p.message = FormatC("The curve's %s at %s = %g is beyond the range of numbers.",
                            {OutputName(curve), InputName(curve), input});
        return p;
    }
    if (curve.dof < 1) {
        p.message = NoDegreesOfFreedomText(curve);
        return p;
    }
    const double t = StudentQuantile(curve, level);
    const double seFitted = curve.s * std::sqrt(point.leverage);
    const double sePredicted = curve.s * std::sqrt(1.0 + point.leverage);
    // d(output)/dv: 1, output·ln 10 or output.
    const double slope = curve.curveType == CurveType::Polynomial ? 1.0
                         : curve.curveType == CurveType::LogLog   ? *p.output * std::numbers::ln10
                                                                  : *p.output;
    p.seMean = Finite(seFitted * std::fabs(slope));
    p.meanLow = Finite(OutputFromFitted(curve, point.v - t * seFitted));
    p.meanHigh = Finite(OutputFromFitted(curve, point.v + t * seFitted));
    p.predLow = Finite(OutputFromFitted(curve, point.v - t * sePredicted));
    p.predHigh = Finite(OutputFromFitted(curve, point.v + t * sePredicted));
    return p;
}

} // namespace lumetra
