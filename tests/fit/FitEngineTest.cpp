#include "fit/FitEngine.h"
#include "support/DocTest.h"
#include "support/ReferenceFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace lumetra {
namespace {

struct Fit : test::DocTest {
    CFitEngine engine{doc};

    void SetPairs(std::vector<CXYdata> pairs, int type = 0, int order = 1) {
        doc.OnNewDocument();
        doc.m_pPairs = std::move(pairs);
        doc.m_nPairs = int(doc.m_pPairs.size());
        doc.m_nCurveType = type;
        doc.m_nOrder = order;
    }
};

TEST_F(Fit, AStraightLineThroughThreePoints) {
    SetPairs({{0, 1}, {1, 3}, {2, 5}});
    ASSERT_EQ(engine.RefitDocument(), 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_NEAR(doc.m_dCoef[0], 2.0, 1e-14);
    EXPECT_NEAR(doc.m_dCoef[1], 1.0, 1e-14);
    EXPECT_NEAR(doc.m_pPairs[2].m_dComputed, 5.0, 1e-14);
    EXPECT_NEAR(doc.m_dSumAbsDiff, 0.0, 1e-14);
    EXPECT_NEAR(doc.m_dPerformance, 1.0, 1e-14);
    EXPECT_EQ(doc.m_dMaxX, 2.0);
    EXPECT_EQ(doc.m_dMinY, 1.0);
    EXPECT_EQ(doc.m_bFitting, 0);
    EXPECT_EQ(ui.waitDepth, 0);
    // The normal equations of it: exponents 2n-(i-1)-(j-1), N in the corner.
    EXPECT_EQ(engine.m_dPowers[0][0], 2.0);
    EXPECT_EQ(engine.m_dPowers[1][1], 0.0);
    EXPECT_EQ(engine.m_dNormal[0][0], 5.0);
    EXPECT_EQ(engine.m_dNormal[0][1], 3.0);
    EXPECT_EQ(engine.m_dNormal[1][1], 3.0);
    EXPECT_EQ(engine.m_dRhs[0], 13.0);
    EXPECT_EQ(engine.m_dRhs[1], 9.0);
    EXPECT_EQ(engine.m_dRhsPowers[0], 1.0);
}

TEST_F(Fit, PairsAtZeroCountButAddNothingToThePowerSums) {
    SetPairs({{0, 4}, {0, 4}, {1, 6}, {2, 8}});
    ASSERT_EQ(engine.RefitDocument(), 1);
    EXPECT_EQ(engine.m_dNormal[1][1], 4.0);
    EXPECT_EQ(engine.m_dNormal[0][1], 3.0);
    EXPECT_EQ(doc.m_pPairs[0].m_dComputed, doc.m_dCoef[1]); // at X = 0, exactly C[n+1]
}

TEST_F(Fit, TheNormalMatrixIsBitIdenticalToEntryByEntrySums) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> xs(-3.0, 3.0), ys(-50.0, 50.0);
    for (size_t count : {size_t(40), size_t(30000)}) { // one core, and split over two
        std::vector<CXYdata> pairs(count);
        for (CXYdata& p : pairs)
            p = {xs(rng), ys(rng)};
        for (int order = 1; order <= 10; ++order) {
            SetPairs(pairs, 0, order);
            engine.m_pWorkX.clear();
            engine.m_pWorkY.clear();
            for (const CXYdata& p : pairs) {
                engine.m_pWorkX.push_back(p.m_dX);
                engine.m_pWorkY.push_back(p.m_dY);
            }
            engine.BuildNormalEquations();
            const test::ReferenceNormal ref =
                test::BuildReferenceNormal(engine.m_pWorkX, engine.m_pWorkY, order);
            for (int i = 0; i <= order; ++i) {
                for (int j = 0; j <= order; ++j)
                    EXPECT_EQ(std::memcmp(&engine.m_dNormal[i][j], &ref.normal[i][j], 8), 0)
                        << "order " << order << " entry " << i << "," << j;
                EXPECT_EQ(std::memcmp(&engine.m_dRhs[i], &ref.rhs[i], 8), 0)
                    << "order " << order << " rhs " << i;
            }
        }
    }
}

TEST_F(Fit, EqualXGiveASingularMatrix) {
    SetPairs({{1, 2}, {1, 3}});
    EXPECT_EQ(engine.RefitDocument(), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Matrix is Singular!\nCan't Fit the Curve");
    EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::Ok);
    EXPECT_EQ(doc.m_dCoef[0], 0.0);
    EXPECT_EQ(doc.m_dCoef[1], 0.0);
    EXPECT_EQ(doc.m_dPerformance, 0.0);
}

TEST_F(Fit, AZeroPivotWithANonZeroBelowIsExchangedNotSingular) {
    doc.m_nOrder = 1;
    engine.m_dNormal[0][0] = 0.0;
    engine.m_dNormal[0][1] = 1.0;
    engine.m_dNormal[1][0] = 1.0;
    engine.m_dNormal[1][1] = 0.0;
    engine.m_dRhs[0] = 2.0;
    engine.m_dRhs[1] = 3.0;
    ASSERT_EQ(engine.SolveNormalEquations(), 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.m_dCoef[0], 3.0);
    EXPECT_EQ(doc.m_dCoef[1], 2.0);
}

TEST_F(Fit, OrderTenUsesTheWholeStorage) {
    std::vector<CXYdata> pairs;
    for (int k = 0; k < 11; ++k) {
        const double x = k * 0.25 - 1.0;
        pairs.push_back({x, 1.0 + x - 2.0 * std::pow(x, 10)});
    }
    SetPairs(pairs, 0, 10);
    ASSERT_EQ(engine.RefitDocument(), 1);
    EXPECT_NEAR(doc.m_dCoef[0], -2.0, 1e-6);
    EXPECT_NEAR(doc.m_dCoef[9], 1.0, 1e-6);
    EXPECT_NEAR(doc.m_dCoef[10], 1.0, 1e-6);
    EXPECT_EQ(engine.m_dNormal[10][10], 11.0);
    double x20 = 0.0;
    for (const CXYdata& p : doc.m_pPairs)
        x20 += std::pow(p.m_dX, 20.0);
    EXPECT_EQ(engine.m_dNormal[0][0], x20);
    EXPECT_EQ(engine.m_dPowers[0][0], 20.0);
    EXPECT_EQ(engine.m_dRhsPowers[9], 1.0);
}

TEST_F(Fit, TooFewPointsLowerTheOrderOrFail) {
    SetPairs({{0, 1}, {1, 2}, {2, 5}}, 0, 3);
    EXPECT_EQ(engine.RefitDocument(), 1);
    EXPECT_EQ(
        ui.OnlyMessage(),
        "Must have a minimum of 4 data points to fit the curve!\nResetting curver order to 2!");
    EXPECT_EQ(doc.m_nOrder, 2);
    EXPECT_NEAR(doc.m_dCoef[0], 1.0, 1e-12);

    ui.messages.clear();
    SetPairs({{1, 2}}, 1, 3);
    doc.m_dCoef[3] = 9.0;
    EXPECT_EQ(engine.RefitDocument(), 0);
    EXPECT_EQ(ui.OnlyMessage(),
              "Must have a minimum of 4 data points to fit the curve!\nCan't Fit the Curve");
    EXPECT_EQ(doc.m_nOrder, 3);
    EXPECT_EQ(doc.m_dCoef[3], 0.0); // the coefficients of the current order are zeroed

    for (int type : {2, 3}) {
        ui.messages.clear();
        SetPairs({{1, 2}, {2, 3}}, type);
        EXPECT_EQ(engine.RefitDocument(), 0);
        EXPECT_EQ(ui.OnlyMessage(),
                  "Must have a minimum of 3 data points to fit the curve!\nCan't Fit the Curve");
        ui.messages.clear();
        SetPairs({{1, 2}, {2, 3}, {3, 5}}, type);
        EXPECT_EQ(engine.RefitDocument(), 1);
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST_F(Fit, LogLogOfAPowerLaw) {
    SetPairs({{1, 2}, {2, 4}, {4, 8}}, 1);
    ASSERT_EQ(engine.RefitDocument(), 1);
    EXPECT_EQ(doc.m_dXInt, 0.0);
    EXPECT_EQ(doc.m_dYInt, std::log10(2.0));
    EXPECT_NEAR(doc.m_dCoef[0], 1.0, 1e-12);
    EXPECT_NEAR(doc.m_dCoef[1], 0.0, 1e-12);
    EXPECT_NEAR(doc.m_pPairs[1].m_dComputed, 4.0, 1e-12);
    EXPECT_NEAR(doc.m_pPairs[2].m_dComputed, 8.0, 1e-12);
    EXPECT_NEAR(doc.m_pPairs[2].m_dDifference, 0.0, 1e-12);
    EXPECT_NEAR(doc.m_dPerformance, 1.0, 1e-12);
}

TEST_F(Fit, LogLogRefusesValuesAtOrBelowZero) {
    const std::string tail =
        "This will cause an error during Fitting!\n**  Can't Fit Log-Log Curve  **";
    SetPairs({{0, 1}, {1, -2}, {2, 3}}, 1);
    EXPECT_EQ(engine.RefitDocument(), 0);
    EXPECT_EQ(ui.OnlyMessage(), "Values in both X & Y arrays are <= 0.0!\n" + tail);
    ui.messages.clear();
    SetPairs({{1, 0}, {2, 2}, {3, 3}}, 1);
    EXPECT_EQ(engine.RefitDocument(), 0);
    EXPECT_EQ(ui.OnlyMessage(), "One or more values in Y array is <= 0.0!\n" + tail);
    ui.messages.clear();
    SetPairs({{-1, 1}, {2, 2}, {3, 3}}, 1);
    EXPECT_EQ(engine.RefitDocument(), 0);
    EXPECT_EQ(ui.OnlyMessage(), "One or more values in X array is <= 0.0!\n" + tail);
    EXPECT_EQ(doc.m_dCoef[0], 0.0);
}

TEST_F(Fit, SemilogModels) {
    const double e = std::exp(1.0);
    SetPairs({{0, 1}, {1, e}, {2, e * e}}, 2);
    ASSERT_EQ(engine.RefitDocument(), 1);
    EXPECT_NEAR(doc.m_dCoef[0], 1.0, 1e-12);
    EXPECT_NEAR(doc.m_dCoef[1], 1.0, 1e-12);
    EXPECT_NEAR(doc.m_pPairs[2].m_dComputed, e * e, 1e-12);

    // X = A e^(BY): computed values and differences are X values, the sum is over X.
    SetPairs({{1, 0}, {e, 1}, {e * e, 2.5}}, 3);
    ASSERT_EQ(engine.RefitDocument(), 1);
    double sum = 0;
    for (const CXYdata& p : doc.m_pPairs) {
        EXPECT_DOUBLE_EQ(p.m_dComputed, doc.m_dCoef[0] * std::exp(doc.m_dCoef[1] * p.m_dY));
        EXPECT_EQ(p.m_dDifference, p.m_dX - p.m_dComputed);
        sum += std::fabs(p.m_dDifference);
    }
    EXPECT_EQ(doc.m_dSumAbsDiff, sum);
    EXPECT_GT(sum, 0.01);
}

TEST_F(Fit, SemilogRefusesTheLogarithmOfValuesAtOrBelowZero) {
    const std::string tail =
        "This will cause an error during Fitting!\n**  Can't Fit Semilog Curve  **";
    SetPairs({{0, 1}, {1, 0}, {2, 3}}, 2);
    EXPECT_EQ(engine.RefitDocument(), 0);
    EXPECT_EQ(ui.OnlyMessage(), "One or more values in Y array is <= 0.0!\n" + tail);
    ui.messages.clear();
    SetPairs({{-1, 1}, {1, 2}, {2, 3}}, 3);
    EXPECT_EQ(engine.RefitDocument(), 0);
    EXPECT_EQ(ui.OnlyMessage(), "One or more values in X array is <= 0.0!\n" + tail);
    EXPECT_EQ(doc.m_dCoef[0], 0.0);
    EXPECT_EQ(doc.m_dCoef[1], 0.0);
    // A line through equal values of its variable has no slope to find.
    ui.messages.clear();
    SetPairs({{2, 1}, {2, 2}, {2, 3}}, 2);
    EXPECT_EQ(engine.RefitDocument(), 0);
    EXPECT_EQ(ui.OnlyMessage(), "A curve with 2 coefficients needs 2 different X values; the data "
                                "hold 1.\nCan't Fit the Curve");
}

TEST_F(Fit, PerformanceWhenAllMeasuredValuesAreEqual) {
    for (int type : {0, 1, 2}) {
        SetPairs({{1, 5}, {2, 5}, {4, 5}}, type);
        ASSERT_EQ(engine.RefitDocument(), 1);
        EXPECT_LT(doc.m_dSumAbsDiff, 1e-12);
        EXPECT_EQ(doc.m_dPerformance, 1.0) << type;
    }
    SetPairs({{5, 1}, {5, 2}, {5, 4}}, 3);
    ASSERT_EQ(engine.RefitDocument(), 1);
    EXPECT_EQ(doc.m_dPerformance, 1.0);
}

// Overflow on the way to a result leaves inf or nan; such a fit is refused, stores nothing in
// the pairs and leaves zeros where the report and the file would show its numbers.
TEST_F(Fit, AResultThatIsNotFiniteIsRefused) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<CXYdata> huge10;
    for (int k = 1; k <= 11; ++k)
        huge10.push_back({k * 1e20, double(k)});
    struct Case {
        const char* what;
        std::vector<CXYdata> pairs;
        int type;
        int order;
    } cases[] = {
        {"X squared beyond the range", {{1e308, 1}, {-1e308, 2}, {0, 3}}, 0, 1},
        {"order 10 on values of 1e20", huge10, 0, 10},
        {"an infinite Y", {{0, 1}, {1, inf}, {2, 3}}, 0, 1},
        {"a nan X", {{0, 1}, {nan, 2}, {2, 3}}, 0, 2},
        {"log-log of an infinite X", {{1, 1}, {inf, 2}, {4, 3}}, 1, 1},
        {"semilog over X of 1e300", {{1e300, 1}, {2e300, 2}, {3e300, 3}}, 2, 1},
        {"semilog X=Ae^BY over an infinite Y", {{1, 1}, {2, inf}, {3, 3}}, 3, 1},
    };
    for (const Case& c : cases) {
        SetPairs(c.pairs, c.type, c.order);
        for (CXYdata& p : doc.m_pPairs)
            p.m_dComputed = p.m_dDifference = 7.0; // from an earlier fit
        doc.m_dXInt = doc.m_dYInt = 7.0;
        ui.messages.clear();
        EXPECT_EQ(engine.RefitDocument(), 0) << c.what;
        EXPECT_EQ(ui.OnlyMessage(), "The data or the fitted curve hold numbers too large to "
                                    "compute with!\nCan't Fit the Curve")
            << c.what;
        for (int k = 0; k <= c.order; ++k)
            EXPECT_EQ(doc.m_dCoef[k], 0.0) << c.what << " C[" << k + 1 << "]";
        EXPECT_EQ(doc.m_dSumAbsDiff, 0.0) << c.what;
        EXPECT_EQ(doc.m_dPerformance, 0.0) << c.what;
        for (const CXYdata& p : doc.m_pPairs) {
            EXPECT_EQ(p.m_dComputed, 7.0) << c.what;
            EXPECT_EQ(p.m_dDifference, 7.0) << c.what;
        }
        EXPECT_EQ(doc.m_bFitting, 0);
    }
}

// A failed fit zeroes the coefficients and statistics but leaves XINT and YINT as the model
// left them, and says why it failed.
TEST_F(Fit, AFailedFitKeepsXintAndYintAndNotesWhy) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        std::vector<CXYdata> pairs;
        int type;
        double xint, yint;
        std::string reason;
    } cases[] = {
        {"one pair",
         {{1, 2}},
         0,
         7.0,
         7.0,
         "Must have a minimum of 2 data points to fit the curve!"},
        {"two pairs for a semilog",
         {{1, 2}, {2, 3}},
         2,
         7.0,
         7.0,
         "Must have a minimum of 3 data points to fit the curve!"},
        {"a zero X for log-log",
         {{0, 2}, {2, 3}, {3, 4}},
         1,
         7.0,
         7.0,
         "One or more values in X array is <= 0.0!"},
        {"equal X", {{1, 2}, {1, 3}}, 0, 7.0, 7.0, "Matrix is Singular!"},
        // Log-log sets them from the smallest values before the infinite X defeats it.
        {"log-log of an infinite X",
         {{1, 10}, {inf, 100}, {4, 1000}},
         1,
         0.0,
         1.0,
         "The data or the fitted curve hold numbers too large to compute with!"},
    };
    for (const Case& c : cases) {
        SetPairs(c.pairs, c.type);
        doc.m_dXInt = doc.m_dYInt = 7.0; // from an earlier fit
        ui.messages.clear();
        EXPECT_EQ(engine.RefitDocument(), 0) << c.what;
        EXPECT_EQ(doc.m_dXInt, c.xint) << c.what;
        EXPECT_EQ(doc.m_dYInt, c.yint) << c.what;
        EXPECT_EQ(doc.m_strFitFailure, c.reason) << c.what;
        EXPECT_EQ(ui.messages.size(), 1u) << c.what;
    }
    SetPairs({{1, 2}, {2, 4}, {4, 8}}, 1);
    ASSERT_EQ(engine.RefitDocument(), 1);
    EXPECT_EQ(doc.m_strFitFailure, "");
}

