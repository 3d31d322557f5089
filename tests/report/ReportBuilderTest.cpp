#include "report/ReportBuilder.h"

#include "data/LumetraDoc.h"
#include "platform/MemorySettingsStore.h"
#include "support/ExampleFile.h"
#include "support/FailLargeAllocations.h"
#include "support/RecordingUi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace lumetra {
namespace {

using Lines = std::vector<std::string>;

const std::string kRule(80, '-');
const std::string kTableHeaderXY =
    "|-------- X --------|\t|-------- Y --------|\t|- Computed Value --|\t|--- Difference ----|";

// A recording Ui that can act while messages are pumped, as a user would during a build.
struct PumpingUi : test::RecordingUi {
    std::function<void()> onPump;
    void PumpMessages() override {
        RecordingUi::PumpMessages();
        if (onPump)
            onPump();
    }
};

struct EventListener : ReportListener {
    const CLumetraDoc* doc = nullptr;
    Lines events;
    void OnLineShown(int index) override { events.push_back("shown " + std::to_string(index)); }
    void OnShownListEmptied() override {
        events.push_back("emptied with " + std::to_string(doc->m_pReportLines.size()) +
                         " lines stored");
    }
    void OnHorizontalExtent(int chars) override {
        events.push_back("extent " + std::to_string(chars));
    }
};

struct Report : ::testing::Test {
    PumpingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc{ui, settings};

    void SetUp() override { test::FillExample(doc); }

    Lines Build(int linesPerPage = kReportLineLimit, ReportListener* listener = nullptr) {
        ReportBuilder builder(doc, linesPerPage, listener);
        builder.BuildReport();
        return doc.m_pReportLines;
    }

    // A table of `count` equal rows; the statistics are not theirs, so no note on equal values
    // joins the header.
    void SetPairs(int count) {
        doc.m_pPairs.assign(size_t(count), CXYdata{1.0, 2.0, 2.0, 0.0});
        doc.m_nPairs = count;
        doc.m_dPerformance = 0.5;
    }

    // The lines from "Fitted Curve:" up to, not including, the blank line before the table.
    Lines EquationBlock() {
        const Lines lines = Build();
        auto from = std::find(lines.begin(), lines.end(), "         Fitted Curve:");
        auto to = std::find(from, lines.end(), " ");
        EXPECT_NE(to, lines.end());
        return Lines(from + 1, to);
    }

