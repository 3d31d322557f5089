// Weighted fits beyond the reference values of FitReferenceTest: weights of 1 change no bit, the
// weights each scheme gives, and every refusal of a scheme that cannot weigh the pairs.
#include "fit/CurveModels.h"
#include "fit/FitEngine.h"
#include "fit/FitWeights.h"
#include "fit/ModelFits.h"
#include "fit/Prediction.h"
#include "support/DocTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lumetra {
namespace {

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A curve of three decades with a little noise, far from zero in Y for the logarithms.
std::vector<double> Xs() {
    std::vector<double> x;
    for (int k = 0; k < 40; ++k)
        x.push_back(1.0 + 2.5 * k + 0.001 * std::sin(3.0 * k));
    return x;
}

std::vector<double> Ys(const std::vector<double>& x) {
    std::vector<double> y;
    for (size_t k = 0; k < x.size(); ++k)
        y.push_back(2.0 + 0.7 * x[k] + 0.01 * x[k] * x[k] + 0.3 * std::sin(1.3 * double(k)));
    return y;
}

TEST(WeightedFit, WeightsOfOneChangeNoBitOfAnyModelOrMethod) {
    const std::vector<double> x = Xs(), y = Ys(x), ones(x.size(), 1.0);
    for (const CurveModel& model : CurveModels())
        for (FitMethod method : {FitMethod::Classic, FitMethod::Accurate}) {
            NormalEquations work, weightedWork;
            const int order = model.usesOrder ? 3 : 1;
            const FitResult plain = model.fit(x, y, {}, order, work, method);
            const FitResult weighted = model.fit(x, y, ones, order, weightedWork, method);
            const std::string what =
                std::string(model.cliName) + " " + std::string(FitMethodWord(method));
            ASSERT_TRUE(plain.Ok() && weighted.Ok()) << what;
            for (int i = 0; i < CoefficientCount(model, order); ++i)
                EXPECT_TRUE(SameBits(plain.coef[i], weighted.coef[i])) << what << " C" << i;
            for (size_t k = 0; k < x.size(); ++k)
                EXPECT_TRUE(SameBits(plain.computed[k], weighted.computed[k])) << what << k;
            EXPECT_TRUE(SameBits(plain.sumAbsDiff, weighted.sumAbsDiff)) << what;
            EXPECT_TRUE(SameBits(plain.classicDigits, weighted.classicDigits)) << what;
            EXPECT_EQ(plain.state->sse, weighted.state->sse) << what;
            for (int j = 0; j <= order; ++j)
                EXPECT_TRUE(plain.state->b[j] == weighted.state->b[j]) << what << " b" << j;
            for (int i = 0; i <= order; ++i)
                for (int j = 0; j <= order; ++j)
                    EXPECT_EQ(work.m_dNormal[i][j], weightedWork.m_dNormal[i][j]) << what;
        }
}

struct WeightedDoc : test::DocTest {
    void Fill(const std::vector<CXYdata>& pairs, int model, WeightScheme scheme) {
        doc.OnNewDocument();
        doc.m_pPairs = pairs;
        doc.m_nPairs = int(pairs.size());
        doc.m_nCurveType = model;
        doc.m_nOrder = 1;
        doc.m_eWeights = scheme;
        ui.messages.clear();
    }
};

TEST_F(WeightedDoc, SigmasOfOneGiveThePolynomialTheUnweightedIntervalsBitForBit) {
    std::vector<CXYdata> pairs;
    const std::vector<double> x = Xs(), y = Ys(x);
    for (size_t k = 0; k < x.size(); ++k)
        pairs.push_back({x[k], y[k], 0.0, 0.0, 1.0});
    Prediction before;
    for (WeightScheme scheme : {WeightScheme::None, WeightScheme::Sigma}) {
        Fill(pairs, 0, scheme);
        ASSERT_TRUE(CFitEngine(doc).RefitDocument());
        const CurveOutcome curve = DocumentCurve(doc);
        ASSERT_TRUE(curve.curve);
        const Prediction p = Predict(*curve.curve, 55.5, 0.95);
        if (scheme == WeightScheme::None) {
            before = p;
            continue;
        }
        EXPECT_TRUE(SameBits(*p.predLow, *before.predLow));
        EXPECT_TRUE(SameBits(*p.predHigh, *before.predHigh));
        EXPECT_TRUE(SameBits(*p.meanLow, *before.meanLow));
    }
}

TEST(WeightedFit, SchemesWeighInMeasuredUnitsAndTheLogarithmsByTheFirstOrderRule) {
    const std::vector<CXYdata> pairs = {{2.0, 4.0, 0, 0, 0.5}, {4.0, 10.0, 0, 0, 0.25}};
    struct Row {
        int model;
        WeightScheme scheme;
        double first, second;
    } rows[] = {
        {0, WeightScheme::Sigma, 4.0, 16.0},
        {0, WeightScheme::InverseX, 0.5, 0.25},
        {0, WeightScheme::InverseX2, 0.25, 0.0625},
        {0, WeightScheme::InverseY, 0.25, 0.1},
        {0, WeightScheme::InverseY2, 0.0625, 0.01},
        // σ/(Y ln 10) for log10(Y): w = (Y ln 10)²/σ².
        {1, WeightScheme::Sigma, 4.0 * 16.0 * std::log(10.0) * std::log(10.0),
         16.0 * 100.0 * std::log(10.0) * std::log(10.0)},
        // σ/Y for ln(Y); 1/Y² in Y is unweighted in ln(Y).
        {2, WeightScheme::InverseY2, 1.0, 1.0},
        // X=Ae^BY measures X: ln(X) takes X's square.
        {3, WeightScheme::InverseX, 2.0, 4.0},
    };
    for (const Row& r : rows) {
        const FitWeights w = WeightsFor(*FindCurveModel(r.model), r.scheme, pairs);
        ASSERT_TRUE(w.failure.empty()) << w.failure;
        EXPECT_NEAR(w.weights[0], r.first, 1e-12 * r.first) << r.model << int(r.scheme);
        EXPECT_NEAR(w.weights[1], r.second, 1e-12 * r.second) << r.model << int(r.scheme);
    }
}

TEST_F(WeightedDoc, SchemesThatCannotWeighThePairsAreRefusedByName) {
    const std::vector<CXYdata> withZero = {
        {1, 2, 0, 0, 0.1}, {0, 3, 0, 0, 0.1}, {3, 0, 0, 0, 0.1}, {4, 5, 0, 0, 0.1}};
    const std::vector<CXYdata> oneReading = {{1, 2}, {1, 2.5}, {2, 3}, {3, 4}, {3, 4.2}};
    const std::vector<CXYdata> same = {{1, 2}, {1, 2.5}, {2, 3}, {2, 3}, {3, 4}, {3, 4.2}};
    const std::vector<CXYdata> someSigma = {{1, 2, 0, 0, 0.1}, {2, 3}, {3, 4, 0, 0, 0.1}};
    const std::vector<CXYdata> badSigma = {{1, 2, 0, 0, 0.1}, {2, 3, 0, 0, -0.5}, {3, 4, 0, 0, 1}};
    struct Row {
        const std::vector<CXYdata>& pairs;
        int model;
        WeightScheme scheme;
        const char* message;
    } rows[] = {
        {withZero, 0, WeightScheme::InverseX,
         "Weights 1/X need every X above 0: pair 2 has X = 0."},
        {withZero, 0, WeightScheme::InverseX2,
         "Weights 1/X^2 need every X other than 0: pair 2 has X = 0."},
        {withZero, 0, WeightScheme::InverseY,
         "Weights 1/Y need every Y above 0: pair 3 has Y = 0."},
        {withZero, 0, WeightScheme::InverseY2,
         "Weights 1/Y^2 need every Y other than 0: pair 3 has Y = 0."},
        {oneReading, 0, WeightScheme::Replicates,
         "Replicate variance weights need two readings or more at each X: X = 2 has one."},
        {same, 0, WeightScheme::Replicates,
         "Replicate variance weights need readings that differ at each X: the readings at X = 2 "
         "are all the same."},
        // X=Ae^BY computes from Y: its replicates share a Y.
        {oneReading, 3, WeightScheme::Replicates,
         "Replicate variance weights need two readings or more at each Y: Y = 2 has one."},
        {someSigma, 0, WeightScheme::Sigma,
         "The weighting \"Standard deviations\" needs a standard deviation on every pair: pair 2 "
         "has none."},
        {badSigma, 0, WeightScheme::Sigma,
         "The standard deviation of pair 2 is -0.5: it must be a number above 0."},
    };
    for (const Row& r : rows) {
        Fill(r.pairs, r.model, r.scheme);
        doc.m_dCoef[0] = 7.0;
        const std::vector<CXYdata> before = doc.m_pPairs;
        EXPECT_EQ(CFitEngine(doc).RefitDocument(), 0) << r.message;
        ASSERT_EQ(ui.messages.size(), 1u) << r.message;
        EXPECT_EQ(ui.messages[0].text, std::string(r.message) + "\nCan't Fit the Curve");
        EXPECT_EQ(doc.m_strFitFailure, r.message);
        EXPECT_TRUE(doc.m_bFitFailed);
        EXPECT_EQ(doc.m_dCoef[0], 0.0);
        // Nothing of the data is lost or changed.
        ASSERT_EQ(doc.m_pPairs.size(), before.size());
        for (size_t k = 0; k < before.size(); ++k)
            EXPECT_TRUE(doc.m_pPairs[k].m_dY == before[k].m_dY &&
                        doc.m_pPairs[k].m_dSigma == before[k].m_dSigma);
    }
}

// Equal measured values decide nothing about the slope, weighted or not: the constant exactly,
// chi-square 0, the slope n/a and said in words.
TEST_F(WeightedDoc, ConstantValuesUnderWeightsGiveTheConstantAndAnUntestableSlope) {
    Fill({{1, 5.25}, {2, 5.25}, {4, 5.25}, {8, 5.25}, {16, 5.25}}, 0, WeightScheme::InverseX);
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    const StatisticsOutcome outcome = DocumentStatistics(doc, 0.95);
    ASSERT_TRUE(outcome.stats) << outcome.failure;
    const FitStatistics& s = *outcome.stats;
    EXPECT_EQ(s.coefficients[0].estimate, 0.0);
    EXPECT_EQ(s.coefficients[1].estimate, 5.25);
    EXPECT_EQ(s.chiSquare, 0.0);
    EXPECT_FALSE(s.coefficients[0].t);
    EXPECT_FALSE(s.coefficients[0].p);
    EXPECT_NE(std::find(s.notes.begin(), s.notes.end(), kConstantNote), s.notes.end());
    for (double r : s.pearsonResiduals)
        EXPECT_EQ(r, 0.0);
    // (Σw)²/Σw² of w = 1, 1/2, 1/4, 1/8, 1/16.
    EXPECT_NEAR(s.effectivePairs, (31.0 / 16) * (31.0 / 16) / (341.0 / 256), 1e-14);
}

} // namespace
} // namespace lumetra
