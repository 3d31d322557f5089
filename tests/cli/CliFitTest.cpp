#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <utility>

namespace lumetra {
namespace {

using CliFit = test::CliTest;

TEST_F(CliFit, FitsTheExampleAndSavesIt) {
    const std::string out = dir.Path("fitted.dat");
    test::CliResult r = Run("fit " + sample + " --save " + out);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("              C[1] = 2.00000         \n"), std::string::npos);
    EXPECT_NE(r.out.find("              C[2] = 1.00000         \n"), std::string::npos);
    EXPECT_EQ(test::TempDir::Read(out), test::TempDir::Read(sample));
}

TEST_F(CliFit, AFailedFitPrintsItsMessageAndTheZeroedReport) {
    test::CliResult r = Run("fit " + sample + " --model semilogx");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "Must have a minimum of 3 data points to fit the curve!\nCan't Fit the Curve\n");
    EXPECT_NE(r.out.find("         Curve Type:  Semilog X=Ae^BY\n"), std::string::npos);
    EXPECT_NE(r.out.find("              C[1] = 0.00000         \n"), std::string::npos);
}

TEST_F(CliFit, TheOrderIsTakenAsTheCurvePageTakesIt) {
    test::CliResult r = Run("fit " + sample + " --order 3");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(
        r.err,
        "Must have a minimum of 4 data points to fit the curve!\nResetting curver order to 1!\n");
    EXPECT_NE(r.out.find("where n = 1 and"), std::string::npos);
    r = Run("fit " + sample + " --order 0");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Order must be at least 1!\n");
    r = Run("fit " + sample + " --order 11");
    EXPECT_EQ(r.err, "Order must not exceed 10!\n");
    r = Run("fit " + sample + " --order two");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Please enter an integer.\n");
}

TEST_F(CliFit, ComputeShowsWhatTheComputePageShows) {
    test::CliResult r = Run("compute " + sample + " 2");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "         5.00000\n");
    r = Run("compute " + sample + " -0.5");
    EXPECT_EQ(r.out, "0.0000000E+000\n");
    // What is no number is a usage error, told as the Compute page tells it.
    const std::pair<const char*, std::string> refused[] = {
        {"1-2", "Negative sign must be 1st!\n"},
        {"''", "X value may NOT be empty!\n"},
        {"1e", "'1e' is NOT a valid number!\n"},
        {"+-1", "'+-1' is NOT a valid number!\n"},
        {".", "'.' is NOT a valid number!\n"},
        {"1e309", "Value is beyond the range of numbers (about 1.8E+308)!\n"},
    };
    for (const auto& [value, message] : refused) {
        r = Run("compute " + sample + " " + value);
        EXPECT_EQ(r.status, 2) << value;
        EXPECT_EQ(r.out, "") << value;
        EXPECT_EQ(r.err, message) << value;
    }
    r = Run("compute " + sample + " 1e308"); // a value whose Y is not one
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "The curve's Y there is beyond the range of numbers (about 1.8E+308)!\n");
    // A log-log model has no value at X <= 0.
    std::string bytes = test::TempDir::Read(sample);
    bytes.replace(bytes.find("\r\n0\r\n"), 5, "\r\n1\r\n");
    const std::string loglog = dir.Write("loglog.dat", bytes);
    r = Run("compute " + loglog + " 0");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "X may not be <= 0.0!\nCan't compute Y from X (Log-Log)\n");
    EXPECT_EQ(Run("compute " + sample).status, 2);
}

TEST_F(CliFit, UsageErrors) {
    EXPECT_EQ(Run("fit").status, 2);
    EXPECT_EQ(Run("fit " + sample + " --model cubic").status, 2);
    EXPECT_EQ(Run("fit " + sample + " --save").status, 2);
    EXPECT_EQ(Run("report").status, 2);
    EXPECT_EQ(Run("report " + dir.Path("none.dat")).status, 1);
}

TEST_F(CliFit, TheUsageTextsNameEveryModel) {
    EXPECT_EQ(Run("fit").err, "usage: lumetra-cli fit FILE [--model poly|loglog|semilogy|semilogx] "
                              "[--order N] [--method classic|accurate] "
                              "[--weights none|sigma|1/x|1/x2|1/y|1/y2|replicates] [--absolute] "
                              "[--save OUT]\n");
    EXPECT_EQ(Run("import").err,
              "usage: lumetra-cli import TEXTFILE --save OUT [--title T] [--xtitle T] "
              "[--ytitle T] [--model poly|loglog|semilogy|semilogx] [--order N] "
              "[--method classic|accurate] [--weights none|sigma|1/x|1/x2|1/y|1/y2|replicates] "
              "[--absolute] [--skip-bad-lines] [--sigma]\n");
    const std::string usage = Run("").err;
    EXPECT_EQ(usage.rfind("usage: lumetra-cli COMMAND ARGS\ncommands:\n", 0), 0u);
    EXPECT_NE(usage.find("\n  fit FILE [--model poly|loglog|semilogy|semilogx] [--order N] "
                         "[--method classic|accurate]\n"
                         "           [--weights none|sigma|1/x|1/x2|1/y|1/y2|replicates] "
                         "[--absolute] [--save OUT]\n"
                         "                fit the data with these settings"),
              std::string::npos);
    const test::CliResult r = Run("fit " + sample + " --model semilogy");
    EXPECT_NE(r.out.find("         Curve Type:  Semilog Y=Ae^BX\n"), std::string::npos);
}

} // namespace
} // namespace lumetra
