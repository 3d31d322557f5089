#include "fit/Influence.h"

#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "fit/FitPairs.h"
#include "fit/FitWeights.h"
#include "platform/WorkSplit.h"

#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace lumetra {
namespace {

using LD = long double;

// R's lm.influence takes a leverage this close to 1 for 1: the pair is fitted exactly whatever
// its value.
constexpr double kLeverageOne = 1.0 - 10.0 * std::numeric_limits<double>::epsilon();
constexpr size_t kPairsPerPart = 50000;

Statistic Finite(LD value) {
    return std::isfinite(value) ? Statistic(double(value)) : std::nullopt;
}

// The Durbin–Watson statistic of the residuals taken in the order of t, ties in pair order.
Statistic DurbinWatson(std::span<const double> t, const std::vector<double>& e) {
    std::vector<std::pair<double, size_t>> order(e.size());
    for (size_t k = 0; k < e.size(); ++k)
        order[k] = {t[k], k};
    if (!std::is_sorted(t.begin(), t.end()))
        std::sort(order.begin(), order.end());
    LD squares = 0.0L, steps = 0.0L;
    for (size_t k = 0; k < order.size(); ++k) {
        const LD here = e[order[k].second];
        squares += here * here;
        if (k > 0) {
            const LD d = here - LD(e[order[k - 1].second]);
            steps += d * d;
        }
    }
    return squares > 0.0L ? Finite(steps / squares) : std::nullopt;
}

} // namespace

InfluenceTable ComputeInfluence(const FitState& state, std::span<const double> t,
                                std::span<const double> v, std::span<const double> w) {
    InfluenceTable table;
    const size_t n = t.size();
    table.n = int(n);
    table.coefs = state.Coefs();
    table.pairs.resize(n);
    table.cooksCutoff = n > 0 ? 4.0 / double(n) : 0.0;
    const int dof = table.n - table.coefs;
    const LD sse = state.sse;
    const LD s2 = dof > 0 ? sse / LD(dof) : 0.0L;
    const bool spread = s2 > 0.0L;
    const bool deletable = dof > 1 && spread;
    if (dof > 1)
        table.studentizedCutoff = boost::math::quantile(boost::math::complement(
            boost::math::students_t(double(dof - 1)), kOutlierAlpha / (2.0 * double(n))));

    std::vector<double> e(n);
    std::vector<char> exact(n, 0);
    const int parts = WorkParts(n, kPairsPerPart);
    RunParts(parts, [&](int part, int count) {
        const size_t begin = n * size_t(part) / size_t(count);
        const size_t end = n * size_t(part + 1) / size_t(count);
        for (size_t k = begin; k < end; ++k) {
            const LD u = state.U(t[k]);
            const LD weight = w.empty() ? 1.0L : LD(w[k]);
            const LD residual = std::sqrt(weight) * (LD(v[k]) - state.Value(u));
            e[k] = double(residual);
            PairInfluence& p = table.pairs[k];
            const LD h = weight * state.Leverage(u);
            p.leverage = double(h);
            if (p.leverage >= kLeverageOne) {
                p.leverage = 1.0;
                exact[k] = 1;
                continue;
            }
            if (!spread)
                continue;
            const LD rest = 1.0L - h;
            const LD standardized = residual / std::sqrt(s2 * rest);
            p.standardized = Finite(standardized);
            p.cooks = Finite(standardized * standardized * h / (LD(table.coefs) * rest));
            if (!deletable)
                continue;
            // The residual SD of the fit without the pair, in closed form: no refit.
            const LD left = (sse - residual * residual / rest) / LD(dof - 1);
            if (!(left > 0.0L))
                continue;
            const LD studentized = residual / std::sqrt(left * rest);
            p.studentized = Finite(studentized);
            p.dffits = Finite(studentized * std::sqrt(h / rest));
        }
    });

    for (PairInfluence& p : table.pairs) {
        p.outlier = p.studentized && table.studentizedCutoff &&
                    std::fabs(*p.studentized) > *table.studentizedCutoff;
        p.influential = p.cooks && *p.cooks > table.cooksCutoff;
        table.flagged += p.Flagged() ? 1 : 0;
    }
    if (n > 1)
        table.durbinWatson = DurbinWatson(t, e);

    const auto first = std::find(exact.begin(), exact.end(), char(1));
    if (first != exact.end())
        table.notes.push_back(
            FormatC("Pair %d has leverage 1: the curve passes through it whatever its value, so "
                    "its residual measures do not exist.",
                    {int(first - exact.begin()) + 1}));
    if (dof > 0 && !spread)
        table.notes.push_back("The residuals are all 0: the standardized and studentized "
                              "residuals, Cook's distance and DFFITS do not exist.");
    if (dof <= 1)
        table.notes.push_back(FormatC(
            "With %d pairs and %d coefficients no degree of freedom is left when a pair is left "
            "out: there are no studentized residuals, DFFITS or outlier test.",
            {table.n, table.coefs}));
    return table;
}

namespace {

InfluenceOutcome MeasureInfluence(const CLumetraDoc& doc, const StateOutcome& outcome) {
    if (!outcome.state)
        return {std::nullopt, outcome.failure};
    std::vector<double> u, v;
    const FitWeights weights = DocumentWeights(doc);
    if (!FittedScaleValues(doc, u, v) || !weights.failure.empty() ||
        u.size() != outcome.state->pairs)
        return {std::nullopt, weights.failure.empty()
                                  ? "The model's fitted scale holds no value for these data: "
                                    "there are no influence measures."
                                  : weights.failure};
    InfluenceTable table = ComputeInfluence(*outcome.state, u, v, weights.weights);
    const FitPairs fitted(doc);
    for (size_t k = 0; k < table.pairs.size(); ++k)
        table.pairs[k].pair = fitted.DocumentIndex(k);
    return {std::move(table), ""};
}

} // namespace

std::shared_ptr<const InfluenceOutcome> DocumentInfluence(const CLumetraDoc& doc) {
    const StateOutcome outcome = UsableFitState(doc);
    if (outcome.state && outcome.state == doc.m_pInfluenceFit && doc.m_pInfluence)
        return doc.m_pInfluence;
    auto measured = std::make_shared<const InfluenceOutcome>(MeasureInfluence(doc, outcome));
    if (outcome.state) {
        doc.m_pInfluence = measured;
        doc.m_pInfluenceFit = outcome.state;
    }
    return measured;
}

} // namespace lumetra
