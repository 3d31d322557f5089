#include "plot/PlotDrawing.h"

#include "data/LumetraDoc.h"
#include "support/DocTest.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace lumetra {
namespace {

using Op = test::RecordingSurface::Op;

struct Plot : test::DocTest {
    test::RecordingSurface s;

    void SetPairs(int n, int type = 0) {
        doc.OnNewDocument();
        doc.m_nCurveType = type;
        doc.m_pPairs.clear();
        for (int k = 0; k < n; ++k)
            doc.m_pPairs.push_back({double(k), double(k)});
        doc.m_nPairs = n;
        doc.ResetExtremes(doc.m_pPairs[0]);
        for (const CXYdata& p : doc.m_pPairs)
            doc.UpdateExtremes(p);
        doc.m_dCoef[0] = 1.0; // y = x
        doc.m_dCoef[1] = 0.0;
    }
};

TEST_F(Plot, XLabelsSitWithTheirPointOnTheTickInTwoRows) {
    SetPairs(9);
    PaintPlot(doc, s, true);
    EXPECT_EQ(s.fontHeight, 150);
    EXPECT_EQ(s.originY, 7000);
    const std::vector<Op> texts = s.Texts();
    for (int i = 0; i <= 8; ++i) {
        const Op& t = texts[size_t(i)];
        EXPECT_EQ(t.text, std::to_string(i) + ".00000");
        EXPECT_EQ(t.x, 2000 + 1000 * i - 90); // one character left of the tick
        EXPECT_EQ(t.y, 1000 - 100 - (i % 2 ? 2 : 1) * 170);
    }
    // The axes as one line: Y from its top down, then X to its right end.
    EXPECT_EQ(s.ops[0].kind, Op::Move);
    EXPECT_EQ(s.ops[0].x, 2000);
    EXPECT_EQ(s.ops[0].y, 6000);
    EXPECT_EQ(s.ops[2].x, 10000);
    EXPECT_EQ(s.ops[2].y, 1000);
    EXPECT_EQ(s.ops[0].pen, kPenAxes);
}

TEST_F(Plot, LabelEdgesForExponentsAndPlainNumbers) {
    EXPECT_EQ(XLabelLeft("1.00000E+000", 2000, 90), 1910);
    EXPECT_EQ(XLabelLeft("-1.00000E+000", 2000, 90), 1820);
    EXPECT_EQ(XLabelLeft("3", 2000, 90), 2000);
    EXPECT_EQ(XLabelLeft(".5", 2000, 90), 2000);
    EXPECT_EQ(YLabelLeft("1.00000", 1900, 90), 1900 - 8 * 90);
    EXPECT_EQ(YLabelLeft("123456789012345678901.00000", 1900, 90), 0);
    std::string t = " \t 12 \r\n";
    TrimBlanks(t);
    EXPECT_EQ(t, "12");
}

TEST_F(Plot, HalfSizeHalvesEveryConstant) {
    SetPairs(9);
    PaintPlot(doc, s, false);
    EXPECT_EQ(s.fontHeight, 100);
    EXPECT_EQ(s.originY, 3500);
    EXPECT_EQ(s.ops[0].x, 1000);
    EXPECT_EQ(s.ops[0].y, 3000);
    EXPECT_EQ(s.ops[1].y, 500);
    EXPECT_EQ(s.ops[2].x, 5000);
    EXPECT_EQ(s.ops[3].x, 1000); // first X tick
    EXPECT_EQ(s.ops[4].y, 450);
    EXPECT_EQ(s.ops[6].x, 1500); // ticks 500 apart
    PlotLayout half(2);
    EXPECT_EQ(half.ScrollWidth(), 5750);
    EXPECT_EQ(half.ScrollHeight(), 3750);
}

TEST_F(Plot, NoRangeShowsItsMessageAndDrawsNothing) {
    SetPairs(3);
    doc.m_dMaxX = doc.m_dMinX;
    doc.m_dMaxY = doc.m_dMinY;
    EXPECT_EQ(PaintPlot(doc, s, true),
              "Maximum value for X equals Minimum!\nCan't plot if no range in X!");
    EXPECT_TRUE(s.ops.empty());
    SetPairs(3);
    doc.m_dMaxY = doc.m_dMinY;
    EXPECT_EQ(PaintPlot(doc, s, true),
              "Maximum value for Y equals Minimum!\nCan't plot if no range in Y!");
    EXPECT_TRUE(s.ops.empty());
    doc.m_nPairs = 0;
    EXPECT_EQ(PaintPlot(doc, s, true), std::nullopt);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Plot, TheDensityRule) {
    struct Case {
        int n, steps, r, rv;
    } cases[] = {{100, 1000, 50, 80}, {101, 505, 25, 40}, {1001, 1001, 12, 19}};
    for (const Case& c : cases) {
        SetPairs(c.n);
        s.ops.clear();
        PaintPlot(doc, s, true);
        const std::vector<Op> curve = s.WithPen(kPenCurve);
        // Both ends are sampled; a running sum that rounds just short of the end adds one.
        EXPECT_GE(int(curve.size()), c.steps + 1) << c.n;
        EXPECT_LE(int(curve.size()), c.steps + 2) << c.n;
        const double span = doc.m_dMaxX - doc.m_dMinX;
        EXPECT_EQ(curve.back().x, int(span * (8000.0 / span)) + 2000) << c.n; // on Xmax
        const std::vector<Op> marks = s.WithPen(kPenData);
        ASSERT_EQ(int(marks.size()), 8 * c.n);
        EXPECT_EQ(marks[1].x - marks[0].x, 2 * c.r) << c.n;
        EXPECT_EQ(marks[3].y - marks[2].y, 2 * c.rv) << c.n;
    }
}

TEST_F(Plot, TheLastSampleFallsOnXmax) {
    SetPairs(3);
    doc.m_pPairs = {{0, 0}, {0.5, 1}, {1, 0.5}};
    doc.m_dMaxX = 1;
    doc.m_dMaxY = 1;
    PaintPlot(doc, s, true);
    const std::vector<Op> curve = s.WithPen(kPenCurve);
    ASSERT_GE(curve.size(), 31u); // 30 steps of 1/30
    ASSERT_LE(curve.size(), 32u);
    EXPECT_EQ(curve.back().x, 10000);
    EXPECT_EQ(curve.front().kind, Op::Move);
    EXPECT_EQ(curve.back().kind, Op::Line);
}

TEST_F(Plot, TypeThreeIsSampledAlongY) {
    SetPairs(5, 3);
    doc.m_dCoef[0] = 2.0;
    doc.m_dCoef[1] = 0.1;
    doc.m_dMinY = 1;
    doc.m_dMaxY = 3;
    PaintPlot(doc, s, true);
    const std::vector<Op> curve = s.WithPen(kPenCurve);
    ASSERT_EQ(curve.size(), 51u);
    EXPECT_EQ(curve.front().y, 1000);
    EXPECT_EQ(curve.back().y, 6000);
    const double x = 2.0 * std::exp(0.3);
    EXPECT_EQ(curve.back().x, int((x - doc.m_dMinX) * 8000.0 / (doc.m_dMaxX - doc.m_dMinX)) + 2000);
}

TEST_F(Plot, LogLogStartsAtTheFirstPositiveSample) {
    SetPairs(3, 1);
    doc.m_dMinX = -1; // as stored after a refused fit
    doc.m_dMaxX = 2;
    PaintPlot(doc, s, true);
    const std::vector<Op> curve = s.WithPen(kPenCurve);
    ASSERT_FALSE(curve.empty());
    EXPECT_EQ(curve.front().kind, Op::Move);
    EXPECT_GT(curve.front().x, 2000 + 8000 / 3); // past x = 0
    for (size_t i = 1; i < curve.size(); ++i)
        EXPECT_EQ(curve[i].kind, Op::Line);
}

TEST_F(Plot, TitlesInTheirColours) {
    SetPairs(9);
    doc.m_strDataTitle = "Run 7";
    doc.m_strXTitle = "Time";
    doc.m_strYTitle = " Temp ";
    PaintPlot(doc, s, true);
    const std::vector<Op> texts = s.Texts();
    ASSERT_EQ(texts.size(), 9u + 6u + 2u + 4u);
    const Op& data = texts[15];
    EXPECT_EQ(data.text, "Run 7");
    EXPECT_EQ(data.x, int((8000 - 90 * 5) * 0.5 + 2000));
    EXPECT_EQ(data.y, 6000 + 2 * 170);
    EXPECT_EQ(data.color, (Rgb{255, 0, 0}));
    EXPECT_EQ(texts[16].text, "Time");
    // Half-way down to the drawing's edge (415) would meet the lower X labels, whose cells end
    // at 1000 - 100 - 3 * 170 = 390: a quarter line under them instead.
    EXPECT_EQ(texts[16].y, 390 - 170 / 4);
    EXPECT_EQ(texts[16].color, (Rgb{0, 0, 255}));
    const int Lt = 170 * 4;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(texts[size_t(17 + i)].text, std::string(1, "Temp"[i]));
        EXPECT_EQ(texts[size_t(17 + i)].x, 90);
        EXPECT_EQ(texts[size_t(17 + i)].y, int(Lt + (5000 - Lt) * 0.5 + 1000) - 170 * i);
    }
    EXPECT_EQ(s.color, (Rgb{0, 0, 0})); // restored
    EXPECT_EQ(texts[0].color, (Rgb{0, 0, 0}));
}

