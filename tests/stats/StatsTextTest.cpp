// The statistics, prediction and calibration writers: exact lines and JSON for a straight line
// whose every number has a closed form (worked out with mpmath: b = 1.97, a = 0.09, SSE = 0.091,
// t(0.975; 3) = 3.182446305284263), n/a cells, the words on constant values and the centred
// equation.
#include "fit/FitEngine.h"
#include "platform/MemorySettingsStore.h"
#include "stats/PredictionText.h"
#include "stats/StatisticsText.h"
#include "support/RecordingUi.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace lumetra {
namespace {

struct StatsText : ::testing::Test {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc{ui, settings};

    void Fit(std::vector<CXYdata> pairs, int order = 1) {
        doc.OnNewDocument();
        doc.m_strDataTitle = "Line";
        doc.m_pPairs = std::move(pairs);
        doc.m_nPairs = int(doc.m_pPairs.size());
        doc.m_nOrder = order;
        doc.m_eFitMethod = FitMethod::Accurate;
        ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    }
    void FitLine() { Fit({{1, 2.0}, {2, 4.1}, {3, 5.9}, {4, 8.2}, {5, 9.8}}); }
};

TEST_F(StatsText, TheStatisticsOfALine) {
    FitLine();
    const std::vector<std::string> lines =
        StatisticsLines(doc, DocumentStatistics(doc, kDefaultLevel));
    const std::string rule(80, '-');
    const std::vector<std::string> expected = {
        rule,
        "         Data Title:  Line",
        "         Data File:   UnNamed File",
        rule,
        "         Curve Type:  Polynomial",
        "         Curve Order: 1",
        "         Method:      Accurate",
        "         Fitted scale: Y on X",
        "         Pairs: 5   Degrees of freedom: 3   Confidence level: 95 %",
        rule,
        "                   Estimate       Std. Error          t Value          p Value      "
        "    95% Low         95% High",
        "C[1]        1.97000000E+000  5.50757055E-002  3.57689472E+001  4.80542290E-005  "
        "1.79472452E+000  2.14527548E+000",
        "C[2]        9.00000000E-002  1.82665450E-001  4.92704011E-001  6.56028126E-001 "
        "-4.91322987E-001  6.71322987E-001",
        rule,
        "         Residual standard deviation:       1.74164673E-001",
        "         Sum of squared residuals:          9.10000000E-002",
        "         Root mean square error:            1.34907376E-001",
        "         R-squared:                         9.97660668E-001",
        "         Adjusted R-squared:                9.96880891E-001",
        "         F statistic:                       1.27941758E+003",
        "         p value of F:                      4.80542290E-005",
        "         Condition number of the design:    1.41421356E+000",
    };
    ASSERT_EQ(lines.size(), expected.size() + 2);
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << i;
    EXPECT_EQ(lines[expected.size()].substr(0, 43), "         Digits kept by the classic method:");
    EXPECT_EQ(lines.back(), rule);
}

// Constant values: the slope's cells are n/a (null), and the words say why.
TEST_F(StatsText, ConstantValuesGiveNaCellsAndTheirWords) {
    Fit({{1, 5}, {2, 5}, {3, 5}, {4, 5}});
    const StatisticsOutcome outcome = DocumentStatistics(doc, kDefaultLevel);
    const std::vector<std::string> lines = StatisticsLines(doc, outcome);
    EXPECT_EQ(lines[11],
              "C[1]        0.00000000E+000  0.00000000E+000              n/a              "
              "n/a              n/a              n/a");
    EXPECT_EQ(lines[lines.size() - 2], std::string("         ") + kConstantNote);
    const nlohmann::json json = nlohmann::json::parse(StatisticsJson(*outcome.stats));
    EXPECT_TRUE(json["coefficients"][0]["t"].is_null());
    EXPECT_TRUE(json["coefficients"][0]["ci_low"].is_null());
    EXPECT_EQ(json["coefficients"][1]["p"], 0.0);
    EXPECT_EQ(json["notes"], nlohmann::json::array({kConstantNote}));
    EXPECT_TRUE(json["centred"].is_null());
}

// Years: the raw powers cancel, so the centred equation is given, its numbers stated.
TEST_F(StatsText, YearsGetTheCentredEquation) {
    std::vector<CXYdata> pairs;
    for (int year = 2000; year <= 2025; ++year) {
        const double d = (year - 2012.5) / 16.0;
        pairs.push_back({double(year), 3 - 2 * d + 0.5 * d * d * d + (year % 3) * 0.01});
    }
    Fit(pairs, 3);
    const StatisticsOutcome outcome = DocumentStatistics(doc, kDefaultLevel);
    const std::vector<std::string> lines = StatisticsLines(doc, outcome);
    const auto at = std::find(lines.begin(), lines.end(),
                              "         The coefficients above lose digits to the offset of the "
                              "data; the same curve, centred:");
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(at[1], "         Y = b[1]*u^3 + b[2]*u^2 + b[3]*u + b[4] where u = (X - c)/h and:");
    EXPECT_EQ(at[2], "         c = 2012.5   h = 16");
    EXPECT_EQ(at[3].substr(0, 16), "         b[1] = ");
    // The stated numbers are the cubic's own, to the noise of 0.01.
    EXPECT_NEAR(outcome.stats->centred->coefficients[0], 0.5, 0.05);
    EXPECT_NEAR(outcome.stats->centred->coefficients[2], -2.0, 0.05);
    const nlohmann::json json = nlohmann::json::parse(StatisticsJson(*outcome.stats));
    EXPECT_EQ(json["centred"]["centre"], 2012.5);
    EXPECT_EQ(json["centred"]["half"], 16.0);
    EXPECT_EQ(json["centred"]["coefficients"].size(), 4u);
}

TEST_F(StatsText, PredictionAndCalibrationLinesAndJson) {
    FitLine();
    const FittedCurve curve = *DocumentCurve(doc).curve;
    const std::vector<Prediction> predictions = {Predict(curve, 6.0, kDefaultLevel)};
    EXPECT_EQ(
        PredictionLines(curve, predictions, kDefaultLevel),
        (std::vector<std::string>{
            "X = 6: Y = 11.91, standard error of the mean 0.1826654501",
            "    95 % confidence interval of the mean: 11.32867701 to 12.49132299",
            "    95 % prediction interval of a new observation: 11.10678687 to 12.71321313"}));
    const nlohmann::json p = nlohmann::json::parse(PredictionJson(curve, predictions))[0];
    EXPECT_NEAR(p["y"].get<double>(), 11.91, 1e-13);
    EXPECT_NEAR(p["pred_high"].get<double>(), 12.71321313, 1e-8);

    CalibrationRequest wald;
    wald.interval = CalibrationInterval::Wald;
    const std::vector<Calibration> calibrations = {Calibrate(curve, 7.0, wald),
                                                   Calibrate(curve, 40.0, wald)};
    EXPECT_EQ(CalibrationLines(curve, calibrations, wald),
              (std::vector<std::string>{
                  "Y = 7:", "    X = 3.507614213, 95 % wald interval 3.196113584 to 3.819114843",
                  "Y = 40:", "    No X from 1 to 5 gives Y = 40 on the fitted curve."}));
    const nlohmann::json c = nlohmann::json::parse(CalibrationJson(curve, calibrations, wald));
    EXPECT_NEAR(c[0]["estimates"][0]["upper"].get<double>(), 3.819114843, 1e-8);
    EXPECT_EQ(c[0]["estimates"][0]["interval"], "wald");
    EXPECT_TRUE(c[1]["estimates"].empty());
    EXPECT_EQ(c[1]["message"], "No X from 1 to 5 gives Y = 40 on the fitted curve.");
}

} // namespace
} // namespace lumetra
