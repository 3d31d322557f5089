#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumetra {
namespace {

using CliReport = test::CliTest;

// The output cut at its "\n" line ends; a last line without one is kept as it stands.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t nl; (nl = text.find('\n', from)) != std::string::npos; from = nl + 1)
        lines.push_back(text.substr(from, nl - from));
    if (from < text.size())
        lines.push_back(text.substr(from));
    return lines;
}

TEST_F(CliReport, PrintsTheReportOfTheSampleLineByLine) {
    const std::string rule(80, '-');
    test::CliResult r = Run("report " + sample);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(SplitLines(r.out),
              (std::vector<std::string>{
                  rule,
                  "         Data Title:  Test",
                  "         Data File:   " LUMETRA_SOURCE_DIR "/samples/example.dat",
                  rule,
                  "         Curve Type:  Polynomial",
                  "         Curve Order: 1",
                  rule,
                  "         Sum of Absolute (Y-YComp): 0.000000E+000",
                  "         Fit Coefficient of Performance:  1.0000",
                  rule,
                  "         Fitted Curve:",
                  "         Y=C[1]*X^n + C[2]*X^(n-1) + ... + C[n]*X + C[n+1] where n = 1 and",
                  "              C[1] = 2.00000         ",
                  "              C[2] = 1.00000         ",
                  " ",
                  "|-------- X --------|\t|-------- Y --------|\t|- Computed Value --|\t|--- "
                  "Difference ----|",
                  "0.00000         \t1.00000         \t1.00000         \t0.00000         ",
                  "2.00000         \t5.00000         \t5.00000         \t0.00000         ",
              }));
    ASSERT_FALSE(r.out.empty());
    EXPECT_EQ(r.out.back(), '\n');
}

TEST_F(CliReport, UsageErrorsGiveStatusTwo) {
    test::CliResult r = Run("report");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "usage: lumetra-cli report FILE\n");
    EXPECT_EQ(Run("report a.dat b.dat").status, 2);
}

} // namespace
} // namespace lumetra
