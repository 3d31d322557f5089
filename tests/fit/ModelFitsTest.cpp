// The model fits called directly over arrays, as the statistics and tests use them: no document,
// no Ui, a result or the reason there is none.
#include "fit/ModelFits.h"
#include "fit/CurveModels.h"
#include "support/ReferenceFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace lumetra {
namespace {

struct Columns {
    std::vector<double> x, y;
};

Columns Split(const std::vector<CXYdata>& pairs) {
    Columns c;
    for (const CXYdata& p : pairs) {
        c.x.push_back(p.m_dX);
        c.y.push_back(p.m_dY);
    }
    return c;
}

FitResult Fit(int type, const Columns& c, int order = 1) {
    NormalEquations work;
    return FindCurveModel(type)->fit(c.x, c.y, {}, order, work, FitMethod::Classic);
}

TEST(ModelFits, NorrisOverArraysMatchesItsCertifiedLine) {
    const Columns c = Split(test::ReadNistPairs(LUMETRA_SOURCE_DIR "/tests/data/nist/Norris.csv"));
    NormalEquations work;
    const FitResult r = FitPolynomial(c.x, c.y, {}, 1, work, FitMethod::Classic);
    ASSERT_TRUE(r.Ok());
    EXPECT_NEAR(r.coef[0], 1.00211681802045, 1e-12);
    EXPECT_NEAR(r.coef[1], -0.262323073774029, 1e-10);
    EXPECT_EQ(work.m_dNormal[1][1], 36.0);
    ASSERT_EQ(r.computed.size(), 36u);
    double sum = 0.0;
    for (size_t k = 0; k < 36; ++k)
        sum += std::fabs(c.y[k] - r.computed[k]);
    EXPECT_EQ(r.sumAbsDiff, sum);
    EXPECT_GT(r.performance, 0.99);
    EXPECT_LE(r.performance, 1.0);
    EXPECT_EQ(r.xint, 0.0);
}

TEST(ModelFits, LogLogAndSemilogResults) {
    FitResult r = Fit(1, {{1, 2, 4}, {2, 4, 8}});
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.xint, 0.0);
    EXPECT_EQ(r.yint, std::log10(2.0));
    EXPECT_NEAR(r.coef[0], 1.0, 1e-12);
    EXPECT_NEAR(r.computed[2], 8.0, 1e-12);

    const double e = std::exp(1.0);
    r = Fit(2, {{0, 1, 2}, {1, e, e * e}});
    ASSERT_TRUE(r.Ok());
    EXPECT_NEAR(r.coef[0], 1.0, 1e-12);
    EXPECT_NEAR(r.coef[1], 1.0, 1e-12);
    // X from Y: the computed values are X values and the statistics measure X.
    r = Fit(3, {{1, e, e * e}, {0, 1, 2}});
    ASSERT_TRUE(r.Ok());
    EXPECT_NEAR(r.computed[2], e * e, 1e-12);
    EXPECT_NEAR(r.performance, 1.0, 1e-12);
}

TEST(ModelFits, EachReasonForNoCurve) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        int type;
        Columns c;
        FitFailure failure;
    } cases[] = {
        {"log-log, X and Y", 1, {{0, 1, 2}, {1, -2, 3}}, FitFailure::NonPositiveXY},
        {"log-log, X", 1, {{-1, 2, 3}, {1, 2, 3}}, FitFailure::NonPositiveX},
        {"log-log, Y", 1, {{1, 2, 3}, {0, 2, 3}}, FitFailure::NonPositiveY},
        {"semilog Y=Ae^BX, Y", 2, {{0, 1, 2}, {1, 0, 3}}, FitFailure::NonPositiveY},
        {"semilog X=Ae^BY, X", 3, {{-1, 1, 2}, {1, 2, 3}}, FitFailure::NonPositiveX},
        {"polynomial, equal X", 0, {{1, 1}, {2, 3}}, FitFailure::Singular},
        {"semilog, equal X", 2, {{2, 2, 2}, {1, 2, 3}}, FitFailure::RankDeficient},
        {"polynomial, an infinite Y", 0, {{0, 1, 2}, {1, inf, 3}}, FitFailure::NotFinite},
        {"semilog, X of 1e300", 2, {{1e300, 2e300, 3e300}, {1, 2, 3}}, FitFailure::NotFinite},
    };
    for (const Case& c : cases) {
        const FitResult r = Fit(c.type, c.c);
        EXPECT_EQ(r.failure, c.failure) << c.what;
        EXPECT_FALSE(r.Ok()) << c.what;
    }
}

} // namespace
} // namespace lumetra
