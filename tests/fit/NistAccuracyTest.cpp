// The NIST StRD polynomial sets against their certified values, fitted through the document as
// the program fits them.
#include "fit/FitEngine.h"
#include "fit/FitStatistics.h"
#include "support/DocTest.h"
#include "support/ReferenceFit.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

namespace lumetra {
namespace {

const char* const kSets[] = {"Norris",   "Pontius",  "Filip",    "Wampler1",
                             "Wampler2", "Wampler3", "Wampler4", "Wampler5"};

// NIST's log relative error; against a certified 0 the log absolute error. Capped at 15.
double Lre(double value, double certified) {
    if (value == certified)
        return 15.0;
    const double error =
        certified == 0.0 ? std::fabs(value) : std::fabs(value - certified) / std::fabs(certified);
    return std::min(15.0, std::max(0.0, -std::log10(error)));
}

// The fewest digits of each quantity for one set and method.
// The statistics' figures, and those of the coefficients the fit stored (the classic method's
// own; the statistics describe the stable solution).
struct Digits {
    double coef = 15.0, stdDev = 15.0, residual = 15.0, rSquared = 15.0, stored = 15.0;
};

nlohmann::json Certified(const std::string& name) {
    std::ifstream in(LUMETRA_SOURCE_DIR "/tests/data/nist/certified.json");
    return nlohmann::json::parse(in).at(name);
}

struct Nist : test::DocTest {
    CFitEngine engine{doc};

    // Fits the set with the method and measures every certified quantity.
    Digits Measure(const std::string& name, FitMethod method) {
        const nlohmann::json certified = Certified(name);
        doc.OnNewDocument();
        doc.m_pPairs = test::ReadNistPairs(LUMETRA_SOURCE_DIR "/tests/data/nist/" + name + ".csv");
        doc.m_nPairs = int(doc.m_pPairs.size());
        doc.m_nCurveType = 0;
        doc.m_nOrder = certified.at("degree");
        doc.m_eFitMethod = method;
        EXPECT_EQ(doc.m_nPairs, certified.at("n").get<int>()) << name;
        EXPECT_EQ(engine.RefitDocument(), 1) << name;
        const StatisticsOutcome outcome = DocumentStatistics(doc, kDefaultLevel);
        EXPECT_TRUE(outcome.stats) << name << ": " << outcome.failure;
        Digits d;
        if (!outcome.stats)
            return d;
        const FitStatistics& s = *outcome.stats;
        const int n = doc.m_nOrder;
        for (const nlohmann::json& c : certified.at("coefficients")) {
            const int power = c.at("power");
            const CoefficientStatistics& mine = s.coefficients[size_t(n - power)];
            // Both methods' statistics describe the stable solution: the accurate coefficients.
            if (method == FitMethod::Accurate) {
                EXPECT_EQ(mine.estimate, doc.m_dCoef[n - power]);
            }
            d.coef = std::min(d.coef, Lre(mine.estimate, c.at("estimate")));
            d.stored = std::min(d.stored, Lre(doc.m_dCoef[n - power], c.at("estimate")));
            d.stdDev = std::min(d.stdDev, Lre(mine.stdError.value_or(-1.0), c.at("std_dev")));
        }
        d.residual = Lre(s.residualStdDev.value_or(-1.0), certified.at("residual_std_dev"));
        d.rSquared = Lre(s.rSquared, certified.at("r_squared"));
        return d;
    }
};

TEST_F(Nist, TheAccurateMethodKeepsNineDigitsOfEveryCertifiedValue) {
    std::printf("%-9s %-9s %6s %6s %6s %6s\n", "set", "method", "coef", "sd", "res.sd", "R2");
    for (const char* name : kSets)
        for (FitMethod method : {FitMethod::Classic, FitMethod::Accurate}) {
            const Digits d = Measure(name, method);
            std::printf("%-9s %-9s %6.1f %6.1f %6.1f %6.1f\n", name,
                        std::string(FitMethodWord(method)).c_str(), d.coef, d.stdDev, d.residual,
                        d.rSquared);
            if (method == FitMethod::Accurate) {
                EXPECT_GE(d.coef, 9.0) << name;
                EXPECT_GE(d.stdDev, 9.0) << name;
                EXPECT_GE(d.residual, 9.0) << name;
                EXPECT_GE(d.rSquared, 9.0) << name;
            }
        }
}

TEST_F(Nist, TheClassicFitOfFilipIsWarnedOfAndPontiusIsNot) {
    Measure("Filip", FitMethod::Classic);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, PrecisionWarningText(doc.m_dClassicDigits));
    EXPECT_EQ(ui.messages[0].text.substr(0, 50),
              "The coefficients of this fit, or the residual stan");
    EXPECT_EQ(ui.messages[0].action, kRefitAccurateButton);
    EXPECT_LT(doc.m_dClassicDigits, 1.0);
    EXPECT_TRUE(NeedsPrecisionWarning(doc));

    ui.messages.clear();
    Measure("Filip", FitMethod::Accurate);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(NeedsPrecisionWarning(doc));

    Measure("Pontius", FitMethod::Classic);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_GE(doc.m_dClassicDigits, kWarnDigits);
    EXPECT_FALSE(NeedsPrecisionWarning(doc));
}

// The per-pair values of an accurate fit are the certified curve's to eleven digits. (Filip's
// terms cancel to the seventh digit, more than its certified values keep.)
TEST_F(Nist, TheAccurateFitsValuesAreThoseOfTheCertifiedCurve) {
    for (const char* name : {"Norris", "Pontius", "Wampler1", "Wampler4"}) {
        Measure(name, FitMethod::Accurate);
        const nlohmann::json certified = Certified(name);
        double worst = 15.0;
        for (const CXYdata& p : doc.m_pPairs) {
            long double curve = 0.0L;
            for (const nlohmann::json& c : certified.at("coefficients"))
                curve += c.at("estimate").get<double>() *
                         std::pow((long double)p.m_dX, c.at("power").get<int>());
            worst = std::min(worst, Lre(p.m_dComputed, double(curve)));
            ASSERT_EQ(p.m_dDifference, p.m_dY - p.m_dComputed) << name;
        }
        EXPECT_GE(worst, 11.0) << name;
    }
}

// The statistics of an accurate fit measure the classic digits on sums of powers by products,
// when they are asked for; they are the classic fit's own figure on every set.
TEST_F(Nist, TheAccurateFitReportsTheClassicFitsDigits) {
    for (const char* name : kSets) {
        Measure(name, FitMethod::Classic);
        const double classic = doc.m_dClassicDigits;
        Measure(name, FitMethod::Accurate);
        EXPECT_EQ(doc.m_dClassicDigits, -1.0) << name; // the fit does not pay for them
        EXPECT_EQ(DocumentStatistics(doc, kDefaultLevel).stats->classicDigits, classic) << name;
    }
}

// Measured against the certified values, the classic coefficients keep the digits that the
// precision check says they keep (from 0 on Filip to 12.3 on Norris), so that its warning tells
// the truth about the fit.
TEST_F(Nist, TheClassicDigitsAreThoseTheCoefficientsKeep) {
    for (const char* name : kSets) {
        const Digits d = Measure(name, FitMethod::Classic);
        EXPECT_NEAR(doc.m_dClassicDigits, d.stored, 0.1) << name;
    }
}

} // namespace
} // namespace lumetra
