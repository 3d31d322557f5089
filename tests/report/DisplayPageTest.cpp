#include "report/DisplayPage.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(DisplayPage, RangesAndClamping) {
    EXPECT_EQ(DisplayPageRange(1, 32000, 50000).first, 0);
    EXPECT_EQ(DisplayPageRange(1, 32000, 50000).last, 32000);
    EXPECT_EQ(DisplayPageRange(2, 32000, 50000).first, 32000);
    EXPECT_EQ(DisplayPageRange(2, 32000, 50000).last, 50000);
    EXPECT_EQ(ClampDisplayPage(0, 5), 1);
    EXPECT_EQ(ClampDisplayPage(-3, 5), 1);
    EXPECT_EQ(ClampDisplayPage(9, 5), 5);
    EXPECT_EQ(ClampDisplayPage(3, 5), 3);
}

TEST(DisplayPage, StatusTexts) {
    EXPECT_EQ(PageLinesText(1, 1, 32000, 120), "120/120 Lines");
    EXPECT_EQ(PageNumberText(1, 1), "Display Page 1 of 1");
    EXPECT_EQ(PageLinesText(1, 2, 32000, 50000), "32000/50000 Lines");
    EXPECT_EQ(PageLinesText(2, 2, 32000, 50000), "18000/50000 Lines");
    EXPECT_EQ(PageNumberText(2, 2), "Display Page 2 of 2");
    // The line-limit note alone on the last page.
    EXPECT_EQ(PageLinesText(5, 5, 32000, 128001), "1/128001 Lines");
}

TEST(DisplayPage, ProgressCountsInTenthsOfTheEndIndex) {
    std::vector<PageStep> first = DisplayPageSteps(0, 100);
    ASSERT_EQ(first.size(), 9u);
    EXPECT_EQ(first[0].after, 11);
    EXPECT_EQ(first[0].percent, 10);
    EXPECT_EQ(first[8].after, 91);
    EXPECT_EQ(first[8].percent, 90);
    // A later page climbs within its first lines to about 100 × first ÷ last, then advances.
    std::vector<PageStep> second = DisplayPageSteps(50, 100);
    ASSERT_GE(second.size(), 5u);
    EXPECT_EQ(second[0].after, 50);
    EXPECT_EQ(second[0].percent, 10);
    EXPECT_EQ(second[4].after, 54);
    EXPECT_EQ(second[4].percent, 50);
    EXPECT_EQ(second.back().percent, 90);
    EXPECT_TRUE(DisplayPageSteps(0, 1).empty());
}

} // namespace
} // namespace lumetra