// Constant measured values make the coefficient 0/0; rounding in the sums used to give 1, 0,
// 0.3333 or 0.5 by chance. It is 1 for every such set, whatever the values and the model.
TEST_F(Fit, EqualMeasuredValuesGiveACoefficientOfOne) {
    for (double v : {0.1, 1.1, 3.3, 2.675, 1e-7, 123456.789, 7.0}) {
        for (int n : {2, 3, 5, 7}) {
            for (int type : {0, 1, 2}) {
                std::vector<CXYdata> pairs;
                for (int k = 0; k < n; ++k)
                    pairs.push_back({1.0 + k, v});
                SetPairs(pairs, type);
                if (type == 2 && n < 3)
                    continue;
                ASSERT_EQ(engine.RefitDocument(), 1) << v << " " << n << " " << type;
                EXPECT_EQ(doc.m_dPerformance, 1.0) << v << " " << n << " " << type;
            }
            std::vector<CXYdata> pairs;
            for (int k = 0; k < std::max(n, 3); ++k)
                pairs.push_back({v, 1.0 + k});
            SetPairs(pairs, 3);
            ASSERT_EQ(engine.RefitDocument(), 1) << v << " " << n;
            EXPECT_EQ(doc.m_dPerformance, 1.0) << v << " " << n;
        }
    }
    SetPairs({});
    EXPECT_FALSE(MeasuredValuesAllEqual(doc));
    SetPairs({{1, 2}, {2, 2}, {3, 2.0000000000000004}});
    EXPECT_FALSE(MeasuredValuesAllEqual(doc));
}