// Centred by characters; the vertical title is drawn one whole character a row.
TEST_F(Plot, TitlesWithUtf8CharactersAreCentredAndStackedByCharacter) {
    SetPairs(9);
    doc.m_strDataTitle = "R\xc3\xa9sum\xc3\xa9"; // 6 characters, 8 bytes
    doc.m_strXTitle = "t \xc2\xb5s";             // 4 characters
    doc.m_strYTitle = "\xc2\xb0"
                      "C"; // °C: 2 characters, 3 bytes
    PaintPlot(doc, s, true);
    const std::vector<Op> texts = s.Texts();
    ASSERT_EQ(texts.size(), 9u + 6u + 2u + 2u);
    EXPECT_EQ(texts[15].x, int((8000 - 90 * 6) * 0.5 + 2000));
    EXPECT_EQ(texts[16].x, int((8000 - 90 * 4) * 0.5 + 2000));
    EXPECT_EQ(texts[17].text, "\xc2\xb0");
    EXPECT_EQ(texts[18].text, "C");
    const int Lt = 170 * 2;
    EXPECT_EQ(texts[17].y, int(Lt + (5000 - Lt) * 0.5 + 1000));
}

TEST_F(Plot, AFailedFitShowsThePairsButNoCurve) {
    SetPairs(4);
    PaintPlot(doc, s, true);
    ASSERT_FALSE(s.WithPen(kPenCurve).empty());
    s = test::RecordingSurface();
    doc.m_strFitFailure = "Matrix is Singular!";
    PaintPlot(doc, s, true);
    EXPECT_TRUE(s.WithPen(kPenCurve).empty());
    EXPECT_EQ(s.WithPen(kPenData).size(), 4u * 8u);
    EXPECT_EQ(s.Texts().size(), 9u + 6u + 2u + 1u); // labels and titles as ever
}

