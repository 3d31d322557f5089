#include "fit/FitStatistics.h"

#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>

namespace lumetra {
namespace {

using LD = long double;

constexpr LD kNegligibleTerm = 1e-6L;

Statistic Finite(LD value) {
    if (!std::isfinite(value) || std::fabs(value) > LD(std::numeric_limits<double>::max()))
        return std::nullopt;
    return double(value);
}

std::string CoefName(int index) {
    return "C[" + std::to_string(index + 1) + "]";
}

// The two-sided p of t with dof degrees of freedom.
double TwoSidedP(double t, int dof) {
    const boost::math::students_t dist(dof);
    return 2.0 * boost::math::cdf(boost::math::complement(dist, std::fabs(t)));
}

} // namespace

FitStatistics PolynomialStatistics(std::span<const double> u, std::span<const double> v,
                                   std::span<const double> coef, const AccurateSolution& design,
                                   double level) {
    FitStatistics s;
    const int order = int(coef.size()) - 1;
    const size_t N = u.size();
    s.order = order;
    s.n = int(N);
    s.dof = int(N) - (order + 1);
    s.level = level;

    LD sse = 0.0L, mean = 0.0L;
    for (size_t k = 0; k < N; ++k) {
        LD fitted = 0.0L;
        for (double c : coef)
            fitted = fitted * LD(u[k]) + LD(c);
        const LD r = LD(v[k]) - fitted;
        sse += r * r;
        mean += LD(v[k]);
    }
    mean /= LD(N);
    // Equal measurements leave nothing to explain; their mean need not come out exactly.
    const bool constant =
        N > 0 && std::all_of(v.begin(), v.end(), [&](double y) { return y == v[0]; });
    LD sst = 0.0L;
    if (!constant)
        for (double y : v)
            sst += (LD(y) - mean) * (LD(y) - mean);

    s.sse = double(sse);
    s.rmse = N > 0 ? double(std::sqrt(sse / LD(N))) : 0.0;
    s.rSquared = sst > 0.0L ? double(1.0L - sse / sst) : 1.0;
    s.conditionNumber = Finite(design.condition);

    const int dof = s.dof;
    const LD s2 = dof > 0 ? sse / LD(dof) : 0.0L;
    if (dof > 0) {
        s.residualStdDev = double(std::sqrt(s2));
        s.adjRSquared = sst > 0.0L ? double(1.0L - s2 / (sst / LD(N - 1))) : 1.0;
        if (order >= 1 && sst > 0.0L) {
            const LD regression = std::max(0.0L, sst - sse) / LD(order);
            if (sse > 0.0L) {
                s.f = Finite(regression / s2);
                if (s.f)
                    s.fP = boost::math::cdf(
                        boost::math::complement(boost::math::fisher_f(order, dof), *s.f));
            } else {
                s.fP = 0.0; // a perfect fit: F is unbounded
            }
        }
    }

    const double quantile = dof > 0 ? boost::math::quantile(boost::math::complement(
                                          boost::math::students_t(dof), (1.0 - level) / 2.0))
                                    : 0.0;
    for (int i = 0; i <= order; ++i) {
        CoefficientStatistics c;
        c.name = CoefName(i);
        c.estimate = coef[size_t(i)];
        if (dof > 0) {
            const LD se = std::sqrt(s2 * std::max(0.0L, design.inverse[i][i]));
            c.stdError = Finite(se);
            if (c.stdError) {
                c.ciLow = Finite(LD(c.estimate) - LD(quantile) * se);
                c.ciHigh = Finite(LD(c.estimate) + LD(quantile) * se);
                if (se > 0.0L) {
                    c.t = Finite(LD(c.estimate) / se);
                    if (c.t)
                        c.p = TwoSidedP(*c.t, dof);
                } else if (c.estimate != 0.0) {
                    c.p = 0.0; // known exactly, and not zero
                }
            }
        }
        s.coefficients.push_back(c);
    }
    return s;
}

bool FittedScaleValues(const CLumetraDoc& doc, std::vector<double>& u, std::vector<double>& v) {
    const size_t N = size_t(std::clamp(doc.m_nPairs, 0, int(doc.m_pPairs.size())));
    u.resize(N);
    v.resize(N);
    for (size_t k = 0; k < N; ++k) {
        const CXYdata& p = doc.m_pPairs[k];
        switch (doc.m_nCurveType) {
        case 0:
            u[k] = p.m_dX;
            v[k] = p.m_dY;
            break;
        case 1:
            if (p.m_dX <= 0.0 || p.m_dY <= 0.0)
                return false;
            u[k] = std::log10(p.m_dX) - doc.m_dXInt;
            v[k] = std::log10(p.m_dY) - doc.m_dYInt;
            break;
        case 2:
            if (p.m_dY <= 0.0)
                return false;
            u[k] = p.m_dX;
            v[k] = std::log(p.m_dY);
            break;
        case 3:
            if (p.m_dX <= 0.0)
                return false;
            u[k] = p.m_dY;
            v[k] = std::log(p.m_dX);
            break;
        default:
            return false;
        }
    }
    return true;
}

StatisticsOutcome DocumentStatistics(const CLumetraDoc& doc, double level) {
    if (doc.m_bFitFailed)
        return {std::nullopt, "The fit failed: there are no statistics."};
    const int type = doc.m_nCurveType;
    const bool semilog = type == 2 || type == 3;
    const int order = semilog ? 1 : doc.m_nOrder;
    std::vector<double> u, v;
    if (type < 0 || type > 3 || order < 1 || order > kMaxOrder || !FittedScaleValues(doc, u, v))
        return {std::nullopt, "The model's fitted scale holds no value for these data: "
                              "there are no statistics."};
    if (u.size() < size_t(order + 1))
        return {std::nullopt, FormatC("Statistics need at least %d data points.", {order + 1})};
    if (semilog && !(doc.m_dCoef[0] > 0.0))
        return {std::nullopt, "C[1] is not above 0: there are no statistics."};

    AccurateSolution computed;
    const AccurateSolution* design = doc.m_pFitDesign.get();
    if (!design || design->order != order) {
        computed = SolveAccurate(u, v, order);
        design = &computed;
    }
    if (!design->solved)
        return {std::nullopt, "The design matrix is singular: there are no statistics."};

    // The semilog models fit ln(C[1]) + C[2]·u; their polynomial is C[2]·u + ln(C[1]).
    std::vector<double> coef;
    if (semilog)
        coef = {doc.m_dCoef[1], std::log(doc.m_dCoef[0])};
    else
        coef.assign(doc.m_dCoef, doc.m_dCoef + order + 1);
    FitStatistics s = PolynomialStatistics(u, v, coef, *design, level);
    s.curveType = type;
    s.method = doc.m_eFitMethod;
    if (doc.m_dClassicDigits >= 0.0)
        s.classicDigits = doc.m_dClassicDigits;
    else if (doc.m_eFitMethod == FitMethod::Classic)
        s.classicDigits = semilog ? ClassicSemilogDigits(doc.m_dCoef[0], doc.m_dCoef[1], *design)
                                  : ClassicDigits(coef, *design);
    if (semilog) {
        CoefficientStatistics lnA = s.coefficients[1], b = s.coefficients[0];
        lnA.name = "ln(C[1])";
        b.name = "C[2]";
        CoefficientStatistics a;
        a.name = "C[1]";
        a.estimate = doc.m_dCoef[0];
        if (lnA.stdError)
            a.stdError = Finite(LD(a.estimate) * LD(*lnA.stdError));
        if (lnA.ciLow && lnA.ciHigh) {
            a.ciLow = Finite(std::exp(LD(*lnA.ciLow)));
            a.ciHigh = Finite(std::exp(LD(*lnA.ciHigh)));
        }
        s.coefficients = {lnA, b, a};
    }
    return {s, ""};
}

double ClassicDigits(std::span<const double> classic, const AccurateSolution& accurate) {
    const int order = int(classic.size()) - 1;
    // Term i reaches |C[i]|·s^(order−i) at the data's largest |u|, s.
    auto reach = [&](int i) { return std::pow(accurate.scale, LD(order - i)); };
    LD largestTerm = 0.0L;
    for (int i = 0; i <= order; ++i)
        largestTerm = std::max(largestTerm, std::fabs(accurate.coef[i]) * reach(i));
    double digits = kMaxDigits;
    for (int i = 0; i <= order; ++i)
        digits = std::min(digits, DigitsKept(classic[size_t(i)], accurate.coef[i],
                                             kNegligibleTerm * largestTerm / reach(i)));
    return digits;
}

double ClassicSemilogDigits(double a, double b, const AccurateSolution& accurate) {
    // ln(A) is the constant term of the fitted line; A itself is compared directly.
    const LD slope = accurate.coef[0], lnA = accurate.coef[1];
    const LD largestTerm = std::max(std::fabs(slope) * accurate.scale, std::fabs(lnA));
    return std::min(DigitsKept(a, std::exp(lnA)),
                    DigitsKept(b, slope, kNegligibleTerm * largestTerm / accurate.scale));
}

std::string PrecisionWarningText(double digits) {
    return FormatC("The coefficients of this fit kept only %.1f significant digits: fit with the "
                   "Accurate method to keep more.",
                   {digits});
}

std::string PrecisionNoteLine(double digits) {
    return FormatC("         Note: the coefficients kept only %.1f significant digits; "
                   "the Accurate method keeps more.",
                   {digits});
}

bool NeedsPrecisionWarning(const CLumetraDoc& doc) {
    return doc.m_eFitMethod == FitMethod::Classic && !doc.m_bFitFailed &&
           doc.m_dClassicDigits >= 0.0 && doc.m_dClassicDigits < kWarnDigits;
}

} // namespace lumetra