    std::string TableHeader() {
        const Lines lines = Build();
        auto blank = std::find(lines.begin(), lines.end(), " ");
        return blank + 1 < lines.end() ? *(blank + 1) : std::string();
    }
};

std::string Row(const std::string& x, const std::string& y, const std::string& c,
                const std::string& d) {
    return test::Wide16(x) + "\t" + test::Wide16(y) + "\t" + test::Wide16(c) + "\t" +
           test::Wide16(d);
}

TEST_F(Report, PolynomialOfOrderThreeByteForByte) {
    doc.m_strDataTitle = "Bridge deflection";
    doc.m_strFileName = "/home/ada/bridge.dat";
    doc.m_nOrder = 3;
    doc.m_dCoef[0] = 1.5;
    doc.m_dCoef[1] = -2.25;
    doc.m_dCoef[2] = 0.0;
    doc.m_dCoef[3] = 1234.5;
    doc.m_dCoef[4] = 99.0; // beyond C[n+1]: never printed
    doc.m_dSumAbsDiff = 12.3456;
    doc.m_dPerformance = 0.875;
    EXPECT_EQ(Build(), (Lines{
                           kRule,
                           "         Data Title:  Bridge deflection",
                           "         Data File:   /home/ada/bridge.dat",
                           kRule,
                           "         Curve Type:  Polynomial",
                           "         Curve Order: 3",
                           kRule,
                           "         Sum of Absolute (Y-YComp): 1.234560E+001",
                           "         Fit Coefficient of Performance:  0.8750",
                           kRule,
                           "         Fitted Curve:",
                           "         Y=C[1]*X^n + C[2]*X^(n-1) + ... + C[n]*X + C[n+1] where n = "
                           "3 and",
                           "              C[1] = 1.50000         ",
                           "              C[2] = -2.25000        ",
                           "              C[3] = 0.00000         ",
                           "              C[4] = 1234.50000      ",
                           " ",
                           kTableHeaderXY,
                           Row("0.00000", "1.00000", "1.00000", "0.00000"),
                           Row("2.00000", "5.00000", "5.00000", "0.00000"),
                       }));
    EXPECT_EQ(doc.m_nLineCount, 20);
}

// An excluded pair is counted among the model lines, its row marked and the mark explained once
// after the table.
TEST_F(Report, ExcludedPairsAreCountedAndTheirRowsMarked) {
    doc.m_eWeights = WeightScheme::InverseY;
    doc.m_pPairs.push_back({4.0, 7.0, 9.0, -2.0, 0.0, true});
    doc.m_nPairs = 3;
    const Lines lines = Build();
    EXPECT_EQ(Lines(lines.begin() + 4, lines.begin() + 9),
              (Lines{"         Curve Type:  Polynomial", "         Curve Order: 1",
                     "         Weighting:   1/Y, relative",
                     "         Excluded from the fit: 1 of 3 pairs", kRule}));
    EXPECT_EQ(Lines(lines.end() - 4, lines.end()),
              (Lines{Row("0.00000", "1.00000", "1.00000", "0.00000"),
                     Row("2.00000", "5.00000", "5.00000", "0.00000"),
                     Row("4.00000", "7.00000", "9.00000", "-2.00000") + " (excluded)",
                     "         (excluded): left out of the fit; the row shows the curve at its "
                     "input."}));
}

TEST_F(Report, LogLogPrintsYintBeforeXintWithSixDecimals) {
    doc.m_nCurveType = 1;
    doc.m_nOrder = 2;
    doc.m_dYInt = 0.5;
    doc.m_dXInt = -1.25;
    doc.m_dCoef[0] = 3.0;
    doc.m_dCoef[1] = 2.0;
    doc.m_dCoef[2] = 1.0;
    const Lines lines = Build();
    EXPECT_EQ(lines[4], "         Curve Type:  Log-Log Polynomial");
    EXPECT_EQ(lines[5], "         Curve Order: 2");
    EXPECT_EQ(
        EquationBlock(),
        (Lines{"         G=C[1]*H^n + C[2]*H^(n-1) + ... + C[n]*H + C[n+1] where n = 2 and ",
               "              G=Log10(Y)-YINT and H = Log10(X)-XINT therefore:",
               "              Y = 10^(G+YINT) and:",
               "              YINT = 0.500000 and XINT = -1.250000 and:",
               "              C[1] = 3.00000         ", "              C[2] = 2.00000         ",
               "              C[3] = 1.00000         "}));
}

TEST_F(Report, SemilogModelsHaveNoOrderLineAndTwoCoefficients) {
    doc.m_nCurveType = 2;
    doc.m_nOrder = 4; // ignored by the semilog models
    doc.m_dCoef[0] = 2.5;
    doc.m_dCoef[1] = -0.5;
    Lines lines = Build();
    EXPECT_EQ(lines[4], "         Curve Type:  Semilog Y=Ae^BX");
    EXPECT_EQ(lines[5], kRule);
    EXPECT_EQ(lines[6], "         Sum of Absolute (Y-YComp): 0.000000E+000");
    EXPECT_EQ(EquationBlock(),
              (Lines{"         Y=C[1]*exp(C[2]*X) where:", "              C[1] = 2.50000         ",
                     "              C[2] = -0.50000        "}));

    doc.m_nCurveType = 3;
    doc.m_dSumAbsDiff = 0.001;
    lines = Build();
    EXPECT_EQ(lines[4], "         Curve Type:  Semilog X=Ae^BY");
    EXPECT_EQ(lines[6], "         Sum of Absolute (X-XComp): 1.000000E-003");
    EXPECT_EQ(EquationBlock(),
              (Lines{"         X=C[1]*exp(C[2]*Y) where:", "              C[1] = 2.50000         ",
                     "              C[2] = -0.50000        "}));
}

TEST_F(Report, CoefficientsUseTheWideFormat) {
    doc.m_bYFixed = 0;
    doc.m_nYDecimals = 3;
    doc.BuildFormats(); // exponent form with X's five decimals
    doc.m_dCoef[0] = 1234.5;
    doc.m_dCoef[1] = -0.000125;
    doc.m_dPerformance = 100.0;
    EXPECT_EQ(
        EquationBlock(),
        (Lines{"         Y=C[1]*X^n + C[2]*X^(n-1) + ... + C[n]*X + C[n+1] where n = 1 and",
               "              C[1] = 1.23450E+003    ", "              C[2] = -1.25000E-004   "}));
    EXPECT_EQ(doc.m_pReportLines[8], "         Fit Coefficient of Performance: 100.0000");
}

// A line that shows fewer than six significant digits of a coefficient, and so not the coefficient
// itself, adds its full value.
TEST_F(Report, ACoefficientShownWithFewDigitsGetsItsFullValue) {
    struct Case {
        int decimals, fixed;
        double coef;
        const char* line;
    } cases[] = {
        {5, 1, -3.0517578125e-05, "-0.00003        (full value -3.0517578125E-005)"},
        {5, 1, 0.0123456, "0.01235         (full value 0.0123456)"},
        {5, 1, 1.234567, "1.23457         "},
        {5, 1, 0.0, "0.00000         "},
        {5, 1, -0.0, "-0.00000        "},
        {2, 1, 2.0, "2.00            "}, // all there is
        {2, 1, 2.5e-7, "0.00            (full value 2.5E-007)"},
        {3, 0, 1234.5678, "1.235E+003      (full value 1234.5678)"},
        {5, 0, 1234.5678, "1.23457E+003    "},
        {0, 1, 123456.7, "123457          "},
        {0, 1, 12345.5, "12346           (full value 12345.5)"},
        {14, 1, 1e-20, "0.00000000000000 (full value 1E-020)"},
        {14, 1, 123456789012345.5, "123456789012345.50000000000000"},
    };
    for (const Case& c : cases) {
        doc.m_nXDecimals = doc.m_nYDecimals = c.decimals;
        doc.m_bXFixed = doc.m_bYFixed = c.fixed;
        doc.BuildFormats();
        doc.m_dCoef[0] = c.coef;
        EXPECT_EQ(EquationBlock()[1], std::string("              C[1] = ") + c.line) << c.line;
    }
}

TEST_F(Report, OrderTenPrintsElevenCoefficients) {
    doc.m_nOrder = 10;
    for (int i = 0; i < 11; ++i)
        doc.m_dCoef[i] = i;
    const Lines block = EquationBlock();
    ASSERT_EQ(block.size(), 12u);
    EXPECT_EQ(block[11], "              C[11] = 10.00000        ");
}

TEST_F(Report, TableHeaderCentresTheTitles) {
    EXPECT_EQ(TableHeader(), kTableHeaderXY);
    doc.m_strXTitle = "Temp";
    doc.m_strYTitle = "";
    EXPECT_EQ(TableHeader(),
              "|------ Temp -------|\t|--------  ---------|\t|- Computed Value --|\t|--- "
              "Difference ----|");
    doc.m_strXTitle = "Nineteen characters";
    doc.m_strYTitle = "Eighteen character";
    EXPECT_EQ(TableHeader(), " Nineteen characters \t Eighteen character |\t|- Computed Value "
                             "--|\t|--- Difference ----|");
}

TEST_F(Report, TitlesLongerThanACellAreCutToNineteenCharacters) {
    doc.m_strXTitle = "Twenty-five characters!!!";
    doc.m_strYTitle = "Twenty characters!!!";
    EXPECT_EQ(TableHeader(), " Twenty-five charact \t Twenty characters!! \t|- Computed Value "
                             "--|\t|--- Difference ----|");
}

// Titles are centred, padded and cut by characters, so units such as °C or µm keep their cells.
TEST_F(Report, TitlesAreCountedInCharactersNotBytes) {
    doc.m_strXTitle = "Temp\xc3\xa9rature"; // 11 characters in 12 bytes
    doc.m_strYTitle = "Length \xc2\xb5m";   // µm: 9 characters
    EXPECT_EQ(TableHeader(), "|--- Temp\xc3\xa9rature ---|\t|---- Length \xc2\xb5m ----|\t|- "
                             "Computed Value --|\t|--- Difference ----|");
    std::string e11;
    for (int i = 0; i < 11; ++i)
        e11 += "\xc3\xa9";
    doc.m_strXTitle = e11;
    doc.m_strYTitle = e11 + e11; // 22 characters: cut after the 19th, never inside one
    const std::string header = TableHeader();
    EXPECT_EQ(header.substr(0, header.find("\t|-")),
              "|--- " + e11 + " ---|\t " + e11 + e11.substr(0, 16) + " ");
    doc.m_strXTitle = "\xe2\x88\x86T \xc2\xb0"
                      "C"; // ∆T °C: a three-byte character too
    doc.m_strYTitle = "Y";
    const std::string cells = TableHeader();
    EXPECT_EQ(cells.substr(0, cells.find('\t')), "|------ \xe2\x88\x86T \xc2\xb0"
                                                 "C ------|");
}

TEST_F(Report, NoPairsGiveTheWholeHeaderAndNoRows) {
    doc.m_pPairs.clear();
    doc.m_nPairs = 0;
    const Lines lines = Build();
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], kRule);
    EXPECT_EQ(lines[1], "         Data Title:  Test");
    EXPECT_EQ(lines[2], "         Data File:   UnNamed File");
    EXPECT_EQ(lines[14], " ");
    EXPECT_EQ(lines[15], kTableHeaderXY);
    EXPECT_EQ(doc.m_nLineCount, 16);
    EXPECT_EQ(ui.status[0].back(), "Ready");
}

