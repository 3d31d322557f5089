// The bands and the residual plot as pixels: a logical point (x, y) at 100 % and 100 dpi lands
// on pixel (x / 10, (7000 − y) / 10).
#include "data/LumetraDoc.h"
#include "fit/FitEngine.h"
#include "plot/PainterSurface.h"
#include "plot/PlotDrawing.h"
#include "support/DocTest.h"
#include "support/PlotGoldenCases.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace lumetra {
namespace {

struct RenderedBands : test::DocTest {
    QImage image{1150, 750, QImage::Format_RGB32};

    void SetUp() override {
        test::FillPairs(doc, test::kLinePairs);
        ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    }
    void Render(const PlotOptions& options) {
        image.fill(Qt::white);
        QPainter painter(&image);
        PainterSurface surface(painter, 100, 100);
        PaintPlot(doc, surface, true, options);
    }
    // Whether a pixel of the colour lies within two pixels of the logical point.
    bool Near(int x, int y, QColor colour) const {
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy)
                if (image.pixelColor(x / 10 + dx, (7000 - y) / 10 + dy) == colour)
                    return true;
        return false;
    }
    int Py(double y) const {
        return int((y - doc.m_dMinY) * 5000 / (doc.m_dMaxY - doc.m_dMinY)) + 1000;
    }
    // Pixels of the colour inside the axes (the titles have colours of their own).
    int Count(QColor colour) const {
        int n = 0;
        for (int y = 100; y < 600; ++y)
            for (int x = 201; x <= 1000; ++x)
                n += image.pixelColor(x, y) == colour;
        return n;
    }
};

TEST_F(RenderedBands, TheBandsEncloseTheCurveWhereTheIntervalsPutThem) {
    Render({true, true, false});
    const QColor blue(0, 0, 255), magenta(255, 0, 255), green(0, 255, 0);
    // At X = 3 (logical 6000): Y = 6, mean half-width 0.2479, new observation's 0.6071.
    EXPECT_TRUE(Near(6000, Py(6.0), green));
    EXPECT_TRUE(Near(6000, Py(6.0 - 0.2479), blue));
    EXPECT_TRUE(Near(6000, Py(6.0 + 0.2479), blue));
    EXPECT_TRUE(Near(6000, Py(6.0 - 0.6071), magenta));
    EXPECT_TRUE(Near(6000, Py(6.0 + 0.6071), magenta));
    EXPECT_FALSE(Near(6000, Py(6.0 + 0.45), blue));
    EXPECT_FALSE(Near(6000, Py(6.0 + 0.45), magenta));
    Render({});
    EXPECT_EQ(Count(blue), 0);
    EXPECT_EQ(Count(magenta), 0);
}

TEST_F(RenderedBands, TheResidualPlotHasAZeroLineAndNoCurve) {
    Render({false, false, true});
    // Differences from -0.14 to 0.23: zero lies 0.14 / 0.37 of the way up the axis.
    const int zero = int(0.14 * 5000 / 0.37) + 1000;
    for (int x : {2500, 6000, 9500})
        EXPECT_TRUE(Near(x, zero, QColor(0, 0, 0))) << x;
    EXPECT_TRUE(Near(8000, int(0.37 * 5000 / 0.37) + 1000, QColor(255, 0, 0))); // (4, 0.23)
    EXPECT_EQ(Count(QColor(0, 255, 0)), 0);
}

TEST_F(RenderedBands, ErrorBarsReachSigmaEitherSideOfThePairsThatHaveOne) {
    doc.m_pPairs[2].m_dSigma = 1.0; // (3, 5.9)
    Render({});
    const QColor red(255, 0, 0);
    EXPECT_TRUE(Near(6000, Py(6.9), red));
    EXPECT_TRUE(Near(6000, Py(4.9), red));
    EXPECT_TRUE(Near(6000 - 25, Py(6.9), red)); // the caps
    EXPECT_TRUE(Near(6000 + 25, Py(4.9), red));
    EXPECT_FALSE(Near(6000, Py(7.2), red));
    EXPECT_FALSE(Near(4000, Py(5.1), red)); // (2, 4.1) has none
    // X=Ae^BY measures X: its bar lies along X.
    doc.m_nCurveType = 3;
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    Render({});
    EXPECT_TRUE(Near(6000 + 2000, Py(5.9), red)); // X + σ is one step of X further
    EXPECT_FALSE(Near(6000, Py(6.9), red));
}

