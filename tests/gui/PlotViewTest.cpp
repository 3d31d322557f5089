#include "AppFixture.h"

#include "app/CommandIds.h"
#include "data/LumetraDoc.h"
#include "plot/PlotView.h"

#include <QAction>
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

} // namespace
} // namespace lumetra
