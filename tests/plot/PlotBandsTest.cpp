#include "plot/PlotBands.h"

#include "data/LumetraDoc.h"
#include "fit/FitEngine.h"
#include "fit/Prediction.h"
#include "platform/MemorySettingsStore.h"
#include "plot/PlotDrawing.h"
#include "support/DocTest.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace lumetra {
namespace {

using Op = test::RecordingSurface::Op;

constexpr double kT975Dof3 = 3.182446305284263; // from the tables

struct Bands : test::DocTest {
    test::RecordingSurface s;

    void SetUp() override {
        test::FillPairs(doc, test::kLinePairs);
        ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    }
    // Where the drawing puts a Y value: 5000 logical units over the Y range, from 1000.
    int Py(double y) const {
        return int((y - doc.m_dMinY) * 5000 / (doc.m_dMaxY - doc.m_dMinY)) + 1000;
    }
    static std::vector<std::vector<Op>> Polylines(const std::vector<Op>& ops) {
        std::vector<std::vector<Op>> lines;
        for (const Op& o : ops) {
            if (o.kind == Op::Move)
                lines.emplace_back();
            lines.back().push_back(o);
        }
        return lines;
    }
};

TEST_F(Bands, EachBandIsTwoEdgesAtTheIntervalsOfTheLine) {
    PaintPlot(doc, s, true, {true, true, false});
    const double sres = std::sqrt(0.091 / 3);
    for (const Pen& pen : {kPenConfidence, kPenPrediction}) {
        const auto lines = Polylines(s.WithPen(pen));
        ASSERT_EQ(lines.size(), 2u);
        const double scatter = pen == kPenConfidence ? 0.0 : 1.0;
        for (int side = 0; side < 2; ++side) {
            const std::vector<Op>& line = lines[size_t(side)];
            ASSERT_EQ(line.size(), 5u * 10 + 1); // the curve's sampling: ten steps a pair
            for (size_t i : {size_t(0), size_t(25), size_t(50)}) {
                const double x = 1.0 + 4.0 * double(i) / 50;
                const double half =
                    kT975Dof3 * sres * std::sqrt(scatter + 0.2 + (x - 3) * (x - 3) / 10);
                const double y = 0.09 + 1.97 * x + (side == 0 ? -half : half);
                EXPECT_EQ(line[i].x, 2000 + int((x - 1) * 2000)) << i;
                EXPECT_NEAR(line[i].y, Py(y), 1) << i;
            }
        }
    }
    // Drawn before the markers, so the markers stay on top.
    size_t lastBand = 0, firstMarker = s.ops.size();
    for (size_t i = 0; i < s.ops.size(); ++i) {
        if (s.ops[i].kind == Op::Text)
            continue;
        if (s.ops[i].pen == kPenConfidence || s.ops[i].pen == kPenPrediction)
            lastBand = i;
        if (s.ops[i].pen == kPenData)
            firstMarker = std::min(firstMarker, i);
    }
    EXPECT_LT(lastBand, firstMarker);
    EXPECT_TRUE(ui.messages.empty());
}

// On a surface of pixels (a screen at 100 %: 768 columns across the plot) a band takes two samples
// a column, however many the curve takes.
TEST_F(Bands, OnAScreenABandTakesTwoSamplesAPixelColumn) {
    struct Screen : test::RecordingSurface {
        std::optional<PixelMap> Pixels() const override { return PixelMap{0.096, 0, -0.096, 700}; }
    };
    std::vector<CXYdata> pairs;
    for (int k = 0; k < 2000; ++k)
        pairs.push_back({double(k), 2.0 * k + k % 3});
    test::FillPairs(doc, pairs);
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    Screen screen;
    PaintPlot(doc, screen, true, {true, true, false});
    for (const Pen& pen : {kPenConfidence, kPenPrediction})
        for (const std::vector<Op>& edge : Polylines(screen.WithPen(pen)))
            EXPECT_EQ(edge.size(), 2u * 768 + 1);
    EXPECT_GE(Polylines(screen.WithPen(kPenCurve)).front().size(), 2000u + 1);
}

TEST_F(Bands, OnlyTheBandsAskedForAreDrawn) {
    PaintPlot(doc, s, true, {true, false, false});
    EXPECT_EQ(Polylines(s.WithPen(kPenConfidence)).size(), 2u);
    EXPECT_TRUE(s.WithPen(kPenPrediction).empty());
    test::RecordingSurface plain;
    PaintPlot(doc, plain, true);
    EXPECT_TRUE(plain.WithPen(kPenConfidence).empty());
    // The band's two edges, and the legend: a frame of five points, a marker, a piece of the
    // curve's line and of the band's, and the three entries' words.
    EXPECT_EQ(plain.ops.size(), s.ops.size() - 2 * 51 - (5 + 8 + 2 + 2 + 3));
}

TEST_F(Bands, AFitWithoutDegreesOfFreedomDrawsNoBands) {
    doc.m_pPairs = {{1, 2.0}, {2, 4.1}};
    doc.m_nPairs = 2;
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    PaintPlot(doc, s, true, {true, true, false});
    EXPECT_TRUE(s.WithPen(kPenConfidence).empty());
    EXPECT_TRUE(s.WithPen(kPenPrediction).empty());
    EXPECT_FALSE(s.WithPen(kPenCurve).empty());
}

TEST_F(Bands, TheResidualPlotShowsTheDifferencesAroundAZeroLine) {
    PaintPlot(doc, s, true, {true, true, true});
    // Differences -0.06, 0.07, -0.1, 0.23, -0.14: the Y axis runs from -0.14 to 0.23.
    const std::vector<Op> texts = s.Texts();
    EXPECT_EQ(texts[9].text, "-0.14000"); // the first Y label
    EXPECT_EQ(texts[14].text, "0.23000");
    const double lo = -0.14, hi = 0.23;
    auto py = [&](double d) { return int(std::trunc((d - lo) * 5000 / (hi - lo))) + 1000; };
    const std::vector<Op> zero = s.WithPen(kPenZeroLine);
    ASSERT_EQ(zero.size(), 2u);
    EXPECT_EQ(zero[0].x, 2000);
    EXPECT_EQ(zero[1].x, 10000);
    EXPECT_NEAR(zero[0].y, py(0.0), 1);
    const std::vector<Op> markers = s.WithPen(kPenData);
    ASSERT_EQ(markers.size(), 5u * 8);
    EXPECT_EQ(markers[0].y, markers[1].y); // the horizontal arm of the first marker
    EXPECT_NEAR(markers[0].y, py(2.0 - 2.06), 1);
    EXPECT_NEAR(markers[3 * 8].y, py(8.2 - 7.97), 1);
    // No curve and no bands in this mode.
    EXPECT_TRUE(s.WithPen(kPenCurve).empty());
    EXPECT_TRUE(s.WithPen(kPenConfidence).empty());
}

// A pair excluded from the fit is a hollow diamond among the stars, at its distance from the
// curve fitted without it.
TEST_F(Bands, TheResidualPlotDrawsAnExcludedPairHollow) {
    doc.m_pPairs[3].m_bExcluded = true;
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    PaintPlot(doc, s, true, {false, false, true});
    const std::vector<Op> markers = s.WithPen(kPenData);
    ASSERT_EQ(markers.size(), 3u * 8 + 5 + 8);
    const Op* diamond = &markers[3 * 8];
    EXPECT_EQ(diamond[0].kind, Op::Move);
    EXPECT_EQ(diamond[0].y, diamond[2].y);
    EXPECT_EQ(diamond[1].x, diamond[3].x);
    EXPECT_EQ(diamond[4].x, diamond[0].x);
    EXPECT_EQ(diamond[4].y, diamond[0].y);
    EXPECT_EQ(diamond[1].x, 2000 + 3 * 2000);      // X = 4
    EXPECT_GT(doc.m_pPairs[3].m_dDifference, 0.2); // above the line through the other four
}

// The plot of the pairs marks it the same way, at its X and Y.
TEST_F(Bands, ThePlotOfThePairsDrawsAnExcludedPairHollow) {
    doc.m_pPairs[3].m_bExcluded = true;
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    PaintPlot(doc, s, true, {});
    const std::vector<Op> markers = s.WithPen(kPenData);
    ASSERT_EQ(markers.size(), 4u * 8 + 5);
    const Op* diamond = &markers[3 * 8];
    EXPECT_EQ(diamond[1].x, 2000 + 3 * 2000); // X = 4
    EXPECT_EQ(diamond[0].y, Py(8.2));
    EXPECT_EQ(diamond[4].x, diamond[0].x);
    EXPECT_EQ(markers[3 * 8 + 5].kind, Op::Move); // the fifth pair a star again
}

// Weighted, the excluded pair's residual is weighed as the scheme weighs it alone: 1/Y here.
TEST_F(Bands, AnExcludedPairsWeightedResidualIsPlottedToo) {
    doc.m_eWeights = WeightScheme::InverseY;
    doc.m_pPairs[3].m_bExcluded = true;
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    const PlottedResiduals plotted = ResidualsToPlot(doc);
    ASSERT_TRUE(plotted.weighted);
    ASSERT_EQ(plotted.values.size(), 5u);
    for (size_t k = 0; k < 5; ++k) {
        const CXYdata& p = doc.m_pPairs[k];
        EXPECT_NEAR(plotted.values[k], p.m_dDifference / std::sqrt(p.m_dY), 1e-12) << k;
    }
}

TEST_F(Bands, TheCurveIsDrawnOverTheBands) {
    PaintPlot(doc, s, true, {true, true, false});
    size_t lastBand = 0, firstCurve = s.ops.size();
    for (size_t i = 0; i < s.ops.size(); ++i) {
        const Pen& pen = s.ops[i].pen;
        if (s.ops[i].kind != Op::Text && (pen == kPenConfidence || pen == kPenPrediction))
            lastBand = i;
        if (s.ops[i].kind != Op::Text && pen == kPenCurve)
            firstCurve = std::min(firstCurve, i);
    }
    ASSERT_GT(lastBand, 0u);
    ASSERT_LT(firstCurve, s.ops.size());
    EXPECT_LT(lastBand, firstCurve); // a band narrower than a pixel cannot hide it
}

// The vertical title of a residual plot names whose differences it shows.
TEST_F(Bands, TheResidualPlotsAxisIsTitledWithTheMeasuredVariable) {
    doc.m_strXTitle = "Load";
    doc.m_strYTitle = "Pull";
    auto verticalTitle = [&](const PlotOptions& options) {
        s.ops.clear();
        PaintPlot(doc, s, true, options);
        std::string title;
        for (const Op& o : s.Texts())
            if (o.color == Rgb{0, 0, 255} && o.text != doc.m_strXTitle) // the titles' blue
                title += o.text;
        return title;
    };
    EXPECT_EQ(verticalTitle({}), "Pull");
    EXPECT_EQ(verticalTitle({false, false, true}), "Pull difference");
    // X=Ae^BY: the differences are X values, labelled in X's format.
    doc.m_nCurveType = 3;
    doc.m_szXFormat = "%.3f";
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    EXPECT_EQ(verticalTitle({false, false, true}), "Load difference");
    const std::vector<Op> texts = s.Texts();
    EXPECT_EQ(texts[9].text.find('.'), texts[9].text.size() - 4) << texts[9].text;
    doc.m_eWeights = WeightScheme::InverseX;
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    EXPECT_EQ(verticalTitle({false, false, true}), "Weighted residual");
    EXPECT_EQ(verticalTitle({}), "Pull");
}

// A weighted fit's prediction band has the new observation's variance its weighting gives at each
// X: the prediction interval of the same X, where the band passes through a sample.
TEST_F(Bands, TheBandsOfAWeightedFitFollowItsWeightedVariance) {
    doc.m_eWeights = WeightScheme::InverseX2;
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    PaintPlot(doc, s, true, {false, true, false});
    const auto lines = Polylines(s.WithPen(kPenPrediction));
    ASSERT_EQ(lines.size(), 2u);
    const std::optional<FittedCurve> curve = DocumentCurve(doc).curve;
    ASSERT_TRUE(curve);
    for (size_t i : {size_t(0), size_t(25), size_t(50)}) {
        const double x = 1.0 + 4.0 * double(i) / 50;
        const Prediction p = Predict(*curve, x, 0.95);
        EXPECT_NEAR(lines[0][i].y, Py(*p.predLow), 1) << i;
        EXPECT_NEAR(lines[1][i].y, Py(*p.predHigh), 1) << i;
    }
    // 1/X² narrows the band at the small X and widens it at the large one, against unweighted.
    const int weightedLow = lines[1][0].y - lines[0][0].y;
    const int weightedHigh = lines[1][50].y - lines[0][50].y;
    EXPECT_LT(weightedLow * 3, weightedHigh);
}

TEST_F(Bands, AResidualPlotOfAPerfectFitSpansOneEitherSideOfZero) {
    doc.m_pPairs = {{1, 2}, {2, 4}, {3, 6}};
    doc.m_nPairs = 3;
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    for (CXYdata& p : doc.m_pPairs)
        p.m_dDifference = 0.0;
    const PlotRange range = ResidualRange(doc);
    EXPECT_EQ(range.minY, -1.0);
    EXPECT_EQ(range.maxY, 1.0);
    EXPECT_EQ(range.minX, 1.0);
    EXPECT_EQ(range.maxX, 3.0);
}

TEST(PlotOptionsSettings, TheChoicesAreRememberedAsOneAndZero) {
    MemorySettingsStore settings;
    EXPECT_EQ(LoadPlotOptions(settings), PlotOptions{});
    SavePlotOptions(settings, {true, false, true});
    EXPECT_EQ(settings.GetString("Preferences", "PlotConfidenceBand"), "1");
    EXPECT_EQ(settings.GetString("Preferences", "PlotPredictionBand"), "0");
    EXPECT_EQ(settings.GetString("Preferences", "PlotResiduals"), "1");
    EXPECT_EQ(LoadPlotOptions(settings), (PlotOptions{true, false, true}));
}

} // namespace
} // namespace lumetra
