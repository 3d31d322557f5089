// A pair excluded from the fit counts in no number derived from it: the fit, its weights, its
// statistics and influence are those of the set without it, while its own row still shows the
// curve at its input.
#include "fit/FitEngine.h"
#include "fit/FitStatistics.h"
#include "fit/Influence.h"
#include "support/DocTest.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

namespace lumetra {
namespace {

bool SameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// Nine readings of a gently curved calibration, the input far from zero (years), one reading
// (the fifth) well off the curve.
std::vector<CXYdata> Readings(bool withSigma) {
    std::vector<CXYdata> pairs;
    for (int k = 0; k < 9; ++k) {
        const double x = 2016.0 + k;
        const double y =
            3.0 + 0.8 * k + 0.05 * k * k + 0.02 * std::sin(2.1 * k) + (k == 4 ? 1.5 : 0);
        pairs.push_back({x, y, 0.0, 0.0, withSigma ? 0.01 * (1 + k % 3) : 0.0});
    }
    return pairs;
}

struct ExcludedPairs : test::DocTest {
    test::RecordingUi otherUi;
    CLumetraDoc without{otherUi, settings};

    void Fill(CLumetraDoc& d, std::vector<CXYdata> pairs, int type, int order,
              WeightScheme weights) {
        test::FillPairs(d, std::move(pairs), type, order);
        d.m_eWeights = weights;
    }
};

TEST_F(ExcludedPairs, TheFitIsThatOfTheSetWithoutThePair) {
    struct Case {
        int type, order;
        WeightScheme weights;
    } cases[] = {{0, 2, WeightScheme::None},
                 {0, 1, WeightScheme::Sigma},
                 {1, 2, WeightScheme::None},
                 {2, 1, WeightScheme::InverseY}};
    const size_t out = 4;
    for (const Case& c : cases) {
        const std::string what = "type " + std::to_string(c.type);
        std::vector<CXYdata> all = Readings(c.weights == WeightScheme::Sigma);
        all[out].m_bExcluded = true;
        std::vector<CXYdata> rest = all;
        rest.erase(rest.begin() + out);
        Fill(doc, all, c.type, c.order, c.weights);
        Fill(without, rest, c.type, c.order, c.weights);
        ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1) << what;
        ASSERT_EQ(CFitEngine(without).RefitDocument(), 1) << what;
        for (int i = 0; i <= c.order; ++i)
            EXPECT_TRUE(SameBits(doc.m_dCoef[i], without.m_dCoef[i])) << what << " C" << i;
        EXPECT_TRUE(SameBits(doc.m_dPerformance, without.m_dPerformance)) << what;
        EXPECT_TRUE(SameBits(doc.m_dSumAbsDiff, without.m_dSumAbsDiff)) << what;
        for (size_t k = 0; k < rest.size(); ++k)
            EXPECT_TRUE(SameBits(doc.m_pPairs[k < out ? k : k + 1].m_dDifference,
                                 without.m_pPairs[k].m_dDifference))
                << what << " pair " << k;

        const StatisticsOutcome with = DocumentStatistics(doc, kDefaultLevel);
        const StatisticsOutcome ref = DocumentStatistics(without, kDefaultLevel);
        ASSERT_TRUE(with.stats && ref.stats) << what << with.failure;
        EXPECT_EQ(with.stats->n, 8) << what;
        EXPECT_EQ(with.stats->dof, 8 - (c.order + 1)) << what;
        EXPECT_TRUE(SameBits(*with.stats->residualStdDev, *ref.stats->residualStdDev)) << what;
        EXPECT_TRUE(SameBits(with.stats->sse, ref.stats->sse)) << what;
        EXPECT_EQ(with.stats->pearsonResiduals.size(), ref.stats->pearsonResiduals.size());

        // The influence table names the fitted pairs by their place in the whole set.
        const std::shared_ptr<const InfluenceOutcome> influence = DocumentInfluence(doc);
        ASSERT_TRUE(influence->table) << what << influence->failure;
        ASSERT_EQ(influence->table->pairs.size(), 8u) << what;
        for (size_t k = 0; k < 8; ++k)
            EXPECT_EQ(influence->table->pairs[k].pair, k < out ? k : k + 1) << what;
        EXPECT_EQ(influence->table->n, 8) << what;
    }
}

// The excluded pair's row holds the curve at its X and how far its Y lies from it.
TEST_F(ExcludedPairs, TheExcludedRowShowsItsDistanceFromTheCurve) {
    std::vector<CXYdata> pairs = Readings(false);
    pairs[4].m_bExcluded = true;
    Fill(doc, pairs, 0, 1, WeightScheme::None);
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    const CXYdata& p = doc.m_pPairs[4];
    const double curve = doc.m_dCoef[0] * p.m_dX + doc.m_dCoef[1];
    EXPECT_NEAR(p.m_dComputed, curve, 1e-12 * std::fabs(curve));
    EXPECT_EQ(p.m_dDifference, p.m_dY - p.m_dComputed);
    EXPECT_GT(p.m_dDifference, 1.0);
}

// A weight that cannot be had names the pair by its number in the whole set.
TEST_F(ExcludedPairs, AWeightFailureNamesThePairInTheWholeSet) {
    std::vector<CXYdata> pairs = Readings(true);
    pairs[1].m_bExcluded = true;
    pairs[3].m_dSigma = 0.0;
    Fill(doc, pairs, 0, 1, WeightScheme::Sigma);
    EXPECT_EQ(CFitEngine(doc).RefitDocument(), 0);
    EXPECT_EQ(ui.OnlyMessage(), "The weighting \"Standard deviations\" needs a standard deviation "
                                "on every pair: pair 4 has none.\nCan't Fit the Curve");
}

// Too few pairs left in the fit is told as too few pairs are.
TEST_F(ExcludedPairs, TooFewIncludedPairsAreRefusedAsTooFewPairs) {
    struct Case {
        int type, order;
        const char* message;
        int orderAfter;
    } cases[] = {
        {0, 2,
         "Must have a minimum of 3 data points to fit the curve!\nResetting curver order to 1!", 1},
        {2, 1, "Must have a minimum of 3 data points to fit the curve!\nCan't Fit the Curve", 1},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        Fill(doc, {{1, 2}, {2, 3}, {3, 5, 0, 0, 0, true}}, c.type, c.order, WeightScheme::None);
        const int ok = CFitEngine(doc).RefitDocument();
        EXPECT_EQ(ui.messages.front().text, c.message);
        EXPECT_EQ(doc.m_nOrder, c.orderAfter);
        if (c.type == 0) {
            EXPECT_EQ(ok, 1);
            EXPECT_NEAR(doc.m_dCoef[0], 1.0, 1e-12); // the line through the two left
        }
    }
}

} // namespace
} // namespace lumetra
