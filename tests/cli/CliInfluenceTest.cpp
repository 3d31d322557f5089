// `lumetra-cli influence`: the table as text and JSON, the flagged pairs only, and a fit without
// measures refused with its reason.
#include "support/CliRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace lumetra {
namespace {

using CliInfluence = test::CliTest;

// A straight line through six pairs, the fourth 0.6 above it.
const std::vector<CXYdata> kLine = {{1, 2.02}, {2, 3.99}, {3, 6.01},
                                    {4, 8.6},  {5, 9.98}, {6, 12.01}};

TEST_F(CliInfluence, ListsEveryPairOrTheFlaggedOnesAsTextAndJson) {
    const std::string file = SaveData(kLine);
    const test::CliResult text = Run("influence " + file);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("         Influence of each pair: 1 of 6 flagged\n"),
              std::string::npos);
    EXPECT_NE(text.out.find("Durbin-Watson statistic (residuals ordered by X): "),
              std::string::npos);
    EXPECT_NE(text.out.find("\n6  "), std::string::npos) << text.out;

    const test::CliResult flagged = Run("influence " + file + " --flagged --json");
    ASSERT_EQ(flagged.status, 0) << flagged.err;
    const nlohmann::json j = nlohmann::json::parse(flagged.out);
    EXPECT_EQ(j["n"], 6);
    EXPECT_EQ(j["flagged"], 1);
    ASSERT_EQ(j["pairs"].size(), 1u);
    EXPECT_EQ(j["pairs"][0]["pair"], 4);
    EXPECT_EQ(j["pairs"][0]["y"], 8.6);
    EXPECT_EQ(j["pairs"][0]["outlier"], true);
    EXPECT_GT(j["pairs"][0]["studentized"].get<double>(), j["studentized_cutoff"].get<double>());
}

// The outlier excluded in the file: the fit and its measures leave it out, the table marks it,
// and a fit saved again keeps the mark.
TEST_F(CliInfluence, AnExcludedPairIsLeftOutOfTheFitAndKept) {
    std::vector<CXYdata> pairs = kLine;
    pairs[3].m_bExcluded = true;
    const std::string file = SaveData(pairs);
    const test::CliResult r = Run("influence " + file + " --json");
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["n"], 5);
    ASSERT_EQ(j["pairs"].size(), 5u);
    EXPECT_EQ(j["pairs"][3]["pair"], 5);
    const test::CliResult text = Run("influence " + file);
    EXPECT_NE(text.out.find("\n4  "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("excluded\n"), std::string::npos) << text.out;

    const test::CliResult fit = Run("fit " + file);
    ASSERT_EQ(fit.status, 0) << fit.err;
    EXPECT_NE(fit.out.find("         Excluded from the fit: 1 of 6 pairs\n"), std::string::npos)
        << fit.out;
    EXPECT_NE(test::TempDir::Read(file).find("\texcluded=1\r\n"), std::string::npos);
}

TEST_F(CliInfluence, AFitWithoutMeasuresSaysWhy) {
    const test::CliResult r = Run("influence " + SaveData({{1, 2}}));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("The fit failed: there are no statistics.\n"), std::string::npos) << r.err;
}

} // namespace
} // namespace lumetra