TEST_F(Report, LongTitlesAndFileNamesAreNotCut) {
    doc.m_strDataTitle = std::string(300, 't');
    doc.m_strFileName = "/" + std::string(250, 'f');
    const Lines lines = Build();
    EXPECT_EQ(lines[1], "         Data Title:  " + std::string(300, 't'));
    EXPECT_EQ(lines[2], "         Data File:   /" + std::string(250, 'f'));
    EXPECT_EQ(doc.m_nMaxLineLen, 322);
}

TEST_F(Report, LongestLineOnlyGrows) {
    Build();
    EXPECT_EQ(doc.m_nMaxLineLen, 100);

    ReportBuilder builder(doc, kReportLineLimit);
    builder.AddReportLine(std::string(100, 'a'));
    EXPECT_EQ(doc.m_nMaxLineLen, 100);
    builder.AddReportLine(std::string(101, 'a'));
    EXPECT_EQ(doc.m_nMaxLineLen, 101);
    builder.AddReportLine("short");
    builder.ClearReport();
    EXPECT_EQ(doc.m_nMaxLineLen, 101);
    EXPECT_EQ(doc.m_nLineCount, 0);
    EXPECT_TRUE(doc.m_pReportLines.empty());
}

TEST_F(Report, LineLimitAppendsTheNoteOncePerBuilder) {
    EventListener listener;
    listener.doc = &doc;
    ReportBuilder builder(doc, 200000, &listener);
    doc.m_nMaxLineLen = 0;
    for (int i = 0; i < kReportLineLimit; ++i)
        builder.AddReportLine("x");
    EXPECT_EQ(doc.m_nLineCount, 128000);
    builder.AddReportLine("one too many");
    EXPECT_EQ(doc.m_nLineCount, 128001);
    ASSERT_EQ(doc.m_pReportLines.size(), 128001u);
    EXPECT_EQ(doc.m_pReportLines.back(), "**** Application line limit reached! ****");
    EXPECT_EQ(builder.m_bLimitNotePending, 0);
    EXPECT_EQ(doc.m_nMaxLineLen, 1);
    EXPECT_EQ(listener.events.size(), 128000u);
    EXPECT_EQ(listener.events.back(), "shown 127999");

    builder.AddReportLine("dropped");
    EXPECT_EQ(doc.m_nLineCount, 128001);
    EXPECT_EQ(doc.m_pReportLines.size(), 128001u);
    EXPECT_TRUE(ui.messages.empty());

    builder.ClearReport();
    for (int i = 0; i <= kReportLineLimit; ++i)
        builder.AddReportLine("x");
    EXPECT_EQ(doc.m_nLineCount, 128000);
    EXPECT_EQ(doc.m_pReportLines.back(), "x");
}

