#include "AppFixture.h"

#include "data/LumetraDoc.h"
#include "framework/CommandIds.h"
#include "plot/PainterSurface.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotFile.h"
#include "plot/PlotView.h"

#include <QImage>
#include <QPainter>

#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QScrollBar>

namespace lumetra {
namespace {

using PlotWindow = test::AppFixture;

CPlotView* ActivePlot(CMainFrame& frame) {
    return dynamic_cast<CPlotView*>(frame.ActiveView());
}

TEST_F(PlotWindow, OpensAtHalfSizeAndZoomsBothWays) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    EXPECT_FALSE(Enabled(cmd::kZoomPlot)); // a listing has no zoom
    ASSERT_TRUE(Frame().RouteCommand(cmd::kNewPlotWindow));
    Settle();
    ASSERT_EQ(WindowCount(), 2);
    CPlotView* plot = ActivePlot(Frame());
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->LogicalSize(), QSize(5750, 3750));
    EXPECT_TRUE(Enabled(cmd::kZoomPlot));
    EXPECT_FALSE(Enabled(cmd::kFilePrint));
    EXPECT_FALSE(Enabled(cmd::kPrintPreview));
    EXPECT_TRUE(Enabled(cmd::kOptionsCompute));
    ASSERT_TRUE(Frame().RouteCommand(cmd::kZoomPlot));
    EXPECT_EQ(plot->LogicalSize(), QSize(11500, 7500));
    EXPECT_EQ(plot->m_bFullSize, 1);
    Frame().RouteCommand(cmd::kZoomPlot);
    EXPECT_EQ(plot->LogicalSize(), QSize(5750, 3750));
    plot->grab(); // paints without a message
    Settle();
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PlotWindow, BandsAndTheResidualPlotAreSwitchedFromTheMenuAndRemembered) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    EXPECT_FALSE(Enabled(cmd::kConfidenceBand)); // the listing has no bands
    ASSERT_TRUE(Frame().RouteCommand(cmd::kNewPlotWindow));
    Settle();
    CPlotView* plot = ActivePlot(Frame());
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->m_options, PlotOptions{});
    for (int id : {cmd::kConfidenceBand, cmd::kPredictionBand, cmd::kResidualPlot}) {
        EXPECT_TRUE(Enabled(id));
        EXPECT_EQ(plot->OnUpdateCommand(id)->checked, false);
    }
    ASSERT_TRUE(Frame().RouteCommand(cmd::kConfidenceBand));
    ASSERT_TRUE(Frame().RouteCommand(cmd::kResidualPlot));
    EXPECT_TRUE(plot->OnUpdateCommand(cmd::kConfidenceBand)->checked);
    EXPECT_FALSE(plot->OnUpdateCommand(cmd::kPredictionBand)->checked);
    EXPECT_TRUE(plot->OnUpdateCommand(cmd::kResidualPlot)->checked);
    EXPECT_EQ(settings.GetString("Preferences", "PlotConfidenceBand"), "1");
    EXPECT_EQ(settings.GetString("Preferences", "PlotPredictionBand"), "0");
    EXPECT_EQ(settings.GetString("Preferences", "PlotResiduals"), "1");
    Frame().RouteCommand(cmd::kResidualPlot);
    EXPECT_EQ(settings.GetString("Preferences", "PlotResiduals"), "0");
    // A new plot window opens with the choices the user made last.
    ASSERT_TRUE(Frame().RouteCommand(cmd::kNewPlotWindow));
    Settle();
    CPlotView* second = ActivePlot(Frame());
    ASSERT_NE(second, plot);
    EXPECT_EQ(second->m_options, (PlotOptions{true, false, false}));
    second->grab(); // paints the band without a message
    Settle();
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PlotWindow, KeysScrollTheDrawing) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    Frame().RouteCommand(cmd::kNewPlotWindow);
    Settle();
    CPlotView* plot = ActivePlot(Frame());
    Frame().RouteCommand(cmd::kZoomPlot);
    plot->resize(200, 150);
    QScrollBar* v = plot->verticalScrollBar();
    QScrollBar* h = plot->horizontalScrollBar();
    ASSERT_GT(v->maximum(), 0);
    auto press = [plot](int key) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(plot, &e);
    };
    press(Qt::Key_Right);
    EXPECT_EQ(h->value(), h->singleStep());
    press(Qt::Key_End);
    EXPECT_EQ(v->value(), v->maximum());
    EXPECT_EQ(h->value(), 0);
    press(Qt::Key_PageUp);
    EXPECT_EQ(v->value(), v->maximum() - v->pageStep());
    press(Qt::Key_Home);
    EXPECT_EQ(v->value(), 0);
    press(Qt::Key_A);
    EXPECT_EQ(v->value(), 0);
}

TEST_F(PlotWindow, NoRangeGivesItsMessageOnceAfterThePaint) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    Frame().RouteCommand(cmd::kNewPlotWindow);
    Settle();
    CPlotView* plot = ActivePlot(Frame());
    plot->GetDocument().m_dMaxX = plot->GetDocument().m_dMinX;
    plot->grab();
    plot->grab();
    Settle();
    EXPECT_EQ(ui.OnlyMessage(),
              "Maximum value for X equals Minimum!\nCan't plot if no range in X!");
}

