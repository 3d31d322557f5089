#include "data/NumberFormat.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace lumetra {
namespace {

TEST(NumberFormat, ExponentsHaveAtLeastThreeDigitsAndKeepTheWidth) {
    EXPECT_EQ(FormatC("%-16.5E", {1234.5}), "1.23450E+003    ");
    EXPECT_EQ(FormatC("%E", {12.3456}), "1.234560E+001");
    EXPECT_EQ(FormatC("%E", {0.0}), "0.000000E+000");
    EXPECT_EQ(FormatC("%E", {0.00012345}), "1.234500E-004");
    EXPECT_EQ(FormatC("%E", {-1e300}), "-1.000000E+300");
    EXPECT_EQ(FormatC("%16.5E", {1234.5}), "    1.23450E+003");
    EXPECT_EQ(FormatC("%e", {5e-7}), "5.000000e-007");
    EXPECT_EQ(FormatC("%.0E", {5.0}), "5E+000");
    EXPECT_EQ(FormatC("%#.0E", {5.0}), "5.E+000");
    EXPECT_EQ(FormatC("%g", {1e-10}), "1e-010");
    EXPECT_EQ(FormatC("%G", {0.5}), "0.5");
}

TEST(NumberFormat, FixedFollowsPrintf) {
    EXPECT_EQ(FormatC("%-16.5lf", {1.23456}), "1.23456         ");
    EXPECT_EQ(FormatC("%lf", {-0.5}), "-0.500000");
    EXPECT_EQ(FormatC("%7.4lf", {1.0}), " 1.0000");
    EXPECT_EQ(FormatC("%.2f", {2.675}), "2.67"); // the double below 2.675 rounds down
    EXPECT_EQ(FormatC("%.0f", {0.5}), "0");      // ties to even, as printf
    EXPECT_EQ(FormatC("%08.3f", {-3.14159}), "-003.142");
    EXPECT_EQ(FormatC("%+.1f", {2.0}), "+2.0");
    EXPECT_EQ(FormatC("% .1f", {2.0}), " 2.0");
    EXPECT_EQ(FormatC("%.1f", {-0.0}), "-0.0");
    EXPECT_EQ(FormatC("%.3f", {1e20}), "100000000000000000000.000");
}

TEST(NumberFormat, NonFiniteValues) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FormatC("%lf", {inf}), "inf");
    EXPECT_EQ(FormatC("%-6E|", {-inf}), "-INF  |");
    EXPECT_EQ(FormatC("%f", {std::nan("")}), "nan");
}

TEST(NumberFormat, IntegersStringsAndLiterals) {
    EXPECT_EQ(FormatC("%%-%d.%dlf", {16, 5}), "%-16.5lf");
    EXPECT_EQ(FormatC("%d %%processed", {30}), "30 %processed");
    EXPECT_EQ(FormatC("[%5d|%-5d|%05d|%+d]", {42, -7, 42, 3}), "[   42|-7   |00042|+3]");
    EXPECT_EQ(FormatC("%s\t%s", {"a", std::string("b")}), "a\tb");
    EXPECT_EQ(FormatC("[%-4s|%4s|%.2s]", {"ab", "ab", "abcdef"}), "[ab  |  ab|ab]");
    EXPECT_EQ(FormatC("%c!", {int('x')}), "x!");
    EXPECT_EQ(FormatC("no directives", {}), "no directives");
    EXPECT_EQ(FormatC("%d and %d", {1}), "1 and "); // a missing argument prints nothing
    EXPECT_EQ(FormatC("%d", {1.5}), "");            // nor does one of the wrong kind
    EXPECT_EQ(FormatC("50%", {}), "50%");
}

// Where the differential fuzzer found FormatC apart from snprintf; the expected texts are glibc's.
TEST(NumberFormat, FollowsTheCLibraryWhereItOnceDiffered) {
    EXPECT_EQ(FormatC("[%+u|% u|%+d]", {7, 7, 7}), "[7|7|+7]"); // no sign on an unsigned
    // '#' keeps %g's trailing zeros, in either form.
    EXPECT_EQ(FormatC("[%#g|%#.3g|%#G|%#.2g]", {1.0, 0.0, 1e-5, 123.0}),
              "[1.00000|0.00|1.00000E-005|1.2e+002]");
    // A precision longer than any double's digits: zeros to the end, not what lay in memory.
    EXPECT_EQ(FormatC("%.2047f", {0.5}), "0.5" + std::string(2046, '0'));
    const std::string large = FormatC("%.1999e", {1e308});
    EXPECT_EQ(large.size(), 2006u);
    EXPECT_EQ(large.substr(large.size() - 9), "0000e+308");
}

TEST(NumberFormat, CompiledFormatAppendsManyTimes) {
    const CompiledFormat row("%-16.5lf\t%-16.5lf\r\n");
    std::string out;
    row.Append(out, {0.0, 1.0});
    row.Append(out, {2.0, 5.0});
    EXPECT_EQ(out, "0.00000         \t1.00000         \r\n"
                   "2.00000         \t5.00000         \r\n");
}

TEST(NumberFormat, DecimalPointIsAPointInEveryLocale) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale on this machine";
    const std::string fixed = FormatC("%-16.5lf", {1234.5});
    const std::string exponent = FormatC("%E", {1234.5});
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(fixed, "1234.50000      ");
    EXPECT_EQ(exponent, "1.234500E+003");
}

} // namespace
} // namespace lumetra