// A refit of a large set must not cut its report silently: every build says so.
TEST_F(Report, EveryBuildCutAtTheLimitEndsWithTheNote) {
    SetPairs(kReportLineLimit);
    ReportBuilder builder(doc, 32000);
    for (int build = 1; build <= 2; ++build) {
        builder.BuildReport();
        EXPECT_EQ(doc.m_nLineCount, 128001) << build;
        EXPECT_EQ(doc.m_pReportLines.back(), kLineLimitNote) << build;
    }
}

// Rows past the limit are not formatted: of a million, the build's progress counts only the
// tenth of them that are kept.
TEST_F(Report, ABuildPastTheLimitStopsThere) {
    SetPairs(1000000);
    Build();
    EXPECT_EQ(doc.m_nLineCount, 128001);
    EXPECT_EQ(doc.m_pReportLines.back(), kLineLimitNote);
    const std::vector<std::string>& progress = ui.status[1];
    EXPECT_NE(std::find(progress.begin(), progress.end(), "10 %processed"), progress.end());
    EXPECT_EQ(std::find(progress.begin(), progress.end(), "20 %processed"), progress.end());
}

TEST_F(Report, AFailedFitIsNotedAfterTheTitleBlockAndInTheStatusBar) {
    doc.m_strFitFailure = "Matrix is Singular!";
    doc.m_dCoef[0] = doc.m_dCoef[1] = 0.0;
    doc.m_dPerformance = 0.0;
    const Lines lines = Build();
    ASSERT_GT(lines.size(), 8u);
    EXPECT_EQ(lines[3], kRule);
    EXPECT_EQ(lines[4], "         Fit Failed:  Matrix is Singular!");
    EXPECT_EQ(lines[5], kRule);
    EXPECT_EQ(lines[6], "         Curve Type:  Polynomial");
    EXPECT_EQ(lines.size(), 20u);
    EXPECT_EQ(ui.status[0].back(), "Fit Failed:  Matrix is Singular!");
    EXPECT_EQ(FitFailureNote(doc), "Fit Failed:  Matrix is Singular!");
    // A fit that went well has neither.
    doc.m_strFitFailure.clear();
    EXPECT_EQ(Build()[4], "         Curve Type:  Polynomial");
    EXPECT_EQ(ui.status[0].back(), "Ready");
}