TEST_F(Plot, TheXTitleKeepsItsPlaceWhereItClearsTheLabels) {
    SetPairs(9);
    doc.m_strXTitle = "Time";
    s.metrics = {100, 60}; // lower X labels end at 1000 - 100 - 300 = 600
    PaintPlot(doc, s, true);
    EXPECT_EQ(s.Texts()[16].y, (1000 - 100) / 2);
}

TEST_F(Plot, AYTitleWithoutRoomForItsColumnReadsAcrossAboveTheAxis) {
    SetPairs(9);
    doc.m_strDataTitle = "Run 7";
    doc.m_strXTitle = "Time";
    const auto yTitle = [&] {
        const std::vector<Op> texts = s.Texts();
        return std::vector<Op>(texts.begin() + 17, texts.end());
    };
    // Fits the plot's height (29 lines of 170 = 4930): a column, one character in.
    doc.m_strYTitle = std::string(29, 'T');
    PaintPlot(doc, s, true);
    ASSERT_EQ(yTitle().size(), 29u);
    EXPECT_EQ(yTitle()[0].x, 90);
    // 30 lines would stand above and below the plot: across, at the drawing's left edge, on
    // the data title's line, which is far enough to the right.
    doc.m_strYTitle = std::string(30, 'T');
    s.ops.clear();
    PaintPlot(doc, s, true);
    ASSERT_EQ(yTitle().size(), 1u);
    EXPECT_EQ(yTitle()[0].text, std::string(30, 'T'));
    EXPECT_EQ(yTitle()[0].x, 0);
    EXPECT_EQ(yTitle()[0].y, 6000 + 2 * 170);
    // A data title it would meet: the line above.
    doc.m_strDataTitle = std::string(80, 'D'); // starts at 2400
    s.ops.clear();
    PaintPlot(doc, s, true);
    EXPECT_EQ(yTitle()[0].y, 6000 + 3 * 170);
    // Y labels that reach the drawing's edge leave no room for a column either.
    doc.m_strDataTitle = "";
    doc.m_strYTitle = "Temp";
    doc.m_szYFormat = "%-16.14lf";
    for (CXYdata& p : doc.m_pPairs)
        p.m_dY *= 1e6;
    doc.m_dMaxY *= 1e6;
    s.ops.clear();
    PaintPlot(doc, s, true);
    ASSERT_EQ(yTitle().size(), 1u);
    EXPECT_EQ(yTitle()[0].text, "Temp");
    EXPECT_EQ(s.Texts()[14].x, 0); // the top Y label
}

TEST_F(Plot, ACurveFarBeyondTheRangeNeitherOverflowsNorHangs) {
    SetPairs(3);
    doc.m_dCoef[0] = 1e300;
    doc.m_dMinX = 0;
    doc.m_dMaxX = 1e-300; // a step that rounds to no progress
    PaintPlot(doc, s, true);
    ASSERT_FALSE(s.WithPen(kPenCurve).empty());
    // The pairs at X = 1 and 2 lie far right of the plot: their markers are held at the end of
    // int, arms and all; none wraps around to the left.
    const std::vector<Op> markers = s.WithPen(kPenData);
    ASSERT_EQ(markers.size(), 3u * 8u);
    for (const Op& o : markers)
        EXPECT_GT(o.x, 0);
    EXPECT_EQ(
        std::count_if(markers.begin(), markers.end(), [](const Op& o) { return o.x == INT_MAX; }),
        2 * 5); // the centre and the right arm of each
}

} // namespace
} // namespace lumetra
