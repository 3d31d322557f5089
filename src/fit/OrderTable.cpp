#include "fit/OrderTable.h"

#include "data/NumberFormat.h"
#include "fit/FitState.h"
#include "platform/WorkSplit.h"

#include <Eigen/Dense>
#include <boost/math/distributions/fisher_f.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace lumetra {
namespace {

using LD = long double;

// Pairs of one chunk of the leave-one-out pass: its sums are its own, joined in chunk order, so the
// bits do not depend on the core count.
constexpr size_t kChunkRows = size_t(1) << 16;
constexpr size_t kMinPairsPerPart = 20000;
// A pair whose leverage is this close to 1 decides its own fitted value: it has no deleted
// residual, and PRESS no value.
constexpr double kWholeLeverage = 1e-12;

struct PressSums {
    LD press[kMaxCoefs] = {};
    bool unbounded[kMaxCoefs] = {};
};

// What the per-pair pass needs beside the highest order's state: M = R⁻ᵀ and z = Qᵀv in double.
// Row i of Q is y = M·√w·g(u): order k's leverage is the sum of y_j² up to k, and √w·(order K's
// fitted value − order k's) the sum of y_j·z_j beyond k. Each y_j is its own sum, free of the
// others, where forward substitution would chain them.
struct Nested {
    const FitState& s;
    std::span<const double> t, v, w;
    double m[kMaxCoefs][kMaxCoefs];
    double z[kMaxCoefs];
    LD b[kMaxCoefs]; // the solution, once out of binary128
};

PressSums PressRows(const Nested& in, size_t begin, size_t end) {
    const int K = in.s.degree;
    const LD centre = in.s.centre, scale = 1.0L / LD(in.s.half); // exact: half is a power of two
    double press[kMaxCoefs] = {};
    PressSums out;
    for (size_t i = begin; i < end; ++i) {
        const double weight = in.w.empty() ? 1.0 : in.w[i];
        if (!(weight > 0.0))
            continue; // no part in any sum
        const LD uLong = (LD(in.t[i]) - centre) * scale;
        const double u = double(uLong);
        const double root = std::sqrt(weight);
        // The highest order's residual from the unrounded solution: the lower orders' are it
        // plus a correction, so a tight fit keeps its digits.
        LD fitted = in.b[K];
        for (int j = K - 1; j >= 0; --j)
            fitted = fitted * uLong + in.b[j];
        const double top = double(LD(in.v[i]) - fitted);
        double g[kMaxCoefs], y[kMaxCoefs];
        g[0] = root;
        for (int j = 1; j <= K; ++j)
            g[j] = g[j - 1] * u;
        for (int j = 0; j <= K; ++j) {
            double sum = 0.0;
            for (int k = 0; k <= j; ++k)
                sum += in.m[j][k] * g[k];
            y[j] = sum;
        }
        double leverage = y[0] * y[0];
        for (int j = 1; j <= K; ++j) {
            leverage += y[j] * y[j];
            g[j] = leverage; // g is free now: order j's leverage
        }
        double correction = 0.0;
        for (int k = K; k >= 1; --k) {
            const double residual = top + correction / root;
            correction += y[k] * in.z[k];
            const double rest = 1.0 - g[k];
            if (rest <= kWholeLeverage) {
                out.unbounded[k] = true;
                continue;
            }
            const double deleted = residual / rest;
            press[k] += weight * deleted * deleted;
        }
    }
    for (int k = 0; k < kMaxCoefs; ++k)
        out.press[k] = press[k];
    return out;
}

PressSums PressOfAll(const Nested& in) {
    const size_t N = in.t.size();
    const size_t chunks = std::max<size_t>(1, (N + kChunkRows - 1) / kChunkRows);
    std::vector<PressSums> results(chunks);
    RunParts(WorkParts(N, kMinPairsPerPart), [&](int part, int parts) {
        for (size_t c = size_t(part); c < chunks; c += size_t(parts))
            results[c] = PressRows(in, c * kChunkRows, std::min(N, (c + 1) * kChunkRows));
    });
    PressSums total;
    for (const PressSums& c : results)
        for (int k = 0; k < kMaxCoefs; ++k) {
            total.press[k] += c.press[k];
            total.unbounded[k] = total.unbounded[k] || c.unbounded[k];
        }
    return total;
}

// The 2-norm condition number of the leading (k + 1)-square block of R.
LD LeadingCondition(const FitState& s, int k) {
    Eigen::Matrix<LD, Eigen::Dynamic, Eigen::Dynamic> block(k + 1, k + 1);
    for (int i = 0; i <= k; ++i)
        for (int j = 0; j <= k; ++j)
            block(i, j) = s.r[i][j];
    const Eigen::JacobiSVD<decltype(block)> svd(block);
    const LD smallest = svd.singularValues().minCoeff();
    return smallest > 0.0L ? svd.singularValues().maxCoeff() / smallest
                           : std::numeric_limits<LD>::infinity();
}

Statistic Finite(LD value) {
    return std::isfinite(value) ? Statistic(double(value)) : std::nullopt;
}

void MarkBest(OrderTable& table) {
    auto lowest = [&](OrderCriterion c, auto value) {
        const OrderRow* best = nullptr;
        for (const OrderRow& row : table.rows)
            if (value(row) && (!best || *value(row) < *value(*best)))
                best = &row;
        table.best[int(c)] = best ? best->order : 0;
    };
    using Value = std::optional<double>;
    lowest(OrderCriterion::AdjRSquared, [](const OrderRow& r) -> Value {
        return r.adjRSquared ? Value(-*r.adjRSquared) : std::nullopt;
    });
    lowest(OrderCriterion::Aic, [](const OrderRow& r) -> Value { return r.aic; });
    lowest(OrderCriterion::Aicc,
           [](const OrderRow& r) -> Value { return r.hasAicc ? Value(r.aicc) : std::nullopt; });
    lowest(OrderCriterion::Bic, [](const OrderRow& r) -> Value { return r.bic; });
    lowest(OrderCriterion::Press, [](const OrderRow& r) -> Value { return r.press; });
    for (const OrderRow& row : table.rows)
        if (row.fP && *row.fP < kOrderSignificance)
            table.best[int(OrderCriterion::FTest)] = row.order;
}

} // namespace

