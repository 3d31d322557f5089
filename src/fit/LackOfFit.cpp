#include "fit/LackOfFit.h"

#include "data/NumberFormat.h"
#include "fit/EqualInputs.h"

#include <boost/math/distributions/fisher_f.hpp>

#include <algorithm>
#include <vector>

namespace lumetra {
namespace {

using LD = long double;

double UpperTail(double f, int df1, int df2) {
    return boost::math::cdf(boost::math::complement(boost::math::fisher_f(df1, df2), f));
}

// F = (extra / df1) / (rest / df2) and its p, or the words when rest is 0.
void FTest(LD extra, int df1, LD rest, int df2, Statistic& f, Statistic& p) {
    const LD value = (extra / df1) / (rest / df2);
    if (std::isfinite(value)) {
        f = double(value);
        p = UpperTail(*f, df1, df2);
    }
}

double WeightOf(std::span<const double> w, size_t k) {
    return w.empty() ? 1.0 : w[k];
}

} // namespace

LackOfFitTest TestLackOfFit(std::span<const double> t, std::span<const double> v,
                            std::span<const double> w, const FitState& state,
                            const char* inputName) {
    LackOfFitTest test;
    const size_t N = std::min(t.size(), v.size());
    test.n = int(N);
    test.parameters = state.Coefs();
    const EqualInputRuns runs = RunsOfEqualInput(t.first(N));
    const std::vector<size_t>& order = runs.order;
    LD pure = 0.0L;
    for (size_t r = 0; r < runs.Runs(); ++r) {
        const size_t first = runs.starts[r], end = runs.starts[r + 1];
        // Two passes: the group's weighted mean, then the squares about it.
        LD weight = 0.0L, sum = 0.0L;
        for (size_t i = first; i < end; ++i) {
            weight += WeightOf(w, order[i]);
            sum += LD(WeightOf(w, order[i])) * LD(v[order[i]]);
        }
        const LD mean = weight > 0.0L ? sum / weight : 0.0L;
        for (size_t i = first; i < end; ++i) {
            const LD d = LD(v[order[i]]) - mean;
            pure += LD(WeightOf(w, order[i])) * d * d;
        }
    }
    test.groups = int(runs.Runs());
    test.pureDof = test.n - test.groups;
    test.lackDof = test.groups - test.parameters;
    if (test.pureDof == 0) {
        test.refusal = FormatC("No %s value repeats: there is no pure error to test the lack of "
                               "fit against.",
                               {inputName});
        return test;
    }
    const LD lack = std::max(0.0L, state.sse - pure);
    test.pureError = double(pure);
    test.lackOfFit = double(lack);
    if (test.lackDof <= 0) {
        test.refusal = FormatC("The data have %d distinct %s values, as many as the fit has "
                               "coefficients: no degrees of freedom are left to test the lack of "
                               "fit.",
                               {test.groups, inputName});
    } else if (pure == 0.0L && lack == 0.0L) {
        test.refusal = "The residuals are all zero: there is no lack of fit to test.";
    } else if (pure == 0.0L) {
        test.refusal = "The replicates agree exactly (pure error 0): the lack-of-fit F is "
                       "unbounded, p = 0.";
        test.p = 0.0;
    } else {
        FTest(lack, test.lackDof, pure, test.pureDof, test.f, test.p);
    }
    return test;
}

MandelTest TestMandel(std::span<const double> t, std::span<const double> v,
                      std::span<const double> w, const FitState& line, const char* inputName) {
    MandelTest test;
    const size_t N = std::min(t.size(), v.size());
    test.lineSse = double(line.sse);
    test.dof = int(N) - 3;
    if (test.dof < 1 || DistinctValues(t.first(N), 3) < 3) {
        test.refusal =
            FormatC("Mandel's test needs at least 3 distinct %s values and 4 pairs.", {inputName});
        return test;
    }
    const FitState quadratic = BuildFitState(t, v, w, 2);
    if (!quadratic.Solved()) {
        test.refusal = "The quadratic cannot be fitted to these data: there is no Mandel's test.";
        return test;
    }
    test.quadraticSse = double(quadratic.sse);
    const LD extra = std::max(0.0L, line.sse - quadratic.sse);
    if (quadratic.sse > 0.0L) {
        FTest(extra, 1, quadratic.sse, test.dof, test.f, test.p);
    } else if (extra > 0.0L) {
        test.refusal = "The quadratic fits the data exactly: Mandel's F is unbounded, p = 0.";
        test.p = 0.0;
    } else {
        test.refusal = "The residuals of the straight line are all zero: there is nothing to test.";
    }
    return test;
}

} // namespace lumetra
