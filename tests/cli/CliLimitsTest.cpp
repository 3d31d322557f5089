// lumetra-cli limits and calibrate --replicates, against reference/limits_reference.json.
#include "data/NumberFormat.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

namespace lumetra {
namespace {

using Json = nlohmann::ordered_json;
using CliLimits = test::CliTest;

Json Case(const char* part, const std::string& name) {
    std::ifstream in(LUMETRA_SOURCE_DIR "/tests/fit/reference/limits_reference.json");
    const Json all = Json::parse(in);
    for (const Json& c : all[part])
        if (c["name"] == name)
            return c;
    return {};
}

std::vector<CXYdata> Pairs(const Json& c) {
    std::vector<CXYdata> pairs;
    for (size_t k = 0; k < c["x"].size(); ++k)
        pairs.push_back({c["x"][k], c["y"][k]});
    return pairs;
}

std::string Text(const Json& value) {
    return FormatC("%.10g", {value.get<double>()});
}

TEST_F(CliLimits, GivesTheLimitsAsTextAndJson) {
    const Json din = Case("limits", "din");
    const std::string file = SaveData(Pairs(din));
    test::CliResult r = Run("limits " + file);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("Critical value of X")),
              "         Limits of the straight-line calibration (DIN 32645, ISO 11843-2):\n"
              "         alpha = 0.05   beta = 0.05   k = 3   m = 1   degrees of freedom n - 2 = 8\n"
              "         Critical value of Y               " +
                  FormatC("%16s", {Text(din["critical_y"])}) +
                  "   t(8, 0.95) = 1.85955\n         ");
    EXPECT_NE(r.out.find("         X = 0 lies outside the standards' X, 0.06 to 0.24: the critical "
                         "value extrapolates the line to the blank.\n"),
              std::string::npos);

    const Json m3 = Case("limits", "din m 3 beta 0.1 k 2");
    r = Run("limits " + file + " --beta 0.1 --k 2 --replicates 3 --json");
    ASSERT_EQ(r.status, 0) << r.err;
    const Json j = Json::parse(r.out);
    std::vector<std::string> keys;
    for (const auto& item : j.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"alpha", "beta", "k", "m", "n", "dof", "slope",
                                              "t_alpha", "t_beta", "t_quantification", "critical_y",
                                              "critical_x", "detection_x", "detection_shortcut_x",
                                              "quantification_x", "notes"}));
    EXPECT_EQ(j["m"], 3);
    EXPECT_TRUE(j["detection_shortcut_x"].is_null()); // alpha and beta differ
    for (const char* key :
         {"t_beta", "critical_y", "critical_x", "detection_x", "quantification_x"})
        EXPECT_NEAR(j[key].get<double>(), m3[key].get<double>(), 1e-9 * m3[key].get<double>())
            << key;
}

TEST_F(CliLimits, RefusesWithTheReason) {
    const std::string file = SaveData(Pairs(Case("limits", "din")), 0, 2);
    struct Row {
        const char* args;
        int status;
        const char* err;
    } rows[] = {
        {"", 1,
         "Limits of detection and quantification belong to a straight-line calibration "
         "(Polynomial of order 1): this fit is of order 2.\n"},
        {" --alpha 0.5", 2,
         "lumetra-cli: alpha, the error probability of the decision, must be a number above 0 "
         "and below 0.5, such as 0.05.\n"},
        {" --beta 0", 2,
         "lumetra-cli: beta, the error probability of a missed detection, must be a number "
         "above 0 and below 0.5, such as 0.05.\n"},
        {" --k -1", 2,
         "lumetra-cli: k, the quantification limit's factor, must be a number above 0, such as "
         "3.\n"},
        {" --replicates 2.5", 2,
         "lumetra-cli: The number of readings of a sample, m, must be a whole number from 1 to "
         "1000000.\n"},
        {" --alpha five", 2, "lumetra-cli: 'five' is not a number\n"},
        {" --sigma 0.1", 2,
         "lumetra-cli: --sigma gives the standard deviation of a new observation of a weighted "
         "fit; this fit is not weighted (see --weights)\n"},
    };
    for (const Row& row : rows) {
        const test::CliResult r = Run("limits " + file + row.args);
        EXPECT_EQ(r.status, row.status) << row.args;
        EXPECT_EQ(r.err, row.err) << row.args;
        EXPECT_EQ(r.out, "") << row.args;
    }
}

TEST_F(CliLimits, CalibrateTakesTheValuesAsReadingsOfOneSample) {
    const Json c = Case("replicates", "fluorescence three readings");
    const std::string file = SaveData(Pairs(c));
    test::CliResult r = Run("calibrate " + file + " 13.1 13.5 13.9 --replicates --interval wald");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Y = 13.5, the mean of 3 readings:\n    X = " + Text(c["x0"]) +
                         ", 95 % wald interval " + Text(c["wald_lower"]) + " to " +
                         Text(c["wald_upper"]) + "\n");
    r = Run("calibrate " + file + " 13.1 13.5 13.9 --replicates --json");
    ASSERT_EQ(r.status, 0) << r.err;
    const Json j = Json::parse(r.out);
    ASSERT_EQ(j.size(), 1u);
    EXPECT_EQ(j[0]["m"], 3);
    EXPECT_NEAR(j[0]["estimates"][0]["lower"].get<double>(), c["inversion_lower"].get<double>(),
                1e-9);
    // Without the word, three observations of one reading each.
    r = Run("calibrate " + file + " 13.1 13.5 13.9 --json");
    EXPECT_EQ(Json::parse(r.out).size(), 3u);
    EXPECT_EQ(Json::parse(r.out)[1]["m"], 1);
}

} // namespace
} // namespace lumetra
