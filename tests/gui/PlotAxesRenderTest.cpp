// Log and readable axes, clipping, the legend and a refused plot's frame as pixels: a logical
// point (x, y) at 100 % and 100 dpi lands on pixel (x / 10, (7000 − y) / 10).
#include "data/LumetraDoc.h"
#include "fit/FitEngine.h"
#include "platform/MemorySettingsStore.h"
#include "plot/PainterSurface.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotLegend.h"
#include "support/ExampleFile.h"
#include "support/RecordingUi.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace lumetra {
namespace {

const QColor kGreen(0, 255, 0), kBlack(0, 0, 0), kGrey(128, 128, 128);

struct RenderedAxes : ::testing::Test {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc{ui, settings};
    QImage image{1150, 750, QImage::Format_RGB32};

    void SetPairs(const std::vector<CXYdata>& pairs, int type = 0) {
        test::FillPairsAndExtremes(doc, pairs, type);
    }
    void Render(const PlotOptions& options) {
        image.fill(Qt::white);
        QPainter painter(&image);
        PainterSurface surface(painter, 100, 100);
        ASSERT_EQ(PaintPlot(doc, surface, true, options), std::nullopt);
    }
    bool Near(int x, int y, QColor colour, int reach = 2) const {
        for (int dx = -reach; dx <= reach; ++dx)
            for (int dy = -reach; dy <= reach; ++dy)
                if (image.pixelColor(x / 10 + dx, (7000 - y) / 10 + dy) == colour)
                    return true;
        return false;
    }
    int Count(QColor colour, QRect pixels) const {
        int n = 0;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y)
            for (int x = pixels.left(); x <= pixels.right(); ++x)
                n += image.pixelColor(x, y) == colour;
        return n;
    }
};

TEST_F(RenderedAxes, LogAxesStraightenAPowerLaw) {
    // Y = X² over three decades of X and six of Y.
    SetPairs({{1, 1}, {10, 100}, {1000, 1e6}}, 1);
    doc.m_nOrder = 1;
    doc.m_dCoef[0] = 2.0;
    PlotOptions both;
    both.logX = both.logY = true;
    Render(both);
    for (double t : {0.1, 0.5, 0.9})
        EXPECT_TRUE(Near(2000 + int(8000 * t), 1000 + int(5000 * t), kGreen)) << t;
    // Decade ticks: at X = 10, a third of the way along.
    EXPECT_TRUE(Near(2000 + 8000 / 3, 950, kBlack, 1));
    PlotOptions x;
    x.logX = true;
    Render(x);
    // At X = 30, Y = 900 of a million: at the bottom.
    EXPECT_TRUE(Near(2000 + int(std::log10(30.0) / 3 * 8000), 1004, kGreen));
    EXPECT_FALSE(Near(2000 + 4000, 3500, kGreen, 5));
    PlotOptions y;
    y.logY = true;
    Render(y);
    // X = 500 of 1 to 1000, Y = 250000: 5.4 of 6 decades up.
    EXPECT_TRUE(Near(2000 + int(499.0 / 999.0 * 8000), 1000 + int(std::log10(250000.0) / 6 * 5000),
                     kGreen));
}

TEST_F(RenderedAxes, ReadableAxesTickAtTidyValuesAndClipTheCurve) {
    SetPairs({{2024, 0}, {2024.7, 1}, {2025.3, 4}, {2026, 9}});
    doc.m_nOrder = 2;
    doc.m_dCoef[0] = 6.0; // leaves the plot at the top
    doc.m_dCoef[1] = -6.0 * 2 * 2024;
    doc.m_dCoef[2] = 6.0 * 2024 * 2024;
    PlotOptions readable;
    readable.readable = true;
    Render(readable);
    // X ticks every half year, 2000 logical units apart (the first under the first marker).
    for (int x = 4000; x <= 10000; x += 2000)
        EXPECT_TRUE(Near(x, 950, kBlack, 0)) << x;
    EXPECT_FALSE(Near(3000, 950, kBlack, 0));
    // Nothing green above the plot's top or beside it.
    EXPECT_EQ(Count(kGreen, QRect(0, 0, 1150, 100)), 0);
    EXPECT_GT(Count(kGreen, QRect(200, 100, 801, 500)), 100);
    Render({}); // as described, the curve goes on above
    EXPECT_GT(Count(kGreen, QRect(0, 0, 1150, 100)), 0);
}

TEST_F(RenderedAxes, TheLegendStandsInTheEmptyCorner) {
    SetPairs({{1, 2.0}, {2, 4.1}, {3, 5.9}, {4, 8.2}, {5, 9.8}});
    doc.m_nOrder = 1;
    ASSERT_EQ(CFitEngine(doc).RefitDocument(), 1);
    Render({true, true, false});
    // Its frame is grey, a character in from the top left; nothing grey at the top right.
    EXPECT_GT(Count(kGrey, QRect(200, 100, 400, 120)), 100);
    EXPECT_EQ(Count(kGrey, QRect(600, 100, 400, 120)), 0);
    // Its words in black inside the frame.
    EXPECT_GT(Count(kBlack, QRect(240, 105, 350, 100)), 50);
}

TEST_F(RenderedAxes, ARefusedPlotShowsItsFrameAndReason) {
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PainterSurface surface(painter, 100, 100);
        PaintPlotRefusal(surface, true,
                         "1 X value is 0 or negative!\nCan't plot it on a logarithmic X axis!");
    }
    EXPECT_TRUE(Near(2000, 1000, kBlack, 1));
    EXPECT_TRUE(Near(10000, 6000, kBlack, 1));
    EXPECT_GT(Count(kBlack, QRect(300, 300, 550, 60)), 100); // the two lines of words
}

} // namespace
} // namespace lumetra
