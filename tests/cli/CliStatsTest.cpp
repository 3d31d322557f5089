#include "fit/FitEngine.h"
#include "fit/FitStatistics.h"
#include "support/CliRun.h"
#include "support/ReferenceFit.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace lumetra {
namespace {

using CliStats = test::CliTest;

TEST_F(CliStats, TheJsonHoldsTheKeysInOrderAndNumbersThatReadBackExactly) {
    const test::CliResult r = Run("stats " + pontius + " --json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const nlohmann::ordered_json j = nlohmann::ordered_json::parse(r.out);
    std::vector<std::string> keys;
    for (const auto& item : j.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{
                        "model", "order", "method", "n", "dof", "level", "coefficients",
                        "residual_std_dev", "sse", "rmse", "r_squared", "adj_r_squared", "f", "f_p",
                        "condition_number", "classic_digits", "notes", "centred", "linearity"}));
    EXPECT_EQ(j["model"], "poly");
    EXPECT_EQ(j["order"], 2);
    EXPECT_EQ(j["method"], "classic");
    EXPECT_EQ(j["n"], 40);
    EXPECT_EQ(j["dof"], 37);
    EXPECT_EQ(j["level"], 0.95);
    ASSERT_EQ(j["coefficients"].size(), 3u);
    std::vector<std::string> coefKeys;
    for (const auto& item : j["coefficients"][0].items())
        coefKeys.push_back(item.key());
    EXPECT_EQ(coefKeys, (std::vector<std::string>{"name", "estimate", "std_error", "t", "p",
                                                  "ci_low", "ci_high"}));
    EXPECT_EQ(j["coefficients"][0]["name"], "C[1]");
    EXPECT_EQ(j["coefficients"][2]["name"], "C[3]");
    EXPECT_GE(j["classic_digits"].get<double>(), kWarnDigits);

    // The same fit made here gives the very same doubles.
    CLumetraDoc doc(ui, settings);
    ASSERT_TRUE(doc.OnOpenDocument(pontius));
    CFitEngine(doc).RefitDocument();
    const FitStatistics s = *DocumentStatistics(doc, kDefaultLevel).stats;
    for (size_t i = 0; i < 3; ++i) {
        const auto& c = j["coefficients"][i];
        EXPECT_EQ(c["estimate"].get<double>(), s.coefficients[i].estimate);
        EXPECT_EQ(c["std_error"].get<double>(), *s.coefficients[i].stdError);
        EXPECT_EQ(c["p"].get<double>(), *s.coefficients[i].p);
        EXPECT_EQ(c["ci_high"].get<double>(), *s.coefficients[i].ciHigh);
    }
    EXPECT_EQ(j["residual_std_dev"].get<double>(), *s.residualStdDev);
    EXPECT_EQ(j["r_squared"].get<double>(), s.rSquared);
    EXPECT_EQ(j["f_p"].get<double>(), *s.fP);
    EXPECT_EQ(j["condition_number"].get<double>(), *s.conditionNumber);
}

TEST_F(CliStats, TheMethodAndTheLevelAreTakenAndCheckedWords) {
    test::CliResult r = Run("stats " + pontius + " --json --method accurate --level 0.9");
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["method"], "accurate");
    EXPECT_EQ(j["level"], 0.9);
    // Certified by NIST: B2 = -0.316081871345029E-14.
    EXPECT_NEAR(j["coefficients"][0]["estimate"].get<double>() / -0.316081871345029e-14, 1.0,
                1e-10);

    r = Run("stats " + pontius + " --level 1.5");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "lumetra-cli: the level must be a number between 0 and 1, such as 0.95\n");
    r = Run("stats " + pontius + " --level 0,9");
    EXPECT_EQ(r.status, 2);
    r = Run("stats " + pontius + " --method exact");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "usage: lumetra-cli stats FILE [--method classic|accurate] "
                     "[--weights none|sigma|1/x|1/x2|1/y|1/y2|replicates] [--absolute] [--level L] "
                     "[--json]\n");
    r = Run("fit " + pontius + " --method");
    EXPECT_EQ(r.status, 2);
    r = Run("stats");
    EXPECT_EQ(r.status, 2);
}

TEST_F(CliStats, TheTextLinesUpItsColumns) {
    const test::CliResult r = Run("stats " + pontius);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("         Curve Type:  Polynomial\n         Curve Order: 2\n"
                         "         Method:      Classic\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("         Pairs: 40   Degrees of freedom: 37   Confidence level: 95 %\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("                   Estimate       Std. Error          t Value"
                         "          p Value          95% Low         95% High\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("\nC[1]       -3.16081871E-015  4.86652850E-017 -6.49501737E+001"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("         R-squared:                         9.99999900E-001\n"),
              std::string::npos);
}

TEST_F(CliStats, AClassicFitThatLostItsDigitsSaysSoOnStderr) {
    const std::string filip =
        SaveData(test::ReadNistPairs(LUMETRA_SOURCE_DIR "/tests/data/nist/Filip.csv"), 0, 10);
    test::CliResult r = Run("fit " + filip);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "The coefficients of this fit, or the residual standard deviation they give, "
                     "kept only 0.0 significant digits: the Accurate method keeps more.\n");
    // The report's last line says it too; every line before is the report as ever.
    EXPECT_EQ(r.out.substr(r.out.rfind('\n', r.out.size() - 2) + 1),
              "         Note: the coefficients kept only 0.0 significant digits; the Accurate "
              "method keeps more.\n");

    r = Run("fit " + filip + " --method accurate");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    // Certified B0 = -1467.48961422980.
    EXPECT_NE(r.out.find("              C[11] = -1467.4896142"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Note:"), std::string::npos);

    r = Run("fit " + pontius);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.find("Note:"), std::string::npos);
}

TEST_F(CliStats, AFailedFitHasNoStatistics) {
    const std::string same = SaveData({{1, 2}, {1, 3}, {1, 4}});
    const test::CliResult r = Run("stats " + same + " --json");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Matrix is Singular!\nCan't Fit the Curve\n"
                     "The fit failed: there are no statistics.\n");
}

} // namespace
} // namespace lumetra
