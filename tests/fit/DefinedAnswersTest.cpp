// What the fit says where the data decide nothing, and the offer to refit with the accurate
// method.
#include "fit/Calibration.h"
#include "fit/FitEngine.h"
#include "platform/MemorySettingsStore.h"
#include "support/RecordingUi.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumetra {
namespace {

struct Answers : ::testing::Test {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc{ui, settings};

    int Fit(const std::vector<CXYdata>& pairs, int type, int order, FitMethod method) {
        doc.OnNewDocument();
        doc.m_pPairs = pairs;
        doc.m_nPairs = int(pairs.size());
        doc.m_nCurveType = type;
        doc.m_nOrder = order;
        doc.m_eFitMethod = method;
        ui.messages.clear();
        return CFitEngine(doc).RefitDocument();
    }
};

std::vector<CXYdata> Years(int degree) {
    std::vector<CXYdata> pairs;
    for (int year = 2000; year <= 2025; ++year) {
        const double d = year - 2000;
        pairs.push_back({double(year), 50 + 2 * d + std::pow(-0.05, degree) * std::pow(d, degree) +
                                           0.5 * std::sin(1.7 * d)});
    }
    return pairs;
}

// Every model: the slope of equal measured values is not testable, and the words say so.
TEST_F(Answers, ConstantMeasuredValuesLeaveTheSlopeUntestable) {
    const std::vector<CXYdata> rising = {{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}};
    std::vector<CXYdata> swapped;
    for (const CXYdata& p : rising)
        swapped.push_back({p.m_dY, p.m_dX});
    struct Case {
        int type;
        const std::vector<CXYdata>& pairs;
        size_t slope; // the row of the slope in the statistics
    } cases[] = {{0, rising, 0}, {1, rising, 0}, {2, rising, 1}, {3, swapped, 1}};
    for (const Case& c : cases)
        for (FitMethod method : {FitMethod::Classic, FitMethod::Accurate}) {
            ASSERT_EQ(Fit(c.pairs, c.type, 1, method), 1) << c.type;
            const StatisticsOutcome outcome = DocumentStatistics(doc, kDefaultLevel);
            ASSERT_TRUE(outcome.stats) << c.type;
            const CoefficientStatistics& slope = outcome.stats->coefficients[c.slope];
            EXPECT_EQ(slope.estimate, 0.0) << c.type;
            EXPECT_FALSE(slope.t || slope.p || slope.ciLow || slope.ciHigh) << c.type;
            EXPECT_EQ(outcome.stats->notes, std::vector<std::string>{kConstantNote}) << c.type;
        }
}

// A flat curve answers once in words, never with a list of grid points.
TEST_F(Answers, AFlatCurveCalibratesInWords) {
    std::vector<CXYdata> pairs;
    for (int x = 1; x <= 8; ++x)
        pairs.push_back({double(x), 5.25});
    ASSERT_EQ(Fit(pairs, 0, 2, FitMethod::Accurate), 1);
    FittedCurve curve = *DocumentCurve(doc).curve;
    const Calibration every = Calibrate(curve, 5.25, {});
    EXPECT_TRUE(every.estimates.empty());
    EXPECT_EQ(every.message, "Every X from 1 to 8 gives Y = 5.25 on the fitted curve.");
    const Calibration none = Calibrate(curve, 6.0, {});
    EXPECT_TRUE(none.estimates.empty());
    EXPECT_EQ(none.message,
              "No X from 1 to 8 gives Y = 6 on the fitted curve: it is flat at Y = 5.25.");
    // X=Ae^BY of a constant X: every Y gives it.
    for (CXYdata& p : pairs)
        std::swap(p.m_dX, p.m_dY);
    ASSERT_EQ(Fit(pairs, 3, 1, FitMethod::Classic), 1);
    curve = *DocumentCurve(doc).curve;
    EXPECT_EQ(Calibrate(curve, 5.25, {}).message,
              "Every Y from 1 to 8 gives X = 5.25 on the fitted curve.");
}

// ln(A) = 1000: A is no double. The message names the cause and the remedy.
TEST_F(Answers, ACoefficientBeyondDoublesSaysToShiftTheInput) {
    std::vector<CXYdata> pairs;
    for (int k = 0; k < 5; ++k) {
        const double x = 9990.0 + 5.0 * k;
        pairs.push_back({x, std::exp(1000.0 - 0.1 * x) * (1.0 + 0.01 * std::sin(k))});
    }
    for (FitMethod method : {FitMethod::Classic, FitMethod::Accurate}) {
        EXPECT_EQ(Fit(pairs, 2, 1, method), 0);
        EXPECT_EQ(ui.OnlyMessage(), "C[1] of the fitted curve lies beyond the range of numbers.\n"
                                    "Shift X (subtract a value near its mean from every X) and "
                                    "fit again.\nCan't Fit the Curve");
    }
}

// Fewer different inputs than coefficients: refused with the count, by the accurate method.
TEST_F(Answers, TooFewDifferentInputsAreCounted) {
    EXPECT_EQ(Fit({{1, 1}, {1, 2}, {2, 3}, {2, 5}, {3, 4}, {3, 6}}, 0, 3, FitMethod::Accurate), 0);
    EXPECT_EQ(ui.OnlyMessage(), "A curve with 4 coefficients needs 4 different X values; the "
                                "data hold 3.\nCan't Fit the Curve");
    EXPECT_EQ(doc.m_strFitFailure, "A curve with 4 coefficients needs 4 different X values; the "
                                   "data hold 3.");
}

// A line through X = 1e9 ... 1e9 + 4 is singular only in raw powers (Σx² swallows Σx): the
// accurate method fits it, and the classic refusal offers it; both answers to the offer.
TEST_F(Answers, SingularNormalEquationsOfferTheAccurateMethod) {
    std::vector<CXYdata> pairs;
    for (int k = 0; k < 5; ++k)
        pairs.push_back({1e9 + k, 3 + 0.5 * k + 0.01 * std::sin(1.7 * k)});
    ASSERT_EQ(Fit(pairs, 0, 1, FitMethod::Accurate), 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_NEAR(doc.m_dCoef[0], 0.5, 0.02);

    EXPECT_EQ(Fit(pairs, 0, 1, FitMethod::Classic), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Matrix is Singular!\nCan't Fit the Curve\nThe Classic method's normal equations "
              "are singular for these data; the Accurate method fits them.");
    EXPECT_EQ(ui.messages[0].action, kRefitAccurateButton);
    EXPECT_EQ(doc.m_eFitMethod, FitMethod::Classic);
    EXPECT_EQ(doc.m_strFitFailure, "Matrix is Singular!");

    ui.answers = {Ui::Answer::Yes};
    EXPECT_EQ(Fit(pairs, 0, 1, FitMethod::Classic), 1);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(doc.m_eFitMethod, FitMethod::Accurate);
    EXPECT_EQ(doc.m_bFitFailed, 0);
}

// A classic fit of years that keeps few digits warns once, with the button; taking it refits
// with the accurate method at once.
TEST_F(Answers, TheDigitsWarningRefitsWithTheAccurateMethodWhenAsked) {
    ASSERT_EQ(Fit(Years(3), 0, 3, FitMethod::Classic), 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, PrecisionWarningText(doc.m_dClassicDigits));
    EXPECT_EQ(ui.messages[0].action, kRefitAccurateButton);
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Information);
    EXPECT_LT(doc.m_dClassicDigits, kWarnDigits);
    EXPECT_EQ(doc.m_eFitMethod, FitMethod::Classic);
    const double classic = doc.m_dCoef[0];

    ui.answers = {Ui::Answer::Yes};
    ASSERT_EQ(Fit(Years(3), 0, 3, FitMethod::Classic), 1);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(doc.m_eFitMethod, FitMethod::Accurate);
    EXPECT_NE(doc.m_dCoef[0], classic);
    EXPECT_FALSE(NeedsPrecisionWarning(doc));
}

} // namespace
} // namespace lumetra