TEST_F(RenderedBands, AWeightedFitsResidualPlotShowsItsWeightedResiduals) {
    doc.m_eWeights = WeightScheme::InverseX2;
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    // The weighted line through kLinePairs with w = 1/X², in long double here: residual r_k of
    // pair k, weighted (y − ŷ)/X.
    long double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const CXYdata& p : test::kLinePairs) {
        const long double w = 1.0L / (p.m_dX * p.m_dX);
        sw += w, sx += w * p.m_dX, sy += w * p.m_dY, sxx += w * p.m_dX * p.m_dX;
        sxy += w * p.m_dX * p.m_dY;
    }
    const long double b = (sw * sxy - sx * sy) / (sw * sxx - sx * sx), a = (sy - b * sx) / sw;
    std::vector<double> r;
    for (const CXYdata& p : test::kLinePairs)
        r.push_back(double((p.m_dY - a - b * p.m_dX) / p.m_dX));
    const double low = std::min(0.0, *std::min_element(r.begin(), r.end()));
    const double high = std::max(0.0, *std::max_element(r.begin(), r.end()));
    Render({false, false, true});
    for (size_t k = 0; k < r.size(); ++k) {
        const int y = int((r[k] - low) * 5000 / (high - low)) + 1000;
        EXPECT_TRUE(Near(2000 + 2000 * int(k), y, QColor(255, 0, 0))) << k << " " << r[k];
    }
    const int zero = int(-low * 5000 / (high - low)) + 1000;
    EXPECT_TRUE(Near(5000, zero, QColor(0, 0, 0)));
}

// A residual plot without flagged pairs is drawn as before the flags existed, pixel for pixel
// (tests/data/plot/residuals-line.png, drawn then); a flagged pair gets one box round its marker.
TEST_F(RenderedBands, OnlyAFlaggedPairIsBoxedOnTheResidualPlot) {
    test::FillPairs(
        doc,
        {{1, 2.0}, {2, 4.03}, {3, 5.96}, {4, 8.04}, {5, 9.96}, {6, 12.03}, {7, 13.97}, {8, 16.0}});
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    Render({false, false, true});
    const std::string golden = test::PlotGoldenPath("residuals-line.png");
    if (test::WritingPlotGolden())
        image.save(QString::fromStdString(golden));
    EXPECT_TRUE(image == QImage(QString::fromStdString(golden)).convertToFormat(image.format()));

    test::FillPairs(doc, {{1, 2.02}, {2, 3.99}, {3, 6.01}, {4, 8.6}, {5, 9.98}, {6, 12.01}});
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    Render({false, false, true});
    const QColor mark(kPenFlagged.color.r, kPenFlagged.color.g, kPenFlagged.color.b);
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == mark) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0) << "no mark";
    // Pair 4 lies at X = 4: logical 2000 + 3 * 1600, pixel 680; the box is about the marker.
    EXPECT_NEAR((left + right) / 2, 680, 2);
    EXPECT_LT(right - left, 40);
    EXPECT_LT(bottom - top, 40);
    EXPECT_EQ(image.pixelColor((left + right) / 2, (top + bottom) / 2), QColor(255, 0, 0));
}

// 25 monthly values 2024-2026 and a cubic: the leverage behind the band comes from the centred
// fit state, so the band's edges run smoothly and never pinch to nothing (in raw powers of the
// years they zig-zagged and closed).
TEST_F(RenderedBands, TheBandsOfMonthlyDatesAreSmoothAndOpen) {
    doc.OnNewDocument();
    doc.m_pPairs.clear();
    for (int k = 0; k <= 24; ++k) {
        const double x = 2024 + k / 12.0, d = x - 2025;
        doc.m_pPairs.push_back(
            {x, 100 + 3 * d - 2 * d * d + 0.5 * d * d * d + 2 * std::sin(1.7 * k)});
    }
    doc.m_nPairs = 25;
    doc.m_nOrder = 3;
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    Render({true, false, false});
    const QColor blue(0, 0, 255), green(0, 255, 0);
    // Per column the nearest edge pixel above and below the curve; -1 where a pair's marker
    // covers it.
    std::vector<int> top, bottom;
    for (int x = 260; x <= 960; ++x) {
        int curve = -1;
        for (int y = 0; y < image.height() && curve < 0; ++y)
            if (image.pixelColor(x, y) == green)
                curve = y;
        int above = -1, below = -1;
        for (int y = curve - 1; y >= 0 && above < 0; --y)
            if (image.pixelColor(x, y) == blue)
                above = y;
        for (int y = curve + 1; y < image.height() && below < 0 && curve >= 0; ++y)
            if (image.pixelColor(x, y) == blue)
                below = y;
        top.push_back(curve < 0 ? -1 : above);
        bottom.push_back(curve < 0 ? -1 : below);
    }
    int narrowest = 1000, seen = 0;
    for (size_t i = 0; i < top.size(); ++i)
        if (top[i] >= 0 && bottom[i] >= 0) {
            narrowest = std::min(narrowest, bottom[i] - top[i]);
            ++seen;
        }
    EXPECT_GT(seen, 600);
    EXPECT_GE(narrowest, 40); // pixels between the edges everywhere: no pinch
    auto smooth = [](const std::vector<int>& edge) {
        int worst = 0;
        for (size_t i = 2; i < edge.size(); ++i)
            if (edge[i] >= 0 && edge[i - 1] >= 0 && edge[i - 2] >= 0)
                worst = std::max(worst, std::abs(edge[i] - 2 * edge[i - 1] + edge[i - 2]));
        return worst;
    };
    EXPECT_LE(smooth(top), 2);
    EXPECT_LE(smooth(bottom), 2);
}

} // namespace
} // namespace lumetra
