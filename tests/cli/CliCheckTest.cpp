#include "support/CliRun.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

using CliCheck = test::CliTest;

TEST_F(CliCheck, PrintsWhatTheSampleHolds) {
    test::CliResult r = Run("check " + sample);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "Data title:  Test\n"
                     "X title:     X\n"
                     "Y title:     Y\n"
                     "Curve type:  0 (Polynomial)\n"
                     "Curve order: 1\n"
                     "Sum of absolute differences: 0.000000\n"
                     "Coefficient of performance:  1.000000\n"
                     "XINT: 0.000000  YINT: 0.000000\n"
                     "X display:   fixed, 5 decimals\n"
                     "Y display:   fixed, 5 decimals\n"
                     "C[1] = 2.00000\n"
                     "C[2] = 1.00000\n"
                     "Pairs:       2\n"
                     "X from 0.00000 to 2.00000\n"
                     "Y from 1.00000 to 5.00000\n");
}

// A fit other than the plain one of old, and standard deviations, are named; a plain file's lines
// stay as they were (above).
TEST_F(CliCheck, NamesTheMethodTheWeightingAndThePairsWithAStandardDeviation) {
    const std::string file = SaveData({{1, 2, 0, 0, 0.1}, {2, 4.1}, {3, 5.9, 0, 0, 0.2}});
    const std::string fitted = dir.Path("fitted.dat");
    ASSERT_EQ(Run("fit " + file + " --weights 1/x --method accurate --save " + fitted).status, 0);
    const std::string out = Run("check " + fitted).out;
    EXPECT_NE(out.find("Curve order: 1\nFit method:  accurate\nWeighting:   1/X, relative\nSum"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("Pairs:       3\nWith a standard deviation: 2\nX from"), std::string::npos)
        << out;
}

// Both commands that only read: a refused file gives the reader's message and status one.
TEST_F(CliCheck, ARefusedFileGivesTheReadersMessageAndStatusOne) {
    const std::string path = dir.Write("numbers.dat", "1 2\r\n");
    for (const std::string verb : {"check ", "report "}) {
        test::CliResult r = Run(verb + path);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "File " + path +
                             ": was NOT saved by this application!\nYou may import data only thru "
                             "the Data tab!\nStopping file read!\n");
        r = Run(verb + dir.Path("none.dat"));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, dir.Path("none.dat") + " was not found.\n");
    }
}

TEST_F(CliCheck, UsageErrorsGiveStatusTwo) {
    EXPECT_EQ(Run("").status, 2);
    EXPECT_EQ(Run("check").status, 2);
    test::CliResult r = Run("frobnicate x");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("lumetra-cli: unknown command 'frobnicate'\n", 0), 0u);
}

} // namespace
} // namespace lumetra
