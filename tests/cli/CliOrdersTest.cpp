// `lumetra-cli orders` and the linearity member of `stats --json`: the table as text and JSON,
// and the refusals with their exit status.
#include "support/CliRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace lumetra {
namespace {

using CliOrders = test::CliTest;

// Three readings at each of four levels, curving.
const std::vector<CXYdata> kStandards = {
    {1, 2.1},  {1, 2.3}, {1, 1.9},  {2, 4.2},   {2, 3.7},   {2, 4.1},
    {5, 10.6}, {5, 9.5}, {5, 10.2}, {20, 35.5}, {20, 33.2}, {20, 34.9},
};

TEST_F(CliOrders, ListsTheOrdersAsTextAndJson) {
    const std::string file = SaveData(kStandards);
    const test::CliResult text = Run("orders " + file);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("Order 4 and above need more distinct X values than the data's 4.\n"),
              std::string::npos)
        << text.out;
    const test::CliResult json = Run("orders " + file + " --weights 1/x --json");
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json j = nlohmann::json::parse(json.out);
    EXPECT_EQ(j["weights"], "1/x");
    EXPECT_EQ(j["highest_order"], 3);
    ASSERT_EQ(j["rows"].size(), 3u);
    EXPECT_EQ(j["rows"][2]["dof"], 8);
}

TEST_F(CliOrders, RefusalsGoToTheErrorStream) {
    const std::string file = SaveData(kStandards);
    struct Case {
        std::string args, err;
    };
    const std::vector<Case> cases = {
        {" --model semilogy",
         "The order table is for the polynomial models; Semilog Y=Ae^BX has no order.\n"},
        {" --model semilogx",
         "The order table is for the polynomial models; Semilog X=Ae^BY has no order.\n"},
    };
    for (const Case& c : cases) {
        const test::CliResult r = Run("orders " + file + c.args);
        EXPECT_EQ(r.status, 1) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
        EXPECT_EQ(r.err, c.err) << c.args;
    }
    const test::CliResult few = Run("orders " + SaveData({{1, 1}, {1, 2}, {1, 3}}));
    EXPECT_EQ(few.status, 1);
    EXPECT_NE(few.err.find("The order table needs at least 3 pairs and 2 distinct X values.\n"),
              std::string::npos)
        << few.err;
}

TEST_F(CliOrders, StatsJsonHoldsTheLinearityTests) {
    const nlohmann::json j =
        nlohmann::json::parse(Run("stats " + SaveData(kStandards) + " --json").out);
    const nlohmann::json& lof = j["linearity"]["lack_of_fit"];
    EXPECT_EQ(lof["groups"], 4);
    EXPECT_EQ(lof["pure_dof"], 8);
    EXPECT_EQ(lof["lack_dof"], 2);
    EXPECT_TRUE(lof["refusal"].is_null());
    EXPECT_EQ(j["linearity"]["mandel"]["dof"], 9);
    const nlohmann::json plain = nlohmann::json::parse(
        Run("stats " + SaveData({{1, 1}, {2, 2.1}, {3, 2.9}}) + " --json").out);
    EXPECT_EQ(plain["linearity"]["lack_of_fit"]["refusal"],
              "No X value repeats: there is no pure error to test the lack of fit against.");
}

} // namespace
} // namespace lumetra
