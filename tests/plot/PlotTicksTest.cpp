// Readable and logarithmic ticks; the values are worked out by hand from the rule (1, 2 or 5
// times a power of ten; decades).
#include "plot/PlotTicks.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumetra {
namespace {

TEST(TidyScale, WidensToWholeStepsAndLabelsInTheFewestDigits) {
    struct Case {
        double min, max;
        int intervals;
        double step;
        std::vector<std::string> labels;
    } cases[] = {
        {0.00132,
         0.00197,
         8,
         1e-4,
         {"0.0013", "0.0014", "0.0015", "0.0016", "0.0017", "0.0018", "0.0019", "0.0020"}},
        {2024, 2026, 8, 0.5, {"2024.0", "2024.5", "2025.0", "2025.5", "2026.0"}},
        {2024, 2026, 5, 0.5, {"2024.0", "2024.5", "2025.0", "2025.5", "2026.0"}},
        {-3.2e6, 4.1e7, 5, 1e7, {"-1E+007", "0", "1E+007", "2E+007", "3E+007", "4E+007", "5E+007"}},
        // Far from zero: plain is shorter than 1.0000001E+006.
        {1e6 + 0.1,
         1e6 + 0.75,
         5,
         0.2,
         {"1000000.0", "1000000.2", "1000000.4", "1000000.6", "1000000.8"}},
        // Whole steps that are multiples of 0.1 in decimal but not in binary.
        {0.3, 0.7, 4, 0.1, {"0.3", "0.4", "0.5", "0.6", "0.7"}},
        {-5, 5, 5, 2, {"-6", "-4", "-2", "0", "2", "4", "6"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.min);
        const std::optional<TidyScale> scale = TidyLinearScale(c.min, c.max, c.intervals);
        ASSERT_TRUE(scale);
        EXPECT_DOUBLE_EQ(scale->step, c.step);
        EXPECT_LE(scale->lo, c.min * (1 + 1e-12));
        EXPECT_GE(scale->hi, c.max * (1 - 1e-12));
        EXPECT_EQ(TidyLabels(scale->ticks, scale->step), c.labels);
    }
}

TEST(TidyScale, NoStepWhereDoublesCannotTellTheTicksApart) {
    EXPECT_FALSE(TidyLinearScale(5, 5, 8));          // constant data
    EXPECT_FALSE(TidyLinearScale(1, 1 + 4e-16, 8));  // a range of two units in the last place
    EXPECT_FALSE(TidyLinearScale(-1e308, 1e308, 8)); // wider than the doubles reach
    EXPECT_TRUE(TidyLinearScale(1, 1 + 1e-9, 8));    // tiny, yet ticks of its own
}

std::vector<std::string> Labelled(const std::vector<LogTick>& ticks) {
    std::vector<std::string> out;
    for (const LogTick& t : ticks)
        if (t.labelled)
            out.push_back(LogTickLabel(t));
    return out;
}

TEST(LogTicks, DecadesThenOneTwoFiveThenEveryMultiple) {
    struct Case {
        double lo, hi;
        std::vector<std::string> labels;
        size_t ticks;
    } cases[] = {
        {1, 1000, {"1", "10", "100", "1000"}, 4 + 3 * 8}, // the multiples 2 to 9 between
        {0.002, 0.008, {"0.002", "0.005"}, 2},
        {2, 3, {"2", "3"}, 2},
        {2.1, 2.9, {}, 0}, // the caller labels the ends
        {1e-10, 1e10, {"1E-009", "1E-006", "0.001", "1", "1000", "1E+006", "1E+009"}, 21},
        {3e5, 2e7, {"1E+006", "1E+007"}, 7 + 1 + 8 + 1 + 1}, // 3 to 9 E+005, ..., 2E+007
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lo);
        const std::vector<LogTick> ticks = LogTicks(c.lo, c.hi);
        EXPECT_EQ(Labelled(ticks), c.labels);
        EXPECT_EQ(ticks.size(), c.ticks);
        for (const LogTick& t : ticks) {
            EXPECT_GE(t.Value(), c.lo * (1 - 1e-12));
            EXPECT_LE(t.Value(), c.hi * (1 + 1e-12));
        }
    }
}

TEST(LogTicks, ReadableRangesEndOnOneTwoOrFive) {
    struct Case {
        double min, max, lo, hi;
    } cases[] = {{0.00132, 0.00197, 0.001, 0.002},
                 {3, 70, 2, 100},
                 {1, 1000, 1, 1000},
                 {2024, 2026, 2000, 5000}};
    for (const Case& c : cases) {
        const LogRange r = TidyLogRange(c.min, c.max);
        EXPECT_DOUBLE_EQ(r.lo, c.lo) << c.min;
        EXPECT_DOUBLE_EQ(r.hi, c.hi) << c.max;
    }
    EXPECT_EQ(LogTickLabel({5, -5}), "5E-005");
    EXPECT_EQ(LogTickLabel({5, -4}), "0.0005");
    EXPECT_EQ(LogTickLabel({2, 5}), "200000");
}

} // namespace
} // namespace lumetra
