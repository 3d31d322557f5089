#include "report/ReportPrinting.h"

#include "data/LumetraDoc.h"
#include "report/ReportBuilder.h"
#include "support/DocTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumetra {
namespace {

// Records what a printed page draws.
struct RecordingTarget : PrintTarget {
    struct Line {
        int x, y;
        std::string text;
        PrintTabStops stops;
    };
    FontMetrics metrics{226, 120};
    std::vector<Line> lines;
    int fontsSelected = 0, fontsRestored = 0;

    FontMetrics SelectPrintFont() override {
        ++fontsSelected;
        return metrics;
    }
    void TabbedTextOut(int x, int y, std::string_view text, const PrintTabStops& stops) override {
        EXPECT_EQ(fontsSelected, fontsRestored + 1) << "drawn without the print font";
        lines.push_back({x, y, std::string(text), stops});
    }
    void RestoreFont() override { ++fontsRestored; }
};

struct Printing : test::DocTest {

    void SetLines(int n) {
        doc.m_pReportLines.clear();
        for (int i = 0; i < n; ++i)
            doc.m_pReportLines.push_back("line " + std::to_string(i));
        doc.m_nLineCount = n;
    }
    RecordingTarget Print(int page) {
        RecordingTarget target;
        PrintReportPage(doc, page, target);
        return target;
    }
};

TEST_F(Printing, PageCountIsTheCeilingOfFiftyFiveLinesAPage) {
    EXPECT_EQ(PrintPageCount(0, 55), 0);
    EXPECT_EQ(PrintPageCount(1, 55), 1);
    EXPECT_EQ(PrintPageCount(55, 55), 1);
    EXPECT_EQ(PrintPageCount(56, 55), 2);
    EXPECT_EQ(PrintPageCount(110, 55), 2);
    EXPECT_EQ(PrintPageCount(111, 55), 3);
    EXPECT_EQ(PrintPageCount(128001, 55), 2328);
    EXPECT_EQ(PrintPageCount(-4, 55), 0);
}

TEST_F(Printing, PreparingSetsThePageCountAndAnEmptyReportGivesNone) {
    EXPECT_EQ(doc.m_nLinesPerPage, 55);
    SetLines(56);
    EXPECT_EQ(PreparePrinting(doc), 2);
    EXPECT_EQ(doc.m_nPageCount, 2);
    SetLines(0);
    EXPECT_EQ(PreparePrinting(doc), 0);
    EXPECT_EQ(doc.m_nPageCount, 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Printing, FiftyFiveLinesFillOnePageStepByStepDownward) {
    SetLines(55);
    const RecordingTarget page = Print(1);
    ASSERT_EQ(page.lines.size(), 55u);
    for (int i = 0; i < 55; ++i) {
        EXPECT_EQ(page.lines[size_t(i)].text, "line " + std::to_string(i));
        EXPECT_EQ(page.lines[size_t(i)].x, 10);
        EXPECT_EQ(page.lines[size_t(i)].y, -226 * i);
    }
    EXPECT_EQ(page.fontsSelected, 1);
    EXPECT_EQ(page.fontsRestored, 1);
}

TEST_F(Printing, TheFiftySixthLineIsAloneOnPageTwoAtTheTop) {
    SetLines(56);
    const RecordingTarget first = Print(1);
    ASSERT_EQ(first.lines.size(), 55u);
    EXPECT_EQ(first.lines.back().text, "line 54");
    const RecordingTarget second = Print(2);
    ASSERT_EQ(second.lines.size(), 1u);
    EXPECT_EQ(second.lines[0].text, "line 55");
    EXPECT_EQ(second.lines[0].y, 0);
    // A page beyond the report draws nothing but still gives its font back.
    const RecordingTarget third = Print(3);
    EXPECT_TRUE(third.lines.empty());
    EXPECT_EQ(third.fontsRestored, 1);
}

TEST_F(Printing, TabStopsAreMultiplesOf22AverageWidthsFromTheLeftEdge) {
    EXPECT_EQ(PrintTabStopsFor(120), (PrintTabStops{2640, 5280, 7920, 10560}));
    SetLines(1);
    doc.m_pReportLines[0] = "a\tb\tc\td";
    const RecordingTarget page = Print(1);
    ASSERT_EQ(page.lines.size(), 1u);
    EXPECT_EQ(page.lines[0].text, "a\tb\tc\td"); // TABs reach the target for it to expand
    EXPECT_EQ(page.lines[0].stops, (PrintTabStops{2640, 5280, 7920, 10560}));
}

TEST_F(Printing, AReportAtTheLineLimitEndsWithSixteenLinesAndTheNote) {
    SetLines(kReportLineLimit);
    doc.m_pReportLines.push_back(kLineLimitNote);
    doc.m_nLineCount = kReportLineLimit + 1;
    EXPECT_EQ(PreparePrinting(doc), 2328);
    const RecordingTarget last = Print(2328);
    ASSERT_EQ(last.lines.size(), 16u);
    EXPECT_EQ(last.lines.front().text, "line " + std::to_string(2327 * 55));
    EXPECT_EQ(last.lines.back().text, kLineLimitNote);
    EXPECT_EQ(last.lines.back().y, -226 * 15);
}

TEST_F(Printing, ALineCountBeyondTheStoredLinesIsNotReadPast) {
    SetLines(3);
    doc.m_nLineCount = 10;
    EXPECT_EQ(Print(1).lines.size(), 3u);
}

TEST(PrintTexts, MessagesNameTheFileAndThePreviewSettingIsOneTwoOrAll) {
    EXPECT_EQ(NoPrinterMessage("/d/a.dat"),
              "No printer is installed!\nThe report of /d/a.dat was not printed.");
    EXPECT_EQ(PrintFailedMessage("/d/a.dat"),
              "The printer could not start!\nThe report of /d/a.dat was not printed.");
    EXPECT_EQ(ReadPreviewPages("2"), 2);
    EXPECT_EQ(ReadPreviewPages("0"), 0);
    EXPECT_EQ(ReadPreviewPages("1"), 1);
    EXPECT_EQ(ReadPreviewPages(""), 1);
    EXPECT_EQ(ReadPreviewPages("3"), 1);
    EXPECT_EQ(ReadPreviewPages(" 2"), 1);
}

} // namespace
} // namespace lumetra