OrderTable BuildOrderTable(std::span<const double> t, std::span<const double> v,
                           std::span<const double> w, const char* inputName) {
    OrderTable table;
    const size_t N = std::min(t.size(), v.size());
    t = t.first(N);
    v = v.first(N);
    table.distinct = DistinctValues(t, kMaxOrder + 2);
    int K = std::min({kMaxOrder, table.distinct - 1, int(N) - 2});
    if (K < 1) {
        table.failure = FormatC("The order table needs at least 3 pairs and 2 distinct %s values.",
                                {inputName});
        return table;
    }
    FitState s = BuildFitState(t, v, w, K);
    // Inputs in tight clusters can leave the scaled design short of rank at the top orders only.
    while (s.finite && !s.Solved() && K > 1)
        s = BuildFitState(t, v, w, --K);
    if (!s.finite) {
        table.failure = "A value of the fitted scale or a weight is not finite: there is no order "
                        "table.";
        return table;
    }
    if (!s.Solved()) {
        table.failure = "The design matrix is singular: there is no order table.";
        return table;
    }
    table.highest = K;

    // z = Qᵀv = R·b; order k leaves the squares of z beyond k in its residuals.
    LD z[kMaxCoefs] = {};
    for (int j = 0; j <= K; ++j) {
        Quad sum = 0;
        for (int m = j; m <= K; ++m)
            sum += Quad(s.r[j][m]) * s.b[m];
        z[j] = LD(sum);
    }
    Nested nested{s, t, v, w, {}, {}, {}};
    for (int i = 0; i <= K; ++i) {
        nested.z[i] = double(z[i]);
        nested.b[i] = LD(s.b[i]);
        // Column i of R⁻ᵀ: Rᵀx = e_i, forward.
        LD x[kMaxCoefs] = {};
        for (int j = i; j <= K; ++j) {
            LD sum = j == i ? 1.0L : 0.0L;
            for (int k = i; k < j; ++k)
                sum -= s.r[k][j] * x[k];
            x[j] = sum / s.r[j][j];
            nested.m[j][i] = double(x[j]);
        }
    }
    const PressSums press = PressOfAll(nested);

    LD logWeights = 0.0L;
    for (size_t k = 0; k < w.size() && k < N; ++k)
        logWeights += std::log(LD(w[k]));
    const LD n = LD(N);
    LD tail = 0.0L; // Σ z_j² beyond the order
    std::vector<OrderRow> rows(static_cast<size_t>(K));
    for (int k = K; k >= 1; --k) {
        OrderRow& row = rows[size_t(k - 1)];
        row.order = k;
        row.n = int(N);
        row.dof = int(N) - k - 1;
        const LD sse = s.sse + tail;
        tail += z[k] * z[k];
        const LD dof = LD(row.dof);
        row.sse = double(sse);
        row.residualSd = double(std::sqrt(sse / dof));
        if (s.sst > 0.0L) {
            row.rSquared = double(1.0L - sse / s.sst);
            row.adjRSquared = double(1.0L - (sse / dof) / (s.sst / (n - 1)));
        }
        const LD params = LD(k + 2);
        if (sse > 0.0L) {
            const LD logLik = 0.5L * (logWeights - n * (std::log(2.0L * std::numbers::pi_v<LD>) +
                                                        1.0L - std::log(n) + std::log(sse)));
            row.aic = double(-2.0L * logLik + 2.0L * params);
            row.bic = double(-2.0L * logLik + std::log(n) * params);
        } else {
            row.aic = row.bic = -std::numeric_limits<double>::infinity();
        }
        if (n - params - 1.0L > 0.0L) {
            row.hasAicc = true;
            row.aicc = double(LD(row.aic) + 2.0L * params * (params + 1.0L) / (n - params - 1.0L));
        }
        const LD extra = z[k] * z[k];
        if (sse > 0.0L) {
            row.f = Finite(extra / (sse / dof));
            if (row.f)
                row.fP = boost::math::cdf(
                    boost::math::complement(boost::math::fisher_f(1, row.dof), *row.f));
        } else if (extra > 0.0L) {
            row.fP = 0.0; // the term removes every residual left: F is unbounded
        }
        if (!press.unbounded[k]) {
            row.press = double(press.press[k]);
            row.pressRmse = double(std::sqrt(press.press[k] / n));
        }
        row.condition = Finite(LeadingCondition(s, k));
    }
    table.rows = std::move(rows);
    MarkBest(table);
    return table;
}

} // namespace lumetra
