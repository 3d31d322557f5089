#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "support/CliRun.h"
#include "support/ReferenceFit.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>

namespace lumetra {
namespace {

constexpr double kT975Dof3 = 3.182446305284263; // from the tables

using CliPredict = test::CliTest;

using test::kLinePairs;

TEST_F(CliPredict, PredictWritesEachXWithItsIntervals) {
    const std::string file = SaveData(kLinePairs, 0);
    const test::CliResult r = Run("predict " + file + " 3 6 --json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const nlohmann::ordered_json j = nlohmann::ordered_json::parse(r.out);
    ASSERT_EQ(j.size(), 2u);
    std::vector<std::string> keys;
    for (const auto& item : j[0].items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"x", "y", "se_mean", "mean_low", "mean_high",
                                              "pred_low", "pred_high"}));
    const double s = std::sqrt(0.091 / 3);
    for (int i = 0; i < 2; ++i) {
        const double x = i == 0 ? 3 : 6, y = 0.09 + 1.97 * x;
        const double seMean = s * std::sqrt(0.2 + (x - 3) * (x - 3) / 10);
        const double sePred = s * std::sqrt(1.2 + (x - 3) * (x - 3) / 10);
        EXPECT_EQ(j[i]["x"].get<double>(), x);
        EXPECT_NEAR(j[i]["y"].get<double>(), y, 1e-12);
        EXPECT_NEAR(j[i]["se_mean"].get<double>(), seMean, 1e-12);
        EXPECT_NEAR(j[i]["mean_low"].get<double>(), y - kT975Dof3 * seMean, 1e-11);
        EXPECT_NEAR(j[i]["mean_high"].get<double>(), y + kT975Dof3 * seMean, 1e-11);
        EXPECT_NEAR(j[i]["pred_low"].get<double>(), y - kT975Dof3 * sePred, 1e-11);
        EXPECT_NEAR(j[i]["pred_high"].get<double>(), y + kT975Dof3 * sePred, 1e-11);
    }
    const test::CliResult text = Run("predict " + file + " 3 --level 0.9");
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')),
              "X = 3: Y = 6, standard error of the mean 0.07788880964");
    EXPECT_NE(text.out.find("    90 % confidence interval of the mean: "), std::string::npos);
}

TEST_F(CliPredict, CalibrateWritesEveryEstimateWithItsIntervalOrItsReason) {
    const std::string file = SaveData(kLinePairs, 0);
    test::CliResult r = Run("calibrate " + file + " 6 9.7 100 --interval wald --json");
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::ordered_json j = nlohmann::ordered_json::parse(r.out);
    ASSERT_EQ(j.size(), 3u);
    EXPECT_EQ(j[0]["y"].get<double>(), 6.0);
    ASSERT_EQ(j[0]["estimates"].size(), 1u);
    const nlohmann::ordered_json& e = j[0]["estimates"][0];
    std::vector<std::string> keys;
    for (const auto& item : e.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"x", "lower", "upper", "interval"}));
    const double s = std::sqrt(0.091 / 3), x0 = (6 - 0.09) / 1.97;
    const double half = kT975Dof3 * s * std::sqrt(1.2 + (x0 - 3) * (x0 - 3) / 10) / 1.97;
    EXPECT_NEAR(e["x"].get<double>(), x0, 1e-12);
    EXPECT_NEAR(e["lower"].get<double>(), x0 - half, 1e-11);
    EXPECT_NEAR(e["upper"].get<double>(), x0 + half, 1e-11);
    EXPECT_EQ(e["interval"], "wald");
    EXPECT_FALSE(j[0].contains("message"));
    EXPECT_EQ(j[2]["estimates"].size(), 0u);
    EXPECT_EQ(j[2]["message"], "No X from 1 to 5 gives Y = 100 on the fitted curve.");

    // Near the end of the range the inversion interval runs past it: null, and said so.
    r = Run("calibrate " + file + " 9.7 --json");
    ASSERT_EQ(r.status, 0) << r.err;
    j = nlohmann::ordered_json::parse(r.out);
    EXPECT_EQ(j[0]["estimates"][0]["interval"], "inversion");
    EXPECT_TRUE(j[0]["estimates"][0]["upper"].is_null());
    EXPECT_TRUE(j[0]["estimates"][0]["lower"].is_number());
    EXPECT_EQ(j[0]["message"], "The 95 % interval is not bounded inside the data's X range, 1 to "
                               "5: the curve is too flat there for that level.");

    // A mean response is known better than one new observation.
    const double single = nlohmann::json::parse(
        Run("calibrate " + file + " 6 --json").out)[0]["estimates"][0]["lower"];
    const double mean = nlohmann::json::parse(
        Run("calibrate " + file + " 6 --mean-response --json").out)[0]["estimates"][0]["lower"];
    EXPECT_LT(single, mean);

    r = Run("calibrate " + file + " 6 --interval wald --mean-response");
    const double meanHalf = kT975Dof3 * s * std::sqrt(0.2) / 1.97;
    EXPECT_EQ(r.out, FormatC("Y = 6:\n    X = 3, 95 %% wald interval of a mean response %.10g to "
                             "%.10g\n",
                             {3 - meanHalf, 3 + meanHalf}));
}