TEST_F(Report, EqualMeasuredValuesAreSaidToDefineTheCoefficient) {
    doc.m_pPairs = {{0, 3, 3, 0}, {1, 3, 3, 0}, {2, 3, 3, 0}};
    doc.m_nPairs = 3;
    const Lines lines = Build();
    EXPECT_EQ(lines[8], "         Fit Coefficient of Performance:  1.0000");
    EXPECT_EQ(lines[9], "         All measured Y values are equal: the coefficient is 1 by "
                        "definition.");
    EXPECT_EQ(lines[10], kRule);
    doc.m_nCurveType = 3; // X is measured there, and the X values differ
    EXPECT_EQ(Build()[8], kRule);
    doc.m_pPairs = {{4, 1, 4, 0}, {4, 2, 4, 0}, {4, 3, 4, 0}};
    EXPECT_EQ(Build()[8], "         All measured X values are equal: the coefficient is 1 by "
                          "definition.");
}

TEST_F(Report, ABuildOfMoreThanTheLimitEndsWithTheNoteAndCompletes) {
    SetPairs(kReportLineLimit);
    ReportBuilder builder(doc, 32000);
    builder.BuildReport();
    EXPECT_EQ(doc.m_nLineCount, 128001);
    EXPECT_EQ(doc.m_pReportLines.back(), kLineLimitNote);
    EXPECT_EQ(doc.m_pReportLines[127999], Row("1.00000", "2.00000", "2.00000", "0.00000"));
    EXPECT_EQ(builder.m_nDisplayPages, 5);
    EXPECT_EQ(ui.status[0].back(), "Ready");
}

