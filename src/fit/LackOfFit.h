#pragma once

#include "fit/FitState.h"
#include "fit/FitStatistics.h"

#include <span>
#include <string>

namespace lumetra {

// The lack-of-fit F test of a fit against the model with one mean per distinct input (the pure
// error of the replicates), weighted as R's anova of lm(weights =) against that model.
// `refusal` says in words why there is no F; the sums are filled whenever there are replicates.
struct LackOfFitTest {
    std::string refusal;
    int n = 0;
    int groups = 0; // distinct inputs
    int parameters = 0;
    double pureError = 0.0; // Σ w·(v − the weighted mean of its group)²
    int pureDof = 0;        // n − groups
    double lackOfFit = 0.0; // SSE − pure error
    int lackDof = 0;        // groups − parameters
    Statistic f, p;
};

// Mandel's test of a straight line against the quadratic: F = (SSE₁ − SSE₂)/(SSE₂/(n − 3)),
// with 1 and n − 3 degrees of freedom.
struct MandelTest {
    std::string refusal;
    double lineSse = 0.0, quadraticSse = 0.0;
    int dof = 0; // n − 3
    Statistic f, p;
};

// Both on the pairs (t, v) of the fitted scale with their weights (empty: unweighted), for the
// fit `state` made of them; `inputName` names t in the words ("X").
LackOfFitTest TestLackOfFit(std::span<const double> t, std::span<const double> v,
                            std::span<const double> w, const FitState& state,
                            const char* inputName);
MandelTest TestMandel(std::span<const double> t, std::span<const double> v,
                      std::span<const double> w, const FitState& line, const char* inputName);

} // namespace lumetra