// The example (0, 1), (2, 5) with Y = 2X + 1, drawn at 100 % and 100 dpi: a logical point
// (x, y) lands on pixel (x / 10, (7000 − y) / 10).
TEST_F(PlotWindow, MarkersAndCurveLandWhereTheMappingPutsThem) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    const CLumetraDoc& doc = ActiveListing()->GetDocument();
    QImage image(1150, 750, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PainterSurface surface(painter, 100, 100);
        EXPECT_EQ(PaintPlot(doc, surface, true), std::nullopt);
    }
    auto pixel = [&](int x, int y) { return image.pixelColor(x / 10, (7000 - y) / 10); };
    EXPECT_EQ(pixel(2000, 1000), QColor(255, 0, 0));  // the marker of (0, 1)
    EXPECT_EQ(pixel(10000, 6000), QColor(255, 0, 0)); // the marker of (2, 5)
    // The curve at X = 1, one pixel wide: on that pixel or a neighbour.
    bool green = false;
    for (int dx = -10; dx <= 10; dx += 10)
        for (int dy = -10; dy <= 10; dy += 10)
            green = green || pixel(6000 + dx, 3500 + dy) == QColor(0, 255, 0);
    EXPECT_TRUE(green);
    EXPECT_EQ(pixel(4000, 5000), QColor(255, 255, 255)); // nothing off the line
    EXPECT_TRUE(ui.messages.empty());
}

// Repeated lines are skipped only while skipping cannot change the picture: a repeat after a text
// or after another pen is drawn again.
TEST(PainterSurfaceTest, RepeatsAreDrawnAgainAfterTextOrAnotherPen) {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QColor red(255, 0, 0), green(0, 255, 0);
    {
        QPainter painter(&image);
        PainterSurface surface(painter, 100, 100);
        surface.SetWindowOrigin(0, 1000); // pixel (x, y) is logical (10x, 1000 − 10y)
        surface.SelectPen(kPenData);
        surface.MoveTo(0, 500); // a red line along pixel row 50
        surface.LineTo(2000, 500);
        surface.SelectFont(400);
        surface.SetTextColor({0, 0, 0});
        surface.TextOut(0, 800, "MMMMMMMMMMMMM"); // black text over the row
        surface.MoveTo(0, 500);
        surface.LineTo(2000, 500); // the same line again: over the text
        surface.SelectPen(kPenCurve);
        surface.MoveTo(0, 200); // a green line along row 80, then red over it
        surface.LineTo(2000, 200);
        surface.SelectPen(kPenData);
        surface.MoveTo(0, 200);
        surface.LineTo(2000, 200);
        surface.MoveTo(0, 500); // and a plain repeat of row 50 with the same pen
        surface.LineTo(2000, 500);
    }
    for (int x = 0; x < 200; ++x) {
        ASSERT_EQ(image.pixelColor(x, 50), red) << x;
        ASSERT_EQ(image.pixelColor(x, 80), red) << x;
    }
    EXPECT_NE(image.pixelColor(100, 70), green); // nothing of the first pen is left visible
}

TEST_F(PlotWindow, ExportPlotWritesThePictureAtTheWindowsZoom) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    EXPECT_FALSE(Enabled(cmd::kExportPlot)); // a listing has no plot to export
    EXPECT_EQ(Frame().Action(cmd::kExportPlot)->text(), "Export Plot...");
    Frame().RouteCommand(cmd::kNewPlotWindow);
    Settle();
    ASSERT_NE(ActivePlot(Frame()), nullptr);
    EXPECT_TRUE(Enabled(cmd::kExportPlot));

    const std::string out = dir.Path("plot.png");
    ui.fileChoices.push_back({true, out});
    ASSERT_TRUE(Frame().RouteCommand(cmd::kExportPlot));
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const Ui::FileRequest& r = ui.fileRequests[0];
    EXPECT_TRUE(r.saving);
    EXPECT_EQ(r.title, "Export Plot");
    ASSERT_EQ(r.filters.size(), 3u);
    EXPECT_EQ(r.filters[0].pattern, "*.png");
    EXPECT_EQ(r.filters[1].pattern, "*.svg");
    EXPECT_EQ(r.filters[2].pattern, "*.pdf");
    EXPECT_EQ(r.initialDir, LUMETRA_SOURCE_DIR "/samples");
    EXPECT_TRUE(ui.messages.empty());
    // The window opened at 50 %: so is the picture, drawn as the window draws.
    QImage picture(QString::fromStdString(out));
    ASSERT_FALSE(picture.isNull());
    const PlotPictureSize half = PlotPictureSizeAt(false, kPlotPictureDpi);
    EXPECT_EQ(picture.size(), QSize(half.width, half.height));
    // The marker of (2, 5) at 50 %: logical (5000, 3000) under an origin of 3500.
    EXPECT_EQ(picture.pixelColor(5000 * 96 / 1000, (3500 - 3000) * 96 / 1000), QColor(255, 0, 0));

    Frame().RouteCommand(cmd::kZoomPlot);
    ui.fileChoices.push_back({true, out});
    Frame().RouteCommand(cmd::kExportPlot);
    EXPECT_EQ(QImage(QString::fromStdString(out)).width(),
              PlotPictureSizeAt(true, kPlotPictureDpi).width);
}

TEST_F(PlotWindow, ExportPlotRefusesANameWithoutAPictureSuffix) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    Frame().RouteCommand(cmd::kNewPlotWindow);
    Settle();
    ui.fileChoices.push_back({true, dir.Path("plot.bmp")});
    Frame().RouteCommand(cmd::kExportPlot);
    EXPECT_EQ(ui.OnlyMessage(), PlotSuffixMessage(dir.Path("plot.bmp")));
    // Cancelled: nothing asked, nothing written.
    ui.messages.clear();
    Frame().RouteCommand(cmd::kExportPlot);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.Path("plot.bmp"))));
}

} // namespace
} // namespace lumetra
