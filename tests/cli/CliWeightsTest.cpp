// Weights on the command line: --weights and --absolute on the commands that fit, --sigma on
// predict and calibrate, and the comparison of every weighting by `lumetra-cli weights`.
#include "data/NumberFormat.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>

namespace lumetra {
namespace {

using CliWeights = test::CliTest;

// Three readings at each of four levels, their scatter growing with the level.
const std::vector<CXYdata> kStandards = {
    {1, 2.1},  {1, 2.3}, {1, 1.9},  {2, 4.2},   {2, 3.7},   {2, 4.1},
    {5, 10.6}, {5, 9.5}, {5, 10.2}, {20, 41.5}, {20, 38.2}, {20, 40.9},
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST_F(CliWeights, TheReportNamesTheWeightingInOneLineAfterTheModelOnlyWhenWeighted) {
    const std::string file = SaveData(kStandards);
    const test::CliResult plain = Run("fit " + file);
    const test::CliResult weighted = Run("fit " + file + " --weights 1/x2");
    const test::CliResult absolute = Run("fit " + file + " --weights replicates --absolute");
    ASSERT_EQ(weighted.status, 0) << weighted.err;
    const std::vector<std::string> a = Lines(plain.out), b = Lines(weighted.out),
                                   c = Lines(absolute.out);
    ASSERT_EQ(b.size(), a.size() + 1);
    EXPECT_EQ(a[5], "         Curve Order: 1");
    EXPECT_EQ(b[6], "         Weighting:   1/X^2, relative");
    EXPECT_EQ(c[6], "         Weighting:   Replicate variance, absolute");
    EXPECT_EQ(a[6], b[7]); // the rule, and everything before the weighting as it was
    for (const std::string& line : a)
        EXPECT_EQ(line.find("Weighting"), std::string::npos) << line;
}

TEST_F(CliWeights, StatisticsOfAWeightedFitCarryChiSquareAndTheWeightedResiduals) {
    const std::string file = SaveData(kStandards);
    const test::CliResult r = Run("stats " + file + " --weights replicates --absolute --json");
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["weights"], "replicates");
    EXPECT_EQ(j["absolute"], true);
    EXPECT_EQ(j["chi_square"].get<double>(), j["sse"].get<double>());
    EXPECT_NEAR(j["reduced_chi_square"].get<double>(), j["sse"].get<double>() / 10, 1e-15);
    EXPECT_EQ(j["weighted_residuals"].size(), kStandards.size());
    EXPECT_GT(j["effective_pairs"].get<double>(), 1.0);
    EXPECT_LT(j["effective_pairs"].get<double>(), 12.0);
    EXPECT_EQ(j["notes"].size(), 0u);
    const test::CliResult plain = Run("stats " + file + " --json");
    EXPECT_FALSE(nlohmann::json::parse(plain.out).contains("chi_square"));
}

TEST_F(CliWeights, SigmaOfANewObservationIsRefusedWhereItMeansNothing) {
    const std::string file = SaveData(kStandards);
    struct Case {
        std::string args;
        int status;
        std::string err;
    } cases[] = {
        {"predict " + file + " 3 --sigma 0.5", 2,
         "lumetra-cli: --sigma gives the standard deviation of a new observation of a weighted "
         "fit; this fit is not weighted (see --weights)\n"},
        {"calibrate " + file + " 8 --weights 1/x --sigma 0", 2,
         "lumetra-cli: the standard deviation must be a number above 0, not '0'\n"},
        {"predict " + file + " 3 --weights 1/x --sigma -2", 2,
         "lumetra-cli: the standard deviation must be a number above 0, not '-2'\n"},
        {"fit " + file + " --weights 1/x3", 2,
         "usage: lumetra-cli fit FILE [--model poly|loglog|semilogy|semilogx] [--order N] "
         "[--method classic|accurate] [--weights none|sigma|1/x|1/x2|1/y|1/y2|replicates] "
         "[--absolute] [--save OUT]\n"},
    };
    for (const Case& c : cases) {
        const test::CliResult r = Run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.err, c.err) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
    }
}

TEST_F(CliWeights, AGivenSigmaWidensThePredictionIntervalAsItGrows) {
    const std::string file = SaveData(kStandards);
    double previous = 0.0;
    for (const char* sigma : {"0.1", "1", "10"}) {
        const test::CliResult r =
            Run("predict " + file + " 3 --weights 1/x --sigma " + sigma + " --json");
        ASSERT_EQ(r.status, 0) << r.err;
        const nlohmann::json j = nlohmann::json::parse(r.out)[0];
        const double width = j["pred_high"].get<double>() - j["pred_low"].get<double>();
        EXPECT_GT(width, previous) << sigma;
        previous = width;
    }
}

TEST_F(CliWeights, WeightsListsEverySchemeThatAppliesAndMarksTheSmallest) {
    const test::CliResult r = Run("weights " + SaveData(kStandards));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 8u) << r.out; // the heading, the column names and six schemes
    EXPECT_EQ(lines[1], "         Weighting                Sum |X'-X|/X      Residual SD        "
                        "R-squared");
    const char* names[] = {"None", "1/X", "1/X^2", "1/Y", "1/Y^2", "Replicate variance"};
    int marked = 0;
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(lines[i + 2].substr(9, 20), FormatC("%-20s", {names[i]})) << lines[i + 2];
        marked += lines[i + 2].find("<- smallest") != std::string::npos;
    }
    EXPECT_EQ(marked, 1);

    // A scheme the pairs refuse says why, and the others are still compared.
    std::vector<CXYdata> withZero = kStandards;
    withZero[0].m_dX = 0.0;
    const test::CliResult zero = Run("weights " + SaveData(withZero));
    ASSERT_EQ(zero.status, 0) << zero.err;
    EXPECT_NE(zero.out.find("         1/X                  Weights 1/X need every X above 0: "
                            "pair 1 has X = 0.\n"),
              std::string::npos)
        << zero.out;
}

TEST_F(CliWeights, ASchemeThePairsCannotTakeFailsTheFitAndSavesNothing) {
    const std::string file = SaveData({{1, 2}, {2, 4.1}, {3, 5.9}, {4, 8.2}});
    const std::string out = dir.Path("out.dat");
    const test::CliResult r = Run("fit " + file + " --weights replicates --save " + out);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Replicate variance weights need two readings or more at each X: X = 1 "
                         "has one.\nCan't Fit the Curve"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
} // namespace lumetra
