// The bands and the residual plot as pixels: a logical point (x, y) at 100 % and 100 dpi lands
// on pixel (x / 10, (7000 − y) / 10).
#include "data/LumetraDoc.h"
#include "fit/FitEngine.h"
#include "plot/PainterSurface.h"
#include "plot/PlotDrawing.h"
#include "support/DocTest.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

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

} // namespace
} // namespace lumetra
