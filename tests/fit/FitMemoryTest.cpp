// A fit that cannot have its memory, or whose message box throws, ends as a failed fit with
// every flag, the cursor and the work arrays put back.
#include "fit/FitEngine.h"
#include "support/DocTest.h"
#include "support/FailLargeAllocations.h"
#include "support/RecordingUi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace lumetra {
namespace {

constexpr int kPairs = 1000;          // 8000 bytes in every array of the pair count
constexpr size_t kLarge = kPairs * 4; // the allocations that fail
constexpr double kEarlier = 7.0;      // per-pair values of an earlier fit

struct FitMemory : test::DocTest {
    CFitEngine engine{doc};

    void SetPairs(int type, int order) {
        doc.OnNewDocument();
        doc.m_pPairs.resize(kPairs);
        for (int k = 0; k < kPairs; ++k) {
            const double x = 0.5 + k * 0.01;
            doc.m_pPairs[size_t(k)] = {x, 2.0 * std::exp(0.3 * x), kEarlier, kEarlier};
        }
        doc.m_nPairs = kPairs;
        doc.m_nCurveType = type;
        doc.m_nOrder = order;
        ui.messages.clear();
    }
    void ExpectPutBack(const std::string& what) {
        EXPECT_EQ(doc.m_bFitting, 0) << what;
        EXPECT_EQ(ui.waitDepth, 0) << what;
        EXPECT_EQ(engine.m_pWorkX.capacity(), 0u) << what;
        EXPECT_EQ(engine.m_pWorkY.capacity(), 0u) << what;
    }
};

TEST_F(FitMemory, EveryAllocationOfEveryModelMayFail) {
    for (int type : {0, 1, 2, 3}) {
        const int order = type < 2 ? 3 : 1;
        SetPairs(type, order);
        ASSERT_EQ(engine.RefitDocument(), 1);
        const double c1 = doc.m_dCoef[0], perf = doc.m_dPerformance;

        int failures = 0;
        for (int granted = 0;; ++granted) {
            SetPairs(type, order);
            const std::string what =
                "type " + std::to_string(type) + ", allocation " + std::to_string(granted + 1);
            int ok = 0;
            {
                test::FailLargeAllocations fail(kLarge, granted);
                ok = engine.RefitDocument();
            }
            ExpectPutBack(what);
            if (ok)
                break;
            ++failures;
            EXPECT_EQ(ui.OnlyMessage(), "Out of Memory!\nSHUT DOWN APPLICATION NOW!") << what;
            for (int k = 0; k <= order; ++k)
                EXPECT_EQ(doc.m_dCoef[k], 0.0) << what;
            EXPECT_EQ(doc.m_dPerformance, 0.0) << what;
            EXPECT_EQ(doc.m_nOrder, order) << what;
            EXPECT_EQ(doc.m_pPairs[5].m_dComputed, kEarlier) << what;
            EXPECT_EQ(doc.m_pPairs[5].m_dDifference, kEarlier) << what;
            ASSERT_LT(granted, 10) << what;
        }
        // The two work arrays, the computed values and, for the log-log model its H array, for
        // the semilog models the logarithms the factorization takes.
        EXPECT_EQ(failures, type == 0 ? 3 : 4) << type;
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(doc.m_dCoef[0], c1);
        EXPECT_EQ(doc.m_dPerformance, perf);
    }
}

// Whatever leaves the fit early, a message box that throws included, puts everything back.
TEST_F(FitMemory, AnExceptionOnTheWayOutStillPutsEverythingBack) {
    struct ThrowingUi : test::RecordingUi {
        Answer MessageBox(const std::string& text, Buttons buttons, Icon icon) override {
            RecordingUi::MessageBox(text, buttons, icon);
            throw std::runtime_error("the box failed");
        }
    } throwing;
    CLumetraDoc other{throwing, settings};
    CFitEngine otherEngine{other};
    other.m_pPairs = {{1, 2}, {1, 3}, {1, 4}}; // equal X: the singular-matrix message
    other.m_nPairs = 3;
    EXPECT_THROW(otherEngine.RefitDocument(), std::runtime_error);
    ASSERT_EQ(throwing.messages.size(), 1u);
    EXPECT_EQ(throwing.messages[0].text, "Matrix is Singular!\nCan't Fit the Curve");
    EXPECT_EQ(other.m_bFitting, 0);
    EXPECT_EQ(throwing.waitDepth, 0);
    EXPECT_EQ(otherEngine.m_pWorkX.capacity(), 0u);
    EXPECT_EQ(otherEngine.m_pWorkY.capacity(), 0u);
}

} // namespace
} // namespace lumetra
