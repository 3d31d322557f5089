// The fit split over 1, 2, 3 and 8 parts gives the bits of one thread.
#include "fit/FitEngine.h"
#include "platform/WorkSplit.h"
#include "support/DocTest.h"
#include "support/ReferenceFit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace lumetra {
namespace {

// Enough pairs that every part count up to 8 is worth its threads.
constexpr size_t kPairs = 90000;

std::vector<CXYdata> RandomPairs(bool positive) {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> xs(positive ? 0.1 : -3.0, 3.0), noise(0.9, 1.1);
    std::vector<CXYdata> pairs(kPairs);
    for (CXYdata& p : pairs) {
        p.m_dX = xs(rng);
        p.m_dY = (1.0 + p.m_dX * p.m_dX) * noise(rng);
    }
    return pairs;
}

bool SameBits(const double* a, const double* b, size_t n) {
    return std::memcmp(a, b, n * sizeof(double)) == 0;
}

struct FitParts : test::DocTest {

    // The whole fit at the given part count: coefficients, statistics and per-pair values.
    struct Outcome {
        double coef[kMaxCoefs];
        double performance, sumAbsDiff;
        std::vector<CXYdata> pairs;
    };
    Outcome Fit(const std::vector<CXYdata>& pairs, int type, int order, int parts) {
        const WorkPartsOverride split(parts);
        doc.OnNewDocument();
        doc.m_pPairs = pairs;
        doc.m_nPairs = int(pairs.size());
        doc.m_nCurveType = type;
        doc.m_nOrder = order;
        CFitEngine engine(doc);
        EXPECT_EQ(engine.RefitDocument(), 1);
        Outcome o;
        std::memcpy(o.coef, doc.m_dCoef, sizeof o.coef);
        o.performance = doc.m_dPerformance;
        o.sumAbsDiff = doc.m_dSumAbsDiff;
        o.pairs = doc.m_pPairs;
        return o;
    }
};

TEST_F(FitParts, TheNormalEquationsAreTheEntryByEntrySumsForAnyPartCount) {
    const std::vector<CXYdata> pairs = RandomPairs(false);
    std::vector<double> x, y;
    for (const CXYdata& p : pairs) {
        x.push_back(p.m_dX);
        y.push_back(p.m_dY);
    }
    for (int order : {1, 4, 10}) {
        const test::ReferenceNormal ref = test::BuildReferenceNormal(x, y, order);
        for (int parts : {1, 2, 3, 8}) {
            const WorkPartsOverride split(parts);
            doc.m_nOrder = order;
            CFitEngine engine(doc);
            engine.m_pWorkX = x;
            engine.m_pWorkY = y;
            engine.BuildNormalEquations();
            for (int i = 0; i <= order; ++i) {
                EXPECT_TRUE(SameBits(engine.m_dNormal[i], ref.normal[i], size_t(order) + 1))
                    << "order " << order << ", " << parts << " parts, row " << i;
                EXPECT_TRUE(SameBits(&engine.m_dRhs[i], &ref.rhs[i], 1))
                    << "order " << order << ", " << parts << " parts, rhs " << i;
            }
        }
    }
}

TEST_F(FitParts, EveryModelGivesTheBitsOfOneThread) {
    struct Case {
        int type, order;
        bool positive;
    } cases[] = {{0, 10, false}, {0, 3, false}, {1, 6, true}, {2, 1, true}, {3, 1, true}};
    for (const Case& c : cases) {
        const std::vector<CXYdata> pairs = RandomPairs(c.positive);
        const Outcome one = Fit(pairs, c.type, c.order, 1);
        for (int parts : {2, 3, 8}) {
            const Outcome split = Fit(pairs, c.type, c.order, parts);
            EXPECT_TRUE(SameBits(one.coef, split.coef, kMaxCoefs))
                << "type " << c.type << ", " << parts << " parts";
            EXPECT_TRUE(SameBits(&one.performance, &split.performance, 1));
            EXPECT_TRUE(SameBits(&one.sumAbsDiff, &split.sumAbsDiff, 1));
            ASSERT_EQ(split.pairs.size(), kPairs);
            EXPECT_EQ(std::memcmp(one.pairs.data(), split.pairs.data(), kPairs * sizeof(CXYdata)),
                      0)
                << "type " << c.type << ", " << parts << " parts";
        }
    }
}

} // namespace
} // namespace lumetra
