#include "fit/FitStatistics.h"
#include "fit/FitEngine.h"
#include "support/DocTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace lumetra {
namespace {

// Student's t with 3 degrees of freedom has a closed-form distribution function.
double TwoSidedPThreeDof(double t) {
    const double a = std::fabs(t) / std::sqrt(3.0);
    const double cdf = 0.5 + (a / (1.0 + a * a) + std::atan(a)) / std::numbers::pi;
    return 2.0 * (1.0 - cdf);
}
constexpr double kT975ThreeDof = 3.182446305284263; // from the tables

std::vector<double> Column(const std::vector<CXYdata>& pairs, bool x) {
    std::vector<double> values;
    for (const CXYdata& p : pairs)
        values.push_back(x ? p.m_dX : p.m_dY);
    return values;
}

struct Stats : test::DocTest {
    CFitEngine engine{doc};

    FitStatistics Fit(std::vector<CXYdata> pairs, int type, int order, FitMethod method,
                      double level = kDefaultLevel) {
        doc.OnNewDocument();
        doc.m_pPairs = std::move(pairs);
        doc.m_nPairs = int(doc.m_pPairs.size());
        doc.m_nCurveType = type;
        doc.m_nOrder = order;
        doc.m_eFitMethod = method;
        EXPECT_EQ(engine.RefitDocument(), 1);
        const StatisticsOutcome outcome = DocumentStatistics(doc, level);
        EXPECT_TRUE(outcome.stats) << outcome.failure;
        return outcome.stats.value_or(FitStatistics{});
    }
};

// Every statistic of a straight line, against its textbook formula worked out here.
TEST_F(Stats, AStraightLineAgreesWithItsClosedForms) {
    const std::vector<double> x = {1, 2, 3, 4, 5}, y = {2.0, 4.1, 5.9, 8.2, 9.8};
    const double n = 5, xbar = 3, ybar = (2.0 + 4.1 + 5.9 + 8.2 + 9.8) / 5;
    double sxx = 0, sxy = 0, syy = 0;
    for (int k = 0; k < 5; ++k) {
        sxx += (x[k] - xbar) * (x[k] - xbar);
        sxy += (x[k] - xbar) * (y[k] - ybar);
        syy += (y[k] - ybar) * (y[k] - ybar);
    }
    const double b = sxy / sxx, a = ybar - b * xbar;
    double sse = 0;
    for (int k = 0; k < 5; ++k)
        sse += (y[k] - a - b * x[k]) * (y[k] - a - b * x[k]);
    const double s = std::sqrt(sse / 3), seB = s / std::sqrt(sxx),
                 seA = s * std::sqrt(1 / n + xbar * xbar / sxx);
    const double f = (syy - sse) / (sse / 3);

    for (FitMethod method : {FitMethod::Classic, FitMethod::Accurate}) {
        std::vector<CXYdata> pairs;
        for (int k = 0; k < 5; ++k)
            pairs.push_back({x[k], y[k]});
        const FitStatistics st = Fit(pairs, 0, 1, method);
        EXPECT_EQ(st.method, method);
        EXPECT_EQ(st.n, 5);
        EXPECT_EQ(st.dof, 3);
        EXPECT_EQ(st.level, 0.95);
        ASSERT_EQ(st.coefficients.size(), 2u);
        const CoefficientStatistics& cb = st.coefficients[0];
        const CoefficientStatistics& ca = st.coefficients[1];
        EXPECT_EQ(cb.name, "C[1]");
        EXPECT_EQ(ca.name, "C[2]");
        EXPECT_NEAR(cb.estimate, b, 1e-13);
        EXPECT_NEAR(ca.estimate, a, 1e-13);
        EXPECT_NEAR(*cb.stdError, seB, 1e-13);
        EXPECT_NEAR(*ca.stdError, seA, 1e-13);
        EXPECT_NEAR(*cb.t, b / seB, 1e-10);
        EXPECT_NEAR(*ca.t, a / seA, 1e-10);
        EXPECT_NEAR(*cb.p, TwoSidedPThreeDof(b / seB), 1e-12);
        EXPECT_NEAR(*ca.p, TwoSidedPThreeDof(a / seA), 1e-12);
        EXPECT_NEAR(*cb.ciLow, b - kT975ThreeDof * seB, 1e-12);
        EXPECT_NEAR(*cb.ciHigh, b + kT975ThreeDof * seB, 1e-12);
        EXPECT_NEAR(*ca.ciLow, a - kT975ThreeDof * seA, 1e-12);
        EXPECT_NEAR(*ca.ciHigh, a + kT975ThreeDof * seA, 1e-12);
        EXPECT_NEAR(*st.residualStdDev, s, 1e-13);
        EXPECT_NEAR(st.sse, sse, 1e-13);
        EXPECT_NEAR(st.rmse, std::sqrt(sse / 5), 1e-13);
        EXPECT_NEAR(st.rSquared, 1 - sse / syy, 1e-14);
        EXPECT_NEAR(*st.adjRSquared, 1 - (sse / 3) / (syy / 4), 1e-14);
        EXPECT_NEAR(*st.f, f, 1e-8);
        // F with 1 and 3 degrees of freedom is the square of t with 3.
        EXPECT_NEAR(*st.fP, TwoSidedPThreeDof(std::sqrt(f)), 1e-12);
        EXPECT_GT(*st.conditionNumber, 1.0);
        if (method == FitMethod::Classic) {
            EXPECT_EQ(*st.classicDigits, doc.m_dClassicDigits);
        }
        EXPECT_GE(*st.classicDigits, 13.0);
    }
}

TEST_F(Stats, TheLevelSetsTheInterval) {
    const FitStatistics st = Fit(test::kLinePairs, 0, 1, FitMethod::Accurate, 0.90);
    const CoefficientStatistics& c = st.coefficients[0];
    // t(0.95; 3) = 2.353363434801823, from the tables.
    EXPECT_NEAR(*c.ciHigh - c.estimate, 2.353363434801823 * *c.stdError, 1e-12);
    EXPECT_EQ(st.level, 0.90);
}

// The condition number is the centred design's: X from 1 to 5 is u = (X − 3)/2, whose design
// [1 u] has the Gram matrix diag(5, 2.5).
TEST_F(Stats, TheConditionNumberIsTheCentredDesignMatrixs) {
    const FitStatistics st = Fit(test::kLinePairs, 0, 1, FitMethod::Classic);
    EXPECT_NEAR(*st.conditionNumber, std::sqrt(2.0), 1e-15);
}

TEST_F(Stats, SemilogStatisticsBelongToTheLogarithmAndGiveAWithItsInterval) {
    const std::vector<CXYdata> pairs = {{0, 1.1}, {1, 2.6}, {2, 7.9}, {3, 19.0}, {4, 56.0}};
    for (int type : {2, 3}) {
        std::vector<CXYdata> data = pairs;
        if (type == 3)
            for (CXYdata& p : data)
                std::swap(p.m_dX, p.m_dY);
        const FitStatistics st = Fit(data, type, 1, FitMethod::Accurate);
        // The straight line of ln(measured) on the other variable, independently.
        const std::vector<double> u = Column(pairs, true);
        std::vector<double> v = Column(pairs, false);
        for (double& value : v)
            value = std::log(value);
        const FitStatistics line = StateStatistics(BuildFitState(u, v, {}, 1), 0.95);
        EXPECT_EQ(st.curveType, type);
        ASSERT_EQ(st.coefficients.size(), 3u);
        EXPECT_EQ(st.coefficients[0].name, "ln(C[1])");
        EXPECT_EQ(st.coefficients[1].name, "C[2]");
        EXPECT_EQ(st.coefficients[2].name, "C[1]");
        EXPECT_NEAR(st.coefficients[0].estimate, line.coefficients[1].estimate, 1e-15);
        EXPECT_NEAR(*st.coefficients[0].stdError, *line.coefficients[1].stdError, 1e-15);
        EXPECT_NEAR(*st.coefficients[1].t, *line.coefficients[0].t, 1e-12);
        EXPECT_NEAR(st.rSquared, line.rSquared, 1e-15);
        const CoefficientStatistics& a = st.coefficients[2];
        EXPECT_EQ(a.estimate, doc.m_dCoef[0]);
        EXPECT_NEAR(*a.ciLow, std::exp(*line.coefficients[1].ciLow), 1e-14);
        EXPECT_NEAR(*a.ciHigh, std::exp(*line.coefficients[1].ciHigh), 1e-14);
        EXPECT_LT(*a.ciLow, a.estimate);
        EXPECT_GT(*a.ciHigh, a.estimate);
        EXPECT_FALSE(a.t); // A > 0 by its form: a test of A = 0 means nothing
        EXPECT_FALSE(a.p);
    }
}

TEST_F(Stats, LogLogStatisticsBelongToTheOffsetLogarithms) {
    const FitStatistics st =
        Fit({{1, 3}, {2, 7.5}, {4, 17}, {8, 52}, {16, 120}}, 1, 1, FitMethod::Accurate);
    std::vector<double> u, v;
    for (const CXYdata& p : doc.m_pPairs) {
        u.push_back(std::log10(p.m_dX) - std::log10(1.0));
        v.push_back(std::log10(p.m_dY) - std::log10(3.0));
    }
    const FitStatistics expected = StateStatistics(BuildFitState(u, v, {}, 1), 0.95);
    EXPECT_NEAR(*st.coefficients[0].stdError, *expected.coefficients[0].stdError, 1e-15);
    EXPECT_NEAR(st.sse, expected.sse, 1e-16);
}

TEST_F(Stats, NoDegreesOfFreedomLeaveOnlyWhatIsDefined) {
    const FitStatistics st = Fit({{0, 1}, {1, 2}, {2, 5}}, 0, 2, FitMethod::Accurate);
    EXPECT_EQ(st.dof, 0);
    EXPECT_FALSE(st.residualStdDev);
    EXPECT_FALSE(st.adjRSquared);
    EXPECT_FALSE(st.f);
    EXPECT_FALSE(st.fP);
    for (const CoefficientStatistics& c : st.coefficients) {
        EXPECT_FALSE(c.stdError);
        EXPECT_FALSE(c.t);
        EXPECT_FALSE(c.p);
        EXPECT_FALSE(c.ciLow);
        EXPECT_FALSE(c.ciHigh);
    }
    EXPECT_NEAR(st.coefficients[0].estimate, 1.0, 1e-15);
    EXPECT_NEAR(st.rSquared, 1.0, 1e-15);
    EXPECT_LT(st.sse, 1e-28);
    EXPECT_TRUE(ui.messages.empty()); // an interpolation keeps its digits: no warning
}

TEST_F(Stats, APerfectFitHasExactCoefficients) {
    const std::vector<double> u = {0, 1, 2, 3}, v = {1, 3, 5, 7};
    const FitStatistics st = StateStatistics(BuildFitState(u, v, {}, 1), 0.95);
    EXPECT_EQ(st.sse, 0.0);
    EXPECT_EQ(*st.residualStdDev, 0.0);
    EXPECT_EQ(st.rSquared, 1.0);
    EXPECT_EQ(*st.adjRSquared, 1.0);
    EXPECT_FALSE(st.f); // unbounded
    EXPECT_EQ(*st.fP, 0.0);
    for (const CoefficientStatistics& c : st.coefficients) {
        EXPECT_EQ(*c.stdError, 0.0);
        EXPECT_EQ(*c.ciLow, c.estimate);
        EXPECT_EQ(*c.ciHigh, c.estimate);
        EXPECT_FALSE(c.t);
        EXPECT_EQ(*c.p, 0.0);
    }
    // A coefficient that is exactly 0 and known exactly has no p either.
    const std::vector<double> flat = {4, 4, 4, 4};
    const FitStatistics zero = StateStatistics(BuildFitState(u, flat, {}, 1), 0.95);
    EXPECT_FALSE(zero.coefficients[0].p);
    EXPECT_EQ(*zero.coefficients[1].p, 0.0);
}

TEST_F(Stats, ConstantMeasurementsAreExplainedCompletely) {
    for (FitMethod method : {FitMethod::Classic, FitMethod::Accurate}) {
        const FitStatistics st = Fit({{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}, 0, 1, method);
        EXPECT_EQ(st.rSquared, 1.0);
        EXPECT_EQ(*st.adjRSquared, 1.0);
        EXPECT_FALSE(st.f);
        EXPECT_FALSE(st.fP);
        EXPECT_NEAR(st.coefficients[0].estimate, 0.0, 1e-14);
        EXPECT_NEAR(st.coefficients[1].estimate, 5.0, 1e-14);
        EXPECT_TRUE(st.residualStdDev);
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST_F(Stats, AFailedFitHasNoStatistics) {
    doc.OnNewDocument();
    doc.m_pPairs = {{1, 2}, {1, 3}, {1, 4}};
    doc.m_nPairs = 3;
    for (FitMethod method : {FitMethod::Classic, FitMethod::Accurate}) {
        ui.messages.clear();
        doc.m_eFitMethod = method;
        EXPECT_EQ(engine.RefitDocument(), 0);
        // The classic method's own words; the accurate one says what is missing.
        EXPECT_EQ(ui.OnlyMessage(),
                  method == FitMethod::Classic
                      ? "Matrix is Singular!\nCan't Fit the Curve"
                      : "A curve with 2 coefficients needs 2 different X values; the data hold "
                        "1.\nCan't Fit the Curve");
        EXPECT_EQ(doc.m_bFitFailed, 1);
        EXPECT_EQ(doc.m_dClassicDigits, -1.0);
        const StatisticsOutcome outcome = DocumentStatistics(doc, kDefaultLevel);
        EXPECT_FALSE(outcome.stats);
        EXPECT_EQ(outcome.failure, "The fit failed: there are no statistics.");
    }
}

TEST_F(Stats, DataTheModelCannotTakeHaveNoStatistics) {
    // As read from a file, never fitted here: a semilog model over a Y of 0.
    doc.OnNewDocument();
    doc.m_pPairs = {{1, 0}, {2, 3}, {3, 4}};
    doc.m_nPairs = 3;
    doc.m_nCurveType = 2;
    doc.m_dCoef[0] = 1.0;
    EXPECT_EQ(DocumentStatistics(doc, kDefaultLevel).failure,
              "The model's fitted scale holds no value for these data: there are no statistics.");
    doc.m_nCurveType = 0;
    doc.m_nOrder = 3;
    EXPECT_EQ(DocumentStatistics(doc, kDefaultLevel).failure,
              "Statistics need at least 4 data points.");
}

TEST_F(Stats, AStoredFitIsMeasuredAsItStands) {
    // Read from a file: no fit ran, so the design is factored on demand and the stored
    // coefficients compared with the accurate ones.
    doc.OnNewDocument();
    doc.m_pPairs = test::kLinePairs;
    doc.m_nPairs = 5;
    doc.m_dCoef[0] = 1.97;
    doc.m_dCoef[1] = 0.05;
    const StatisticsOutcome outcome = DocumentStatistics(doc, kDefaultLevel);
    ASSERT_TRUE(outcome.stats);
    // The statistics describe the least-squares line, whose slope the stored one happens to be.
    EXPECT_NEAR(outcome.stats->coefficients[0].estimate, 1.97, 1e-14);
    EXPECT_NEAR(*outcome.stats->classicDigits, -std::log10(0.04 / 0.09), 1e-9); // C[2] is 0.09
}

TEST(Digits, AreTheLogRelativeErrorCappedAtFifteen) {
    EXPECT_EQ(DigitsKept(1.0, 1.0L), 15.0);
    EXPECT_NEAR(DigitsKept(1.001, 1.0L), 3.0, 1e-9);
    EXPECT_NEAR(DigitsKept(-124.1, -1467.49L), -std::log10(1343.39 / 1467.49), 1e-12);
    EXPECT_EQ(DigitsKept(5.0, -5.0L), 0.0);
    EXPECT_NEAR(DigitsKept(1e-7, 0.0L), 7.0, 1e-9);       // against 0: the absolute error
    EXPECT_NEAR(DigitsKept(1e-7, 0.0L, 1.0L), 7.0, 1e-9); // or the least magnitude named
    EXPECT_NEAR(DigitsKept(1e-7, 1e-9L, 1e-3L), -std::log10(0.99e-4), 1e-9);
    EXPECT_EQ(DigitsKept(std::nan(""), 1.0L), 0.0);
}

} // namespace
} // namespace lumetra