TEST_F(Report, ALineThatCannotBeCopiedIsDroppedWithAMessage) {
    ReportBuilder builder(doc, kReportLineLimit);
    builder.AddReportLine("kept");
    const std::string huge(1 << 20, 'h');
    {
        test::FailLargeAllocations fail(1 << 20);
        builder.AddReportLine(huge);
    }
    builder.AddReportLine("also kept");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Memory Limit Reached!");
    EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::Ok);
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Exclamation);
    EXPECT_EQ(doc.m_pReportLines, (Lines{"kept", "also kept"}));
    EXPECT_EQ(doc.m_nLineCount, 2);
    EXPECT_EQ(doc.m_nMaxLineLen, 100);
}

TEST_F(Report, AShortageThatLastsIsToldOnceAndEndsTheBuild) {
    SetPairs(1100);
    // The shortage begins at the first progress step of the rows; nothing the recording Ui
    // keeps may need a large block meanwhile.
    for (Lines& pane : ui.status)
        pane.reserve(64);
    ui.messages.reserve(2000);
    std::unique_ptr<test::FailLargeAllocations> shortage;
    ui.onPump = [&] {
        if (ui.pumps == 2)
            shortage = std::make_unique<test::FailLargeAllocations>(64);
    };
    ReportBuilder builder(doc, kReportLineLimit);
    builder.BuildReport();
    shortage.reset();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Memory Limit Reached!");
    EXPECT_GT(doc.m_nLineCount, 110);
    EXPECT_LT(doc.m_nLineCount, 300);
    EXPECT_EQ(builder.m_bBuilding, 0);
    EXPECT_EQ(ui.status[0].back(), "Ready");
    EXPECT_EQ(ui.waitDepth, 0);
    // The next build has the memory again and is whole.
    builder.BuildReport();
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(doc.m_pReportLines.back(), Row("1.00000", "2.00000", "2.00000", "0.00000"));
    EXPECT_EQ(std::count(doc.m_pReportLines.begin(), doc.m_pReportLines.end(),
                         Row("1.00000", "2.00000", "2.00000", "0.00000")),
              1100);
}

TEST_F(Report, FewerThan110PairsShowNoPercent) {
    SetPairs(109);
    Build();
    EXPECT_EQ(ui.status[1], (Lines{"0 %processed", ""}));
    EXPECT_EQ(ui.status[0], (Lines{"Building Data Page 1 for UnNamed File", "Ready"}));
}

