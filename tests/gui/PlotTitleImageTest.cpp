// The plot's titles rendered as the window renders them, checked pixel by pixel against the
// cells of the tick labels.
#include "data/LumetraDoc.h"
#include "plot/PainterSurface.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotFile.h"
#include "support/DocTest.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace lumetra {
namespace {

constexpr int kDpi = 96;

// Paints only the titles (every text not in the default black) onto the image, and keeps the
// cell of every tick label in the image's pixels.
class TitlesOnlySurface : public Surface {
public:
    explicit TitlesOnlySurface(QPainter& painter) : m_inner(painter, kDpi, kDpi) {}

    std::vector<QRect> labelCells;
    int titleTexts = 0;

    void SetWindowOrigin(int x, int y) override {
        m_originY = y;
        m_inner.SetWindowOrigin(x, y);
    }
    void SelectPen(const Pen& pen) override { m_inner.SelectPen(pen); }
    FontMetrics SelectFont(int height) override { return m_metrics = m_inner.SelectFont(height); }
    Rgb SetTextColor(Rgb color) override {
        m_color = color;
        return m_inner.SetTextColor(color);
    }
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void TextOut(int x, int y, std::string_view text) override {
        if (m_color != Rgb{}) {
            ++titleTexts;
            m_inner.TextOut(x, y, text);
            return;
        }
        // The cell: from the text's point, its characters wide and one line high.
        const double s = kDpi / 1000.0;
        const int left = int(std::floor(x * s));
        const int top = int(std::floor((m_originY - y) * s));
        const int right = int(std::ceil((x + int(text.size()) * m_metrics.charWidth) * s));
        const int bottom = int(std::ceil((m_originY - y + m_metrics.lineHeight) * s));
        labelCells.push_back(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
    }

private:
    PainterSurface m_inner;
    FontMetrics m_metrics;
    Rgb m_color;
    int m_originY = 0;
};

struct PlotTitles : test::DocTest {

    void SetUp() override {
        ASSERT_TRUE(doc.OnOpenDocument(LUMETRA_SOURCE_DIR "/samples/pontius.dat"));
    }
    // The file shows X fixed with 0 decimals and Y in exponent form with 5.
    void Display(int fixed, int decimals = 5) {
        doc.m_bXFixed = doc.m_bYFixed = fixed;
        doc.m_nXDecimals = doc.m_nYDecimals = decimals;
        doc.BuildFormats();
    }
    void LongTitles() {
        doc.m_strDataTitle = "Pontius load cell calibration, second series, bench 4 of 7";
        doc.m_strXTitle = "Load applied to the cell in pounds, in steps of 150000 pounds";
        doc.m_strYTitle = "Deflection of the cell";
    }
    // All Y values below zero: labels with a minus sign, one character longer.
    void NegativeY() {
        for (CXYdata& p : doc.m_pPairs)
            p.m_dY -= 4.0;
        doc.m_dMinY -= 4.0;
        doc.m_dMaxY -= 4.0;
    }

    // Renders the plot and counts title pixels inside label cells; every title must show.
    void ExpectTitlesClearOfLabels(bool fullSize) {
        SCOPED_TRACE(fullSize ? "100 %" : "50 %");
        const PlotPictureSize size = PlotPictureSizeAt(fullSize, kDpi);
        QImage image(size.width, size.height, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        TitlesOnlySurface surface(painter);
        ASSERT_EQ(PaintPlot(doc, surface, fullSize), std::nullopt);
        painter.end();
        ASSERT_EQ(surface.labelCells.size(), 9u + 6u);
        ASSERT_GE(surface.titleTexts, 3);
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ink += image.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_GT(ink, 200); // the titles are there
        for (size_t k = 0; k < surface.labelCells.size(); ++k) {
            const QRect cell = surface.labelCells[k].intersected(image.rect());
            int inside = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x)
                    inside += image.pixel(x, y) != qRgb(255, 255, 255);
            EXPECT_EQ(inside, 0) << (k < 9 ? "X" : "Y") << " label " << (k < 9 ? k : k - 9);
        }
    }
};

TEST_F(PlotTitles, TheFilesOwnLabelsAtBothZooms) {
    ExpectTitlesClearOfLabels(false);
    ExpectTitlesClearOfLabels(true);
}

TEST_F(PlotTitles, FixedLabelsAtBothZooms) {
    Display(1);
    ExpectTitlesClearOfLabels(false);
    ExpectTitlesClearOfLabels(true);
    NegativeY();
    ExpectTitlesClearOfLabels(false);
    ExpectTitlesClearOfLabels(true);
}

TEST_F(PlotTitles, ExponentLabelsAtBothZooms) {
    Display(0);
    ExpectTitlesClearOfLabels(false);
    ExpectTitlesClearOfLabels(true);
    NegativeY();
    ExpectTitlesClearOfLabels(false);
    ExpectTitlesClearOfLabels(true);
}

TEST_F(PlotTitles, LongTitlesWithEitherLabelsAtBothZooms) {
    LongTitles();
    for (int fixed : {1, 0}) {
        SCOPED_TRACE(fixed ? "fixed" : "exponent");
        Display(fixed);
        ExpectTitlesClearOfLabels(false);
        ExpectTitlesClearOfLabels(true);
    }
    NegativeY();
    ExpectTitlesClearOfLabels(false);
    ExpectTitlesClearOfLabels(true);
}

} // namespace
} // namespace lumetra
