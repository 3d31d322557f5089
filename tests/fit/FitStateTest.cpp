// The fit state: the same bits for any core count and for weights of one, and the centred
// variable it keeps.
#include "fit/FitState.h"
#include "platform/WorkSplit.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace lumetra {
namespace {

// Values compared as numbers: a long double's padding bytes are no part of it.
void ExpectSameState(const FitState& a, const FitState& b, const std::string& what) {
    EXPECT_EQ(a.rank, b.rank) << what;
    EXPECT_EQ(a.centre, b.centre) << what;
    EXPECT_EQ(a.half, b.half) << what;
    EXPECT_EQ(a.sse, b.sse) << what;
    EXPECT_EQ(a.sst, b.sst) << what;
    EXPECT_EQ(a.condition, b.condition) << what;
    for (int i = 0; i < a.Coefs(); ++i) {
        EXPECT_TRUE(a.b[i] == b.b[i]) << what << " b[" << i << "]";
        for (int j = 0; j < a.Coefs(); ++j)
            EXPECT_EQ(a.r[i][j], b.r[i][j]) << what << " r[" << i << "][" << j << "]";
    }
}

// Three chunks of pairs about a cubic far from zero, and a short set that needs the binary128
// step (years at order 6).
struct Columns {
    std::vector<double> x, y;
};

Columns ManyPairs() {
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> xs(1990.0, 2030.0), noise(-0.5, 0.5);
    Columns c;
    for (int k = 0; k < 150000; ++k) {
        const double x = xs(rng), d = x - 2010.0;
        c.x.push_back(x);
        c.y.push_back(10.0 + d - 0.02 * d * d * d + noise(rng));
    }
    return c;
}

TEST(FitState, GivesTheBitsOfOneThreadForAnyPartCount) {
    const Columns c = ManyPairs();
    for (int degree : {3, 10}) {
        FitState one;
        {
            const WorkPartsOverride split(1);
            one = BuildFitState(c.x, c.y, {}, degree);
        }
        ASSERT_TRUE(one.Solved());
        for (int parts : {2, 3, 8}) {
            const WorkPartsOverride split(parts);
            ExpectSameState(one, BuildFitState(c.x, c.y, {}, degree),
                            "degree " + std::to_string(degree) + ", " + std::to_string(parts) +
                                " parts");
        }
    }
}

TEST(FitState, WeightsOfOneGiveTheBitsOfNone) {
    const Columns c = ManyPairs();
    const std::vector<double> ones(c.x.size(), 1.0);
    for (int degree : {1, 6})
        ExpectSameState(BuildFitState(c.x, c.y, {}, degree), BuildFitState(c.x, c.y, ones, degree),
                        "degree " + std::to_string(degree));
}

// The centre has few bits and the half-width is a power of two, so u of every pair is exact.
TEST(FitState, CentresAndScalesTheInputExactly) {
    const std::vector<double> years = {2000, 2001, 2002, 2003, 2025};
    const std::vector<double> v = {1, 2, 4, 3, 5};
    const FitState s = BuildFitState(years, v, {}, 1);
    EXPECT_EQ(s.centre, 2012.5);
    EXPECT_EQ(s.half, 16.0);
    EXPECT_EQ(s.U(2025.0), 0.78125L);
    EXPECT_EQ(s.low, 2000.0);
    EXPECT_EQ(s.high, 2025.0);
    // Equal inputs leave the design of a line without rank.
    const std::vector<double> same = {3, 3, 3};
    const FitState flat = BuildFitState(same, std::vector<double>{1, 2, 3}, {}, 1);
    EXPECT_FALSE(flat.Solved());
    EXPECT_EQ(DistinctValues(same, 2), 1);
    EXPECT_FALSE(
        BuildFitState(std::vector<double>{1, 2, 3}, std::vector<double>{1, std::nan(""), 3}, {}, 1)
            .Solved());
}

// Constant values are the constant exactly; a tight fit keeps its tiny residuals.
TEST(FitState, ConstantAndTightDataKeepTheirSums) {
    const std::vector<double> x = {1, 2, 3, 4, 5, 6};
    const FitState constant = BuildFitState(x, std::vector<double>(6, 5.25), {}, 2);
    EXPECT_TRUE(constant.constant);
    EXPECT_TRUE(constant.b[0] == 5.25);
    EXPECT_TRUE(constant.b[1] == 0 && constant.b[2] == 0);
    EXPECT_EQ(constant.sse, 0.0L);
    EXPECT_EQ(constant.sst, 0.0L);
    // y = 1e6 + x + e with e = ∓2⁻¹⁰ alternately (all exact in doubles): the line leaves
    // SSE = Σe² − (Σ(x − 3.5)·e)² / Σ(x − 3.5)² = 6·2⁻²⁰ − (3·2⁻¹⁰)² / 17.5, a part in 1e18 of Σy².
    const double e = std::ldexp(1.0, -10);
    std::vector<double> y;
    for (size_t k = 0; k < x.size(); ++k)
        y.push_back(1e6 + x[k] + (k % 2 ? e : -e));
    const FitState tight = BuildFitState(x, y, {}, 1);
    const long double exact = 6.0L * e * e - 9.0L * e * e / 17.5L;
    EXPECT_NEAR(double(tight.sse / exact), 1.0, 1e-9);
}

} // namespace
} // namespace lumetra