// X of 1e150 squared is 1e300, still a number: such data fits.
TEST_F(Fit, HugeValuesWhosePowersStayInRangeFit) {
    SetPairs({{1e150, 1}, {2e150, 3}, {3e150, 5}});
    ASSERT_EQ(engine.RefitDocument(), 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_NEAR(doc.m_dCoef[0] * 1e150, 2.0, 1e-9);
    EXPECT_NEAR(doc.m_dCoef[1], -1.0, 1e-6);
}

TEST_F(Fit, AnUnknownCurveTypeIsRefused) {
    SetPairs({{0, 1}, {1, 2}, {2, 3}}, 7);
    EXPECT_EQ(engine.RefitDocument(), 0);
    EXPECT_EQ(ui.OnlyMessage(),
              "Curve type 7 is not one this application fits!\nCan't Fit the Curve");
}

TEST_F(Fit, WellConditionedNistSetsMatchTheirCertifiedValues) {
    SetPairs(test::ReadNistPairs(LUMETRA_SOURCE_DIR "/tests/data/nist/Norris.csv"), 0, 1);
    ASSERT_EQ(doc.m_nPairs, 36);
    ASSERT_EQ(engine.RefitDocument(), 1);
    EXPECT_NEAR(doc.m_dCoef[0], 1.00211681802045, 1e-12);
    EXPECT_NEAR(doc.m_dCoef[1], -0.262323073774029, 1e-10);

    SetPairs(test::ReadNistPairs(LUMETRA_SOURCE_DIR "/tests/data/nist/Pontius.csv"), 0, 2);
    ASSERT_EQ(doc.m_nPairs, 40);
    ASSERT_EQ(engine.RefitDocument(), 1);
    EXPECT_NEAR(doc.m_dCoef[0] / -0.316081871345029e-14, 1.0, 1e-6);
    EXPECT_NEAR(doc.m_dCoef[1] / 0.732059160401003e-06, 1.0, 1e-8);
    EXPECT_NEAR(doc.m_dCoef[2] / 0.673565789473684e-03, 1.0, 1e-8);
}

TEST_F(Fit, TwoRunsGiveTheSameBits) {
    SetPairs(test::ReadNistPairs(LUMETRA_SOURCE_DIR "/tests/data/nist/Filip.csv"), 0, 10);
    ASSERT_EQ(doc.m_nPairs, 82);
    engine.RefitDocument();
    double first[kMaxCoefs];
    std::memcpy(first, doc.m_dCoef, sizeof first);
    const double perf = doc.m_dPerformance;
    engine.RefitDocument();
    EXPECT_EQ(std::memcmp(first, doc.m_dCoef, sizeof first), 0);
    EXPECT_EQ(std::memcmp(&perf, &doc.m_dPerformance, sizeof perf), 0);
}

} // namespace
} // namespace lumetra