TEST_F(Report, From110PairsThePercentClimbsByTens) {
    SetPairs(110);
    Build();
    EXPECT_EQ(ui.status[1],
              (Lines{"0 %processed", "10 %processed", "20 %processed", "30 %processed",
                     "40 %processed", "50 %processed", "60 %processed", "70 %processed",
                     "80 %processed", "90 %processed", ""}));
    ASSERT_EQ(ui.status[0].size(), 11u);
    EXPECT_EQ(ui.status[0][9], "Building Data Page 1 for UnNamed File");
    EXPECT_EQ(ui.status[0][10], "Ready");
    EXPECT_EQ(ui.status[2], Lines(11, ""));
    EXPECT_EQ(ui.pumps, 11);
    EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(Report, TheTenthStepReadsReadyBeforeTheLastRows) {
    SetPairs(112); // the tenth step comes after row 111
    Build();
    ASSERT_EQ(ui.status[0].size(), 12u);
    EXPECT_EQ(ui.status[0][10], "Ready");
    EXPECT_EQ(ui.status[1][9], "90 %processed");
    EXPECT_EQ(ui.status[1][10], "");
}

TEST_F(Report, ARebuildClearsTheOldReportFirstAndStartsAtPageOne) {
    ReportBuilder builder(doc, kReportLineLimit);
    builder.BuildReport();
    builder.m_nCurPage = 3;
    doc.m_strFileName = "/data/new.dat";
    builder.BuildReport();
    EXPECT_EQ(builder.m_nCurPage, 1);
    EXPECT_EQ(doc.m_nLineCount, 18);
    EXPECT_EQ(doc.m_pReportLines.size(), 18u);
    EXPECT_EQ(ui.status[0],
              (Lines{"Building Data Page 1 for UnNamed File", "Ready", "Clearing Old Display...",
                     "Building Data Page 1 for "
                     "/data/new.dat",
                     "Ready"}));
    EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(Report, FlagsDuringTheHeaderAndTheRows) {
    SetPairs(110);
    ReportBuilder builder(doc, kReportLineLimit);
    Lines seen;
    ui.onPump = [&] {
        seen.push_back(std::to_string(doc.m_bBuildingReport) + std::to_string(builder.m_bBuilding) +
                       " at " + std::to_string(doc.m_nLineCount));
    };
    builder.BuildReport();
    ASSERT_EQ(seen.size(), 11u);
    EXPECT_EQ(seen[0], "11 at 0");
    EXPECT_EQ(seen[1], "01 at 29"); // 16 header lines and rows 0 to 12
    EXPECT_EQ(seen[10], "00 at 126");
}

TEST_F(Report, ClosingStopsTheRowsAndLeavesTheBuildRunning) {
    SetPairs(110);
    EventListener listener;
    listener.doc = &doc;
    ReportBuilder builder(doc, 5, &listener);
    builder.m_nDisplayPages = 7;
    ui.onPump = [&] {
        if (ui.pumps == 2) // the first percent step, after row 12
            doc.m_bClosing = 1;
    };
    builder.BuildReport();
    EXPECT_EQ(doc.m_nLineCount, 16 + 13);
    EXPECT_EQ(builder.m_bBuilding, 1);
    EXPECT_EQ(doc.m_bBuildingReport, 0);
    EXPECT_EQ(builder.m_nDisplayPages, 7);
    EXPECT_EQ(ui.status[0].back(), "Building Data Page 1 for UnNamed File");
    EXPECT_EQ(ui.status[1].back(), "10 %processed");
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(listener.events.back(), "shown 4");
}

TEST_F(Report, PageCountAfterABuild) {
    ReportBuilder builder(doc, 18);
    builder.BuildReport(); // 18 lines
    EXPECT_EQ(builder.m_nDisplayPages, 1);
    SetPairs(3);
    builder.BuildReport(); // 19 lines
    EXPECT_EQ(builder.m_nDisplayPages, 2);
    SetPairs(20);
    builder.BuildReport(); // 36 lines
    EXPECT_EQ(builder.m_nDisplayPages, 2);
    SetPairs(21);
    builder.BuildReport();
    EXPECT_EQ(builder.m_nDisplayPages, 3);

    EXPECT_EQ(DisplayPageCount(0, 32000), 1);
    EXPECT_EQ(DisplayPageCount(32000, 32000), 1);
    EXPECT_EQ(DisplayPageCount(32001, 32000), 2);
    EXPECT_EQ(DisplayPageCount(128001, 128000), 2);
}

TEST_F(Report, TheListenerSeesTheFirstPageTheEmptyingAndTheExtent) {
    EventListener listener;
    listener.doc = &doc;
    ReportBuilder builder(doc, 3, &listener);
    builder.BuildReport();
    EXPECT_EQ(listener.events, (Lines{"shown 0", "shown 1", "shown 2", "extent 100"}));

    listener.events.clear();
    doc.m_strXTitle = std::string(19, 'x');
    doc.m_strDataTitle = std::string(120, 'd');
    builder.BuildReport();
    EXPECT_EQ(listener.events, (Lines{"emptied with 18 lines stored", "shown 0", "shown 1",
                                      "shown 2", "extent 142"}));
}

TEST_F(Report, WorksWithoutAListener) {
    ReportBuilder builder(doc, 1);
    builder.BuildReport();
    builder.BuildReport();
    EXPECT_EQ(doc.m_nLineCount, 18);
    EXPECT_EQ(builder.m_nDisplayPages, 18);
}

} // namespace
} // namespace lumetra