TEST_F(CliPredict, XFromYSwapsTheNames) {
    std::vector<CXYdata> pairs = {{1.1, 0}, {2.6, 1}, {7.9, 2}, {19.0, 3}, {56.0, 4}};
    const std::string file = SaveData(pairs, 3);
    nlohmann::ordered_json j =
        nlohmann::ordered_json::parse(Run("predict " + file + " 2 --json").out);
    EXPECT_EQ(j[0].begin().key(), "y");
    EXPECT_EQ(j[0]["y"].get<double>(), 2.0);
    EXPECT_GT(j[0]["x"].get<double>(), 2.6);
    EXPECT_LT(j[0]["x"].get<double>(), 19.0);
    j = nlohmann::ordered_json::parse(Run("calibrate " + file + " 7.9 --json").out);
    EXPECT_EQ(j[0].begin().key(), "x");
    EXPECT_NEAR(j[0]["estimates"][0]["y"].get<double>(), 2.0, 0.2);
}

TEST_F(CliPredict, WrongWordsAndUnfittableDataAreRefused) {
    const std::string file = SaveData(kLinePairs, 0);
    const char* predictUsage =
        "usage: lumetra-cli predict FILE X... [--method classic|accurate] "
        "[--weights none|sigma|1/x|1/x2|1/y|1/y2|replicates] [--absolute] [--sigma S] "
        "[--level L] [--json]\n";
    const char* calibrateUsage =
        "usage: lumetra-cli calibrate FILE Y... [--method classic|accurate] "
        "[--weights none|sigma|1/x|1/x2|1/y|1/y2|replicates] [--absolute] [--sigma S] [--level L] "
        "[--mean-response] [--replicates] [--interval inversion|wald] [--json]\n";
    test::CliResult r = Run("predict " + file);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, predictUsage);
    r = Run("predict " + file + " 3 --mean-response");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, predictUsage);
    r = Run("calibrate " + file + " 3 --interval fieller");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, calibrateUsage);
    r = Run("calibrate " + file + " 3,5");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "lumetra-cli: '3,5' is not a number\n");
    r = Run("predict " + file + " inf");
    EXPECT_EQ(r.err, "lumetra-cli: 'inf' is not a number\n");
    r = Run("predict " + file + " 3 --level 95");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "lumetra-cli: the level must be a number between 0 and 1, such as 0.95\n");

    const std::string one = SaveData({{1, 2}}, 0);
    r = Run("predict " + one + " 3");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Must have a minimum of 2 data points to fit the curve!\nCan't Fit the "
                     "Curve\nThe fit failed: there is no curve to read values from.\n");
}

} // namespace
} // namespace lumetra

namespace lumetra {
namespace {

// Filip's classic fit misses its certified curve in the third digit, the accurate one keeps
// eight: every command that fits takes the method.
TEST_F(CliPredict, EveryCommandThatFitsTakesTheMethod) {
    const std::string filip =
        SaveData(test::ReadNistPairs(LUMETRA_SOURCE_DIR "/tests/data/nist/Filip.csv"), 0, 10);
    // The certified curve at X = -6, in exact rational arithmetic.
    constexpr double kCertified = 0.8860483213191095;
    std::string plots[2];
    for (const bool accurate : {false, true}) {
        const std::string method = accurate ? " --method accurate" : " --method classic";
        // Predictions and calibrations of both methods read the stable fit state; the values the
        // classic coefficients give (compute, the residuals) are their own.
        test::CliResult r = Run("predict " + filip + " -6 --json" + method);
        ASSERT_EQ(r.status, 0) << r.err;
        const double y = nlohmann::json::parse(r.out)[0]["y"];
        EXPECT_LT(std::fabs(y / kCertified - 1), 1e-8) << y;

        r = Run("calibrate " + filip + " 0.8860483213191095 --json" + method);
        ASSERT_EQ(r.status, 0) << r.err;
        const nlohmann::json j = nlohmann::json::parse(r.out);
        bool minusSix = false;
        for (const auto& e : j[0]["estimates"])
            minusSix = minusSix || std::fabs(e["x"].get<double>() + 6) < 1e-5;
        EXPECT_TRUE(minusSix) << r.out;

        EXPECT_EQ(Run("compute " + filip + " -6" + method).out,
                  accurate ? "         0.88605\n" : "         0.88437\n");

        const std::string png = dir.Path(accurate ? "accurate.png" : "classic.png");
        ASSERT_EQ(Run("plot " + filip + " --residuals --out " + png + method).status, 0);
        plots[accurate] = test::TempDir::Read(png);
    }
    EXPECT_NE(plots[0], plots[1]);
}

} // namespace
} // namespace lumetra
