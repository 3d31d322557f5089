#pragma once

#include "fit/FitStatistics.h"

#include <span>
#include <string>
#include <vector>

namespace lumetra {

// One polynomial order of the table, every figure in the fitted scale and weighted as R's lm with
// weights counts it. AIC, AICc and BIC take the residual variance as a parameter (k = order + 2);
// a fit without residuals has them at minus infinity. PRESS is Σ w·(e/(1 − h))², its RMSE
// √(PRESS/n); the condition number is the 2-norm one of the weighted design in u = (t − c)/h.
struct OrderRow {
    int order = 0;
    int n = 0;
    int dof = 0;
    double sse = 0.0;
    Statistic residualSd, rSquared, adjRSquared;
    double aic = 0.0, aicc = 0.0, bic = 0.0; // −inf when the residuals are all zero
    bool hasAicc = false;                    // n − k − 1 > 0
    Statistic f, fP;                         // the highest term against the order below
    Statistic press, pressRmse;
    Statistic condition;
};

// The criteria a best order is marked by, in the order of the table's columns.
enum class OrderCriterion { AdjRSquared, Aic, Aicc, Bic, FTest, Press };
inline constexpr int kOrderCriteria = 6;

struct OrderTable {
    std::string failure; // why there is no table; the rest is empty then
    int distinct = 0;    // distinct inputs, counted up to kMaxOrder + 2
    int highest = 0;     // the highest order the data allow
    std::vector<OrderRow> rows;
    // The order each criterion favours (0: none). The F test favours the highest order whose own
    // term is significant at 5 %.
    int best[kOrderCriteria] = {};
};

// The table of every order from 1 to 10 the pairs (t, v) of the fitted scale allow (more distinct
// t than the order, at least one degree of freedom), with their weights (empty: unweighted). One
// factorization of the highest order serves all: the lower orders' SSE are its SSE plus the tail
// of Qᵀv, their leverages the leading parts of R⁻ᵀg, their residuals the highest order's plus a
// correction found from that tail, so no order is fitted again.
OrderTable BuildOrderTable(std::span<const double> t, std::span<const double> v,
                           std::span<const double> w, const char* inputName);

// The significance level of the F test's mark.
inline constexpr double kOrderSignificance = 0.05;

} // namespace lumetra
