#include "fit/FitStatistics.h"

#include "fit/CurveModels.h"
#include "fit/FitPairs.h"
#include "fit/FitWeights.h"
#include "fit/NormalEquations.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>
#include <utility>

namespace lumetra {
namespace {

using LD = long double;

constexpr LD kNegligibleTerm = 1e-6L;
// A residual SD below this part of the data's root mean square is rounding, not scatter.
constexpr LD kNegligibleSd = 1e-12L;
// Displayed coefficients whose terms exceed the curve this many times reproduce it to fewer than
// six of their nine digits: the centred equation is given beside them.
constexpr LD kCentredCancellation = 1e3L;

Statistic Finite(LD value) {
    if (!std::isfinite(value) || std::fabs(value) > LD(std::numeric_limits<double>::max()))
        return std::nullopt;
    return double(value);
}

std::string CoefName(int index) {
    return "C[" + std::to_string(index + 1) + "]";
}

// The two-sided p of t with dof degrees of freedom, or of the normal distribution.
double TwoSidedP(double t, int dof, bool normal) {
    if (normal)
        return 2.0 * boost::math::cdf(boost::math::complement(boost::math::normal(), std::fabs(t)));
    const boost::math::students_t dist(dof);
    return 2.0 * boost::math::cdf(boost::math::complement(dist, std::fabs(t)));
}

// χ², its reduced value and p, the effective pair count and the weighted residuals.
void AddWeightedStatistics(const CLumetraDoc& doc, const FitState& state, FitStatistics& s) {
    s.weights = doc.m_eWeights;
    s.absolute = doc.m_bSigmaAbsolute != 0;
    s.chiSquare = s.sse;
    if (s.dof > 0) {
        s.reducedChiSquare = s.sse / s.dof;
        s.chiSquareP =
            boost::math::cdf(boost::math::complement(boost::math::chi_squared(s.dof), s.sse));
    }
    if (!s.absolute)
        s.notes.push_back(kRelativeChiSquareNote);
    const FitWeights weights = DocumentWeights(doc);
    LD sum = 0.0L, squares = 0.0L;
    for (const double w : weights.weights) {
        sum += w;
        squares += LD(w) * LD(w);
    }
    if (squares > 0.0L)
        s.effectivePairs = double(sum * sum / squares);
    s.pearsonResiduals = WeightedResiduals(doc, state);
}

const CurveModel* DocumentModel(const CLumetraDoc& doc) {
    return FindCurveModel(doc.m_nCurveType);
}

// The digits the residual SD of a solution state.b + d keeps against the state's.
double ResidualSdDigits(const FitState& state, const Quad d[kMaxCoefs]) {
    const LD dof = LD(state.pairs) - LD(state.Coefs());
    if (!(dof > 0.0L) || !(state.weightSum > 0.0L))
        return kMaxDigits;
    const LD s = std::sqrt(state.sse / dof);
    const LD other = std::sqrt((state.sse + state.ExtraSse(d)) / dof);
    const LD rms =
        std::sqrt((state.sst + state.mean * state.mean * state.weightSum) / state.weightSum);
    // Both at the level of the data's own rounding (a perfect fit): no digits to keep there.
    const LD least = kNegligibleSd * rms;
    if (std::max(other, s) <= least)
        return kMaxDigits;
    return DigitsKept(double(other), s, least);
}

// The digits of the raw coefficients `classic` (ascending powers) and of their residual SD.
double RawDigits(const Quad classic[kMaxCoefs], const FitState& state) {
    Quad stable[kMaxCoefs];
    state.RawCoefficients(stable);
    const LD reach = std::max({std::fabs(LD(state.low)), std::fabs(LD(state.high)), 1e-300L});
    // Term k reaches |C|·reach^k over the data.
    LD largestTerm = 0.0L;
    for (int k = 0; k <= state.degree; ++k)
        largestTerm = std::max(largestTerm, std::fabs(LD(stable[k])) * std::pow(reach, LD(k)));
    double digits = kMaxDigits;
    for (int k = 0; k <= state.degree; ++k)
        digits =
            std::min(digits, DigitsKept(double(classic[k]), LD(stable[k]),
                                        kNegligibleTerm * largestTerm / std::pow(reach, LD(k))));
    Quad centred[kMaxCoefs], d[kMaxCoefs];
    state.CentredFromRaw(classic, centred);
    for (int j = 0; j <= state.degree; ++j)
        d[j] = centred[j] - state.b[j];
    return std::min(digits, ResidualSdDigits(state, d));
}

CentredEquation Centred(const FitState& state) {
    CentredEquation e;
    e.centre = state.centre;
    e.half = state.half;
    for (int j = state.degree; j >= 0; --j)
        e.coefficients.push_back(double(state.b[j]));
    return e;
}

// What the classic method would have kept of an accurate polynomial fit: its normal equations,
// solved only when the statistics are asked for, so the fit itself does not pay for them.
Statistic AccurateFitsClassicDigits(const CLumetraDoc& doc, const FitState& state) {
    std::vector<double> u, v;
    FittedScaleValues(doc, u, v);
    NormalEquations work;
    BuildNormalEquations(u, v, state.degree, work, PowerRule::Products,
                         DocumentWeights(doc).weights);
    double classic[kMaxCoefs] = {};
    if (!SolveNormalEquations(work, state.degree, classic))
        return 0.0;
    return ClassicDigits({classic, size_t(state.degree + 1)}, state);
}

} // namespace

FitStatistics StateStatistics(const FitState& state, double level, bool absolute) {
    FitStatistics s;
    const int order = state.degree;
    s.order = order;
    s.n = int(state.pairs);
    s.dof = s.n - (order + 1);
    s.level = level;
    const LD sse = state.sse, sst = state.sst;
    s.sse = double(sse);
    s.rmse = state.pairs > 0 ? double(std::sqrt(sse / LD(state.pairs))) : 0.0;
    s.rSquared = sst > 0.0L ? double(1.0L - sse / sst) : 1.0;
    s.conditionNumber = Finite(state.condition);

    const int dof = s.dof;
    const LD s2 = dof > 0 ? sse / LD(dof) : 0.0L;
    if (dof > 0) {
        s.residualStdDev = double(std::sqrt(s2));
        s.adjRSquared = sst > 0.0L ? double(1.0L - s2 / (sst / LD(s.n - 1))) : 1.0;
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

    const double quantile =
        dof <= 0   ? 0.0
        : absolute ? boost::math::quantile(
                         boost::math::complement(boost::math::normal(), (1.0 - level) / 2.0))
                   : boost::math::quantile(boost::math::complement(boost::math::students_t(dof),
                                                                   (1.0 - level) / 2.0));
    // The coefficients' covariance is s²(AᵀWA)⁻¹, or (AᵀWA)⁻¹ itself for absolute σ.
    const LD covarianceScale = absolute ? 1.0L : s2;
    Quad raw[kMaxCoefs];
    state.RawCoefficients(raw);
    for (int i = 0; i <= order; ++i) {
        const int power = order - i;
        CoefficientStatistics c;
        c.name = CoefName(i);
        c.estimate = double(raw[power]);
        if (dof > 0) {
            const LD se = std::sqrt(covarianceScale * state.RawVariance(power));
            c.stdError = Finite(se);
            // Equal measured values decide nothing about how the curve changes with the input.
            const bool testable = !(state.constant && power > 0);
            if (c.stdError && testable) {
                c.ciLow = Finite(LD(c.estimate) - LD(quantile) * se);
                c.ciHigh = Finite(LD(c.estimate) + LD(quantile) * se);
                if (se > 0.0L) {
                    c.t = Finite(LD(c.estimate) / se);
                    if (c.t)
                        c.p = TwoSidedP(*c.t, dof, absolute);
                } else if (c.estimate != 0.0) {
                    c.p = 0.0; // known exactly, and not zero
                }
            }
        }
        s.coefficients.push_back(c);
    }
    if (state.constant && order >= 1)
        s.notes.push_back(kConstantNote);
    if (state.CurveCancellation() > kCentredCancellation)
        s.centred = Centred(state);
    return s;
}

std::vector<double> WeightedResiduals(const CLumetraDoc& doc, const FitState& state) {
    std::vector<double> u, v, residuals;
    const FitWeights weights = DocumentWeights(doc);
    if (!FittedScaleValues(doc, u, v) || weights.weights.size() != u.size())
        return residuals;
    residuals.reserve(u.size());
    for (size_t k = 0; k < u.size(); ++k)
        residuals.push_back(
            double(std::sqrt(LD(weights.weights[k])) * (LD(v[k]) - state.Value(state.U(u[k])))));
    return residuals;
}

namespace {

// A pair's input and measured value in the model's fitted scale; none where a logarithm has no
// value.
std::optional<std::pair<double, double>> FittedPoint(const CLumetraDoc& doc,
                                                     const CurveModel& model, const CXYdata& p) {
    const double inOffset = model.xFromY ? doc.m_dYInt : doc.m_dXInt;
    const double outOffset = model.xFromY ? doc.m_dXInt : doc.m_dYInt;
    const std::optional<double> t = model.input.toFitted(InputOf(model, p.m_dX, p.m_dY), inOffset);
    const std::optional<double> w =
        model.output.toFitted(OutputOf(model, p.m_dX, p.m_dY), outOffset);
    if (!t || !w)
        return std::nullopt;
    return std::pair(*t, *w);
}

} // namespace

bool FittedScaleValues(const CLumetraDoc& doc, std::vector<double>& u, std::vector<double>& v) {
    const CurveModel* model = DocumentModel(doc);
    if (!model)
        return false;
    const FitPairs fitted(doc);
    const size_t N = fitted.Size();
    u.resize(N);
    v.resize(N);
    for (size_t k = 0; k < N; ++k) {
        const std::optional<std::pair<double, double>> point =
            FittedPoint(doc, *model, fitted.Pairs()[k]);
        if (!point)
            return false;
        std::tie(u[k], v[k]) = *point;
    }
    return true;
}

std::vector<double> AllWeightedResiduals(const CLumetraDoc& doc, const FitState& state) {
    std::vector<double> inFit = WeightedResiduals(doc, state);
    const FitPairs fitted(doc);
    if (fitted.Excluded() == 0 || inFit.size() != fitted.Size())
        return inFit;
    const CurveModel* model = DocumentModel(doc);
    std::vector<double> all(fitted.Size() + fitted.Excluded());
    for (size_t k = 0; k < inFit.size(); ++k)
        all[fitted.DocumentIndex(k)] = inFit[k];
    for (size_t k = 0; k < all.size(); ++k) {
        const CXYdata& p = doc.m_pPairs[k];
        if (!p.m_bExcluded)
            continue;
        const FitWeights weight = WeightsFor(*model, doc.m_eWeights, {&p, 1});
        const std::optional<std::pair<double, double>> point = FittedPoint(doc, *model, p);
        if (!point || weight.weights.size() != 1)
            return {};
        all[k] = double(std::sqrt(LD(weight.weights[0])) *
                        (LD(point->second) - state.Value(state.U(point->first))));
    }
    return all;
}

StateOutcome DocumentFitState(const CLumetraDoc& doc) {
    const CurveModel* model = DocumentModel(doc);
    const int degree = model ? FittedDegree(*model, doc.m_nOrder) : 0;
    const std::shared_ptr<const FitState>& kept = doc.m_pFitState;
    // A paint asks at every repaint: the state built from these pairs (every one of which had a
    // fitted value) answers without a copy of a million of them in the fitted scale.
    // A state of every pair needs no count of the excluded ones: it takes a pass over them all.
    const size_t all = size_t(std::clamp(doc.m_nPairs, 0, int(doc.m_pPairs.size())));
    if (model && degree >= 1 && degree <= kMaxOrder && kept && kept->degree == degree &&
        kept->pairs >= size_t(degree + 1) && kept->Solved() &&
        (kept->pairs == all || kept->pairs == all - ExcludedPairCount(doc)))
        return {kept, ""};
    std::vector<double> u, v;
    if (!model || degree < 1 || degree > kMaxOrder || !FittedScaleValues(doc, u, v))
        return {nullptr, "The model's fitted scale holds no value for these data: "
                         "there are no statistics."};
    if (u.size() < size_t(degree + 1))
        return {nullptr, FormatC("Statistics need at least %d data points.", {degree + 1})};
    if (!kept || kept->degree != degree || kept->pairs != u.size()) {
        const FitWeights weights = DocumentWeights(doc);
        if (!weights.failure.empty())
            return {nullptr, weights.failure};
        doc.m_pFitState =
            std::make_shared<const FitState>(BuildFitState(u, v, weights.weights, degree));
    }
    if (!doc.m_pFitState->Solved())
        return {nullptr, "The design matrix is singular: there are no statistics."};
    return {doc.m_pFitState, ""};
}

StateOutcome UsableFitState(const CLumetraDoc& doc) {
    if (doc.m_bFitFailed)
        return {nullptr, "The fit failed: there are no statistics."};
    const StateOutcome outcome = DocumentFitState(doc);
    if (!outcome.state)
        return outcome;
    const CurveModel* model = DocumentModel(doc);
    if (!model->usesOrder && !(doc.m_dCoef[0] > 0.0))
        return {nullptr, "C[1] is not above 0: there are no statistics."};
    return outcome;
}

StatisticsOutcome DocumentStatistics(const CLumetraDoc& doc, double level) {
    const StateOutcome outcome = UsableFitState(doc);
    if (!outcome.state)
        return {std::nullopt, outcome.failure};
    const FitState& state = *outcome.state;
    const bool semilog = !DocumentModel(doc)->usesOrder;

    const bool weighted = doc.m_eWeights != WeightScheme::None;
    FitStatistics s = StateStatistics(state, level, weighted && doc.m_bSigmaAbsolute);
    if (weighted)
        AddWeightedStatistics(doc, state, s);
    s.curveType = doc.m_nCurveType;
    s.method = doc.m_eFitMethod;
    if (doc.m_dClassicDigits >= 0.0)
        s.classicDigits = doc.m_dClassicDigits;
    else if (doc.m_eFitMethod == FitMethod::Classic)
        s.classicDigits = semilog ? ClassicSemilogDigits(doc.m_dCoef[0], doc.m_dCoef[1], state)
                                  : ClassicDigits({doc.m_dCoef, size_t(state.degree + 1)}, state);
    else if (!semilog)
        s.classicDigits = AccurateFitsClassicDigits(doc, state);
    if (semilog) {
        // The line ln(C[1]) + C[2]·u: its constant is ln(C[1]), C[1] itself taken back.
        CoefficientStatistics lnA = s.coefficients[1], b = s.coefficients[0];
        lnA.name = "ln(C[1])";
        b.name = "C[2]";
        CoefficientStatistics a;
        a.name = "C[1]";
        a.estimate = double(std::exp(LD(lnA.estimate)));
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

double ClassicDigits(std::span<const double> classic, const FitState& state) {
    Quad raw[kMaxCoefs] = {};
    for (int k = 0; k <= state.degree && k < int(classic.size()); ++k)
        raw[k] = classic[classic.size() - 1 - size_t(k)];
    return RawDigits(raw, state);
}

double ClassicSemilogDigits(double a, double b, const FitState& state) {
    // ln(A) is the constant term of the fitted line; A itself is compared directly.
    Quad stable[kMaxCoefs];
    state.RawCoefficients(stable);
    const double aDigits = DigitsKept(a, std::exp(LD(stable[0])));
    if (!(a > 0.0) || !std::isfinite(a))
        return 0.0;
    const Quad raw[kMaxCoefs] = {Quad(std::log(LD(a))), Quad(b)};
    return std::min(aDigits, RawDigits(raw, state));
}

double DigitsKept(double value, long double reference, long double least) {
    if (!std::isfinite(value))
        return 0.0;
    if (LD(value) == reference)
        return kMaxDigits;
    LD error = std::fabs(LD(value) - reference);
    const LD magnitude = std::max(std::fabs(reference), least);
    if (magnitude > 0.0L)
        error /= magnitude;
    return std::clamp(double(-std::log10(error)), 0.0, kMaxDigits);
}

std::string PrecisionWarningText(double digits) {
    return FormatC("The coefficients of this fit, or the residual standard deviation they give, "
                   "kept only %.1f significant digits: the Accurate method keeps more.",
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
