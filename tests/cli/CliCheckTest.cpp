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
