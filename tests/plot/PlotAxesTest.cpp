// Readable and log axes, clipping, the legend, markers once a pixel and the refused plot's frame,
// recorded operation by operation.
#include "data/LumetraDoc.h"
#include "fit/FitEngine.h"
#include "platform/MemorySettingsStore.h"
#include "plot/PlotBands.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotFile.h"
#include "plot/PlotLegend.h"
#include "support/ExampleFile.h"
#include "support/RecordingSurface.h"
#include "support/RecordingUi.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumetra {
namespace {

using Op = test::RecordingSurface::Op;

struct Axes : ::testing::Test {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc{ui, settings};
    test::RecordingSurface s;

    void SetPairs(const std::vector<CXYdata>& pairs, int type = 0) {
        test::FillPairsAndExtremes(doc, pairs, type);
    }
    // Texts in the default black: the tick labels (and a legend's words).
    std::vector<Op> Labels() const {
        std::vector<Op> out;
        for (const Op& o : s.Texts())
            if (o.color == Rgb{})
                out.push_back(o);
        return out;
    }
    std::vector<std::string> LabelTexts(size_t from, size_t count) const {
        std::vector<std::string> out;
        const std::vector<Op> labels = Labels();
        for (size_t i = from; i < from + count && i < labels.size(); ++i)
            out.push_back(labels[i].text);
        return out;
    }
    // The ticks drawn: a move onto an axis, then a line off it.
    size_t XTicks() const {
        size_t n = 0;
        for (size_t i = 0; i + 1 < s.ops.size(); ++i)
            n += s.ops[i].kind == Op::Move && s.ops[i].y == 1000 && s.ops[i + 1].y < 1000 &&
                 s.ops[i + 1].x == s.ops[i].x;
        return n;
    }
    size_t YTicks() const {
        size_t n = 0;
        for (size_t i = 0; i + 1 < s.ops.size(); ++i)
            n += s.ops[i].kind == Op::Move && s.ops[i].x == 2000 && s.ops[i + 1].x < 2000 &&
                 s.ops[i + 1].y == s.ops[i].y;
        return n;
    }
    void Paint(const PlotOptions& options) {
        s = test::RecordingSurface();
        ASSERT_EQ(PaintPlot(doc, s, true, options), std::nullopt);
    }
};

PlotOptions Readable() {
    PlotOptions o;
    o.readable = true;
    return o;
}

TEST_F(Axes, ReadableAxesTickAtOneTwoOrFiveTimesAPowerOfTen) {
    struct Case {
        double x0, x1, y0, y1;
        std::vector<std::string> x, y;
    } cases[] = {
        {2024,
         2026,
         0.00132,
         0.00197,
         {"2024.0", "2024.5", "2025.0", "2025.5", "2026.0"},
         {"0.0012", "0.0014", "0.0016", "0.0018", "0.0020"}},
        {0.00132,
         0.00197,
         -3.2e6,
         4.1e7,
         {"0.0013", "0.0014", "0.0015", "0.0016", "0.0017", "0.0018", "0.0019", "0.0020"},
         {"-1E+007", "0", "1E+007", "2E+007", "3E+007", "4E+007", "5E+007"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x0);
        SetPairs({{c.x0, c.y0}, {c.x1, c.y1}});
        Paint(Readable());
        EXPECT_EQ(LabelTexts(0, c.x.size()), c.x);
        EXPECT_EQ(LabelTexts(c.x.size(), c.y.size()), c.y);
        // The ends of the axes are the first and last ticks; labels centred on one row.
        const std::vector<Op> labels = Labels();
        const Op& first = labels[0];
        const Op& last = labels[c.x.size() - 1];
        EXPECT_EQ(first.x, 2000 - int(first.text.size()) * 90 / 2);
        EXPECT_EQ(last.x, 10000 - int(last.text.size()) * 90 / 2);
        EXPECT_EQ(first.y, 1000 - 100 - 170);
        EXPECT_EQ(last.y, first.y);
        EXPECT_EQ(labels[c.x.size() + c.y.size() - 1].y, 6000 + 170 / 2); // the top Y label
    }
    // Constant Y is refused as ever; a range too fine for tidy steps keeps the described ticks.
    SetPairs({{1, 5}, {2, 5}});
    EXPECT_EQ(PaintPlot(doc, s, true, Readable()),
              "Maximum value for Y equals Minimum!\nCan't plot if no range in Y!");
    SetPairs({{1, 1}, {1 + 4e-16, 2}});
    doc.m_szXFormat = "%.17f";
    Paint(Readable());
    EXPECT_EQ(Labels().size(), 9u + 6u);
    EXPECT_EQ(Labels()[1].y, 1000 - 100 - 2 * 170); // the described second row
}

TEST_F(Axes, ReadableAxesClipTheCurveAtThePlot) {
    SetPairs({{0, 0}, {1, 1}, {2, 4}, {3, 9}});
    doc.m_nOrder = 2;
    doc.m_dCoef[0] = 3.0; // 3x²: leaves the top at x = √(10/3)
    Paint(Readable());
    const std::vector<Op> curve = s.WithPen(kPenCurve);
    ASSERT_FALSE(curve.empty());
    for (const Op& o : curve) {
        EXPECT_GE(o.x, 2000);
        EXPECT_LE(o.x, 10000);
        EXPECT_GE(o.y, 1000);
        EXPECT_LE(o.y, 6000);
    }
    // X runs 0 to 3 by 0.5, Y 0 to 10 by 2: the curve ends where it meets the top.
    EXPECT_EQ(curve.back().y, 6000);
    EXPECT_NEAR(curve.back().x, 2000 + std::sqrt(10.0 / 3.0) / 3.0 * 8000, 2);
    // As described, unclipped, it runs on to the last pair's X, far above.
    Paint({});
    EXPECT_GT(s.WithPen(kPenCurve).back().y, 6000);
}

TEST_F(Axes, LogAxesBothAndEachAlone) {
    // Y = X² as a log-log polynomial: a straight line on both log axes.
    SetPairs({{1, 1}, {10, 100}, {1000, 1e6}}, 1);
    doc.m_nOrder = 1;
    doc.m_dCoef[0] = 2.0;
    PlotOptions both;
    both.logX = both.logY = true;
    Paint(both);
    EXPECT_EQ(LabelTexts(0, 4),
              (std::vector<std::string>{"1.00000", "10.00000", "100.00000", "1000.00000"}));
    EXPECT_EQ(Labels()[1].y, Labels()[0].y); // one row
    EXPECT_EQ(LabelTexts(4, 7),
              (std::vector<std::string>{"1.00000", "10.00000", "100.00000", "1000.00000",
                                        "10000.00000", "100000.00000", "1000000.00000"}));
    const std::vector<Op> curve = s.WithPen(kPenCurve);
    ASSERT_EQ(curve.size(), 31u); // ten steps a pair
    for (const Op& o : curve)
        EXPECT_NEAR(o.y - 1000, (o.x - 2000) * 5000.0 / 8000.0, 2) << o.x;
    // Steps even in the logarithm: the first decade takes a third of them.
    EXPECT_NEAR(curve[10].x, 2000 + 8000 / 3, 2);
    // Each alone: decades on that axis, the described ticks on the other.
    PlotOptions x;
    x.logX = true;
    Paint(x);
    EXPECT_EQ(Labels()[3].text, "1000.00000");
    EXPECT_EQ(Labels()[4].text, "1.00000"); // the first of six described Y labels
    EXPECT_EQ(Labels()[5].text, "200000.80000");
    PlotOptions y;
    y.logY = true;
    Paint(y);
    EXPECT_EQ(Labels()[8].text, "1000.00000"); // nine described X labels
    EXPECT_EQ(LabelTexts(9, 2), (std::vector<std::string>{"1.00000", "10.00000"}));
    // Seven decades on Y: no short ticks between them (those come with six or fewer).
    EXPECT_EQ(YTicks(), 7u);
    // Four on X: the short ticks at 2 to 9 times each between them, half as long.
    Paint(both);
    EXPECT_EQ(XTicks(), 4u + 3u * 8u);
}

TEST_F(Axes, ALogAxisRefusesDataAtOrBelowZeroNamingTheCount) {
    SetPairs({{0, 1}, {-1, 2}, {1, 0}, {2, 3}, {3, 4}});
    PlotOptions o;
    o.logX = true;
    EXPECT_EQ(PaintPlot(doc, s, true, o),
              "2 X values are 0 or negative!\nCan't plot them on a logarithmic X axis!");
    EXPECT_TRUE(s.ops.empty());
    o = {};
    o.logY = true;
    EXPECT_EQ(PaintPlot(doc, s, true, o),
              "1 Y value is 0 or negative!\nCan't plot it on a logarithmic Y axis!");
    EXPECT_EQ(PlotExportRefusal(doc, o), PlotRefusal(doc, o));
    // Differences straddle zero: a residual plot keeps its vertical axis linear.
    o.residuals = true;
    EXPECT_EQ(PlotRefusal(doc, o), std::nullopt);
}

TEST_F(Axes, TheLegendNamesWhatIsShownWhereTheDataAreNot) {
    SetPairs({{1, 2.0}, {2, 4.1}, {3, 5.9}, {4, 8.2}, {5, 9.8}});
    doc.m_nOrder = 1;
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    Paint({});
    EXPECT_TRUE(s.WithPen(kPenLegendFrame).empty()); // no bands, no legend
    PlotOptions bands{true, true, false};
    bands.level = 0.99;
    Paint(bands);
    const std::vector<Op> labels = Labels();
    ASSERT_EQ(labels.size(), 9u + 6u + 4u);
    EXPECT_EQ(labels[15].text, "Data");
    EXPECT_EQ(labels[16].text, "Fitted curve");
    EXPECT_EQ(labels[17].text, "Confidence band 99%");
    EXPECT_EQ(labels[18].text, "Prediction band 99%");
    // The data rise to the top right: the box stands a character in from the top left.
    const std::vector<Op> frame = s.WithPen(kPenLegendFrame);
    ASSERT_EQ(frame.size(), 5u);
    EXPECT_EQ(frame[0].x, 2000 + 90);
    EXPECT_EQ(frame[0].y, 6000 - 90);
    EXPECT_EQ(frame[2].y, 6000 - 90 - (2 * (170 / 4) + 4 * 170));
    // Falling data leave the top right free, which comes first.
    for (CXYdata& p : doc.m_pPairs)
        p.m_dY = 12.0 - p.m_dY;
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    Paint(bands);
    EXPECT_EQ(s.WithPen(kPenLegendFrame)[1].x, 10000 - 90);
    // Error bars bring the legend without bands.
    doc.m_pPairs[2].m_dSigma = 0.5;
    Paint({});
    const std::vector<Op> withBars = Labels();
    ASSERT_EQ(withBars.size(), 9u + 6u + 3u);
    EXPECT_EQ(withBars[16].text, "Fitted curve");
    EXPECT_EQ(withBars[17].text, "Error bars (\u00b1\u03c3)");
}

// A recording that has pixels: a tenth of a logical unit and a bit less.
class PixelRecording : public test::RecordingSurface {
public:
    std::optional<PixelMap> Pixels() const override { return PixelMap{0.096, 0, -0.096, 700}; }
};

TEST_F(Axes, AMarkerIsDrawnOnceForTheSamePixels) {
    // At 100 %, X 0 to 8 puts 0.001 a logical unit apart; the marker is 100 wide, 160 high.
    SetPairs({{0, 0}, {0.003, 0}, {0.005, 0}, {0, 0}, {8, 5}});
    PixelRecording pixels;
    ASSERT_EQ(PaintPlot(doc, pixels, true), std::nullopt);
    const std::vector<Op> markers = pixels.WithPen(kPenData);
    // 0.003 lands on the same pixels as 0, and so does the second 0; 0.005 on the same centre
    // pixel, but its left arm ends a pixel further right.
    ASSERT_EQ(markers.size(), 3u * 8u);
    EXPECT_EQ(markers[8].x, 2005 - 50);
    // A recording without pixels draws every one.
    Paint({});
    EXPECT_EQ(s.WithPen(kPenData).size(), 5u * 8u);
}

TEST_F(Axes, ACurveOfManyPairsTakesOneSampleAThousandthOfAnInch) {
    std::vector<CXYdata> pairs;
    for (int k = 0; k < 20000; ++k)
        pairs.push_back({double(k), double(k % 7)});
    SetPairs(pairs);
    doc.m_dCoef[0] = 0.0;
    Paint({});
    const size_t samples = s.WithPen(kPenCurve).size();
    EXPECT_GE(samples, size_t(kMaxCurveSteps) + 1);
    EXPECT_LE(samples, size_t(kMaxCurveSteps) + 2);
}

TEST_F(Axes, ARefusedPlotIsItsFrameWithTheReason) {
    PaintPlotRefusal(s, true, "Maximum value for X equals Minimum!\nCan't plot if no range in X!");
    ASSERT_EQ(s.ops.size(), 5u + 2u);
    EXPECT_EQ(s.ops[0].x, 2000);
    EXPECT_EQ(s.ops[0].y, 1000);
    EXPECT_EQ(s.ops[2].x, 10000);
    EXPECT_EQ(s.ops[2].y, 6000);
    EXPECT_EQ(s.ops[5].text, "Maximum value for X equals Minimum!");
    EXPECT_EQ(s.ops[5].x, 2000 + (8000 - 35 * 90) / 2);
    EXPECT_EQ(s.ops[5].y, 1000 + 2500 + 170);
    EXPECT_EQ(s.ops[6].y, 1000 + 2500);
}

} // namespace
} // namespace lumetra
