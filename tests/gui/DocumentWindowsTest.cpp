#include "AppFixture.h"

#include "app/ChildFrame.h"
#include "app/RecentFileList.h"
#include "data/LumetraDoc.h"
#include "framework/CommandIds.h"
#include "framework/ToolbarImages.h"
#include "plot/PlotView.h"

#include <QAction>
#include <QFile>
#include <QToolBar>

#include <filesystem>

namespace lumetra {
namespace {

struct DocumentWindows : test::AppFixture {
    std::string Pontius() const { return LUMETRA_SOURCE_DIR "/samples/pontius.dat"; }
    QList<QMdiSubWindow*> Windows() const {
        return Frame().MdiArea()->subWindowList(QMdiArea::CreationOrder);
    }
    QRect Workspace() const { return Frame().MdiArea()->viewport()->rect(); }
    void ExpectAllInside() const {
        for (QMdiSubWindow* w : Windows())
            EXPECT_TRUE(Workspace().contains(w->geometry()))
                << "window " << w->windowTitle().toStdString() << " at " << w->geometry().x() << ","
                << w->geometry().y() << " " << w->width() << "x" << w->height() << " in "
                << Workspace().width() << "x" << Workspace().height();
    }
    void CloseAll() {
        for (CLumetraDoc* doc : app->DocManager().Documents())
            doc->SetModifiedFlag(false);
        Frame().MdiArea()->closeAllSubWindows();
        Settle();
    }
};

TEST_F(DocumentWindows, NewWindowsOpenWhollyInsideWorkspacesOfEverySize) {
    ASSERT_TRUE(Start({QString::fromStdString(Pontius())}));
    ExpectAllInside(); // the first one, placed before the main window was shown
    for (const QSize size : {QSize(1200, 900), QSize(640, 480), QSize(420, 330)}) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        Frame().resize(size);
        Settle();
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(Frame().RouteCommand(i % 2 ? cmd::kNewListWindow : cmd::kNewPlotWindow));
            Settle();
            const QRect placed = Windows().back()->geometry();
            EXPECT_TRUE(Workspace().contains(placed));
            // Most of the area, not the toolkit's smallest size.
            EXPECT_GE(placed.width(), std::min(Workspace().width(), 4 * Workspace().width() / 5));
        }
        CloseAll();
        ASSERT_TRUE(app->OpenDocumentFile(Pontius()));
        Settle();
        ExpectAllInside();
    }
}

TEST_F(DocumentWindows, CascadeKeepsEveryWindowAtAUsableSizeInside) {
    ASSERT_TRUE(Start({QString::fromStdString(Pontius())}));
    Frame().resize(800, 600);
    Settle();
    for (int i = 0; i < 5; ++i)
        Frame().RouteCommand(cmd::kNewPlotWindow);
    Settle();
    QMdiSubWindow* active = Frame().MdiArea()->activeSubWindow();
    Windows()[0]->showMaximized();
    Frame().MdiArea()->setActiveSubWindow(active);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kCascade));
    Settle();
    ExpectAllInside();
    const QRect ws = Workspace();
    QPoint last(-1, -1);
    for (QMdiSubWindow* w : Windows()) {
        EXPECT_FALSE(w->isMaximized());
        EXPECT_GE(w->width(), ws.width() * 3 / 5);
        EXPECT_GE(w->height(), ws.height() * 3 / 5);
        EXPECT_EQ(w->size(), Windows()[0]->size()); // one size for all
    }
    // The active window stays active and ends on top, furthest down the steps.
    EXPECT_EQ(Frame().MdiArea()->activeSubWindow(), active);
    for (QMdiSubWindow* w : Windows())
        EXPECT_LE(w->y(), active->y());
}

TEST_F(DocumentWindows, ArrangeIconsMovesOnlyTheMinimizedWindows) {
    ASSERT_TRUE(Start({QString::fromStdString(Pontius())}));
    Frame().resize(800, 600);
    Settle();
    Frame().RouteCommand(cmd::kNewPlotWindow);
    Frame().RouteCommand(cmd::kNewListWindow);
    Settle();
    const QList<QMdiSubWindow*> w = Windows();
    ASSERT_EQ(w.size(), 3);
    w[0]->showMinimized();
    w[2]->showMinimized();
    Settle();
    w[0]->move(300, 100); // an icon dragged up into the area
    w[1]->setGeometry(50, 40, 400, 300);
    Settle();
    ASSERT_TRUE(Frame().RouteCommand(cmd::kArrangeIcons));
    Settle();
    EXPECT_EQ(w[1]->geometry(), QRect(50, 40, 400, 300)); // not tiled, not moved
    EXPECT_FALSE(w[1]->isMinimized());
    // The icons along the bottom, left to right in the order the windows were made.
    EXPECT_EQ(w[0]->geometry().bottomLeft(), QPoint(0, Workspace().bottom()));
    EXPECT_EQ(w[2]->x(), w[0]->width());
    EXPECT_EQ(w[2]->geometry().bottom(), Workspace().bottom());
    EXPECT_TRUE(w[0]->isMinimized());
    EXPECT_TRUE(w[2]->isMinimized());
}

TEST_F(DocumentWindows, TheMainTitleNamesTheActiveDocumentMaximizedOrNot) {
    ASSERT_TRUE(Start({QString::fromStdString(Pontius())}));
    Frame().UpdateCommandUI();
    QMdiSubWindow* pontius = Windows()[0];
    ASSERT_FALSE(pontius->isMaximized());
    EXPECT_EQ(Frame().windowTitle(), "Lumetra - pontius.dat");
    pontius->showMaximized();
    Settle();
    Frame().UpdateCommandUI();
    EXPECT_EQ(Frame().windowTitle(), "Lumetra - pontius.dat");
    pontius->showNormal();
    ASSERT_TRUE(app->OpenDocumentFile(Sample()));
    Settle();
    Frame().UpdateCommandUI();
    EXPECT_EQ(Frame().windowTitle(), "Lumetra - example.dat");
    Frame().MdiArea()->setActiveSubWindow(pontius);
    Frame().UpdateCommandUI();
    EXPECT_EQ(Frame().windowTitle(), "Lumetra - pontius.dat");
    CloseAll();
    Frame().UpdateCommandUI();
    EXPECT_EQ(Frame().windowTitle(), "Lumetra");
}

TEST_F(DocumentWindows, ListingAndPlotWindowsShowTheDataFileIcon) {
    ASSERT_TRUE(Start({QString::fromStdString(Pontius())}));
    Frame().RouteCommand(cmd::kNewPlotWindow);
    Settle();
    const QImage expected = DocumentIcon().pixmap(16, 16).toImage();
    ASSERT_FALSE(expected.isNull());
    for (QMdiSubWindow* w : Windows())
        EXPECT_EQ(w->windowIcon().pixmap(16, 16).toImage(), expected);
}

TEST_F(DocumentWindows, SaveAndSaveAsWorkFromAPlotWindow) {
    const std::string path = dir.Path("pontius.dat");
    std::filesystem::copy_file(Pontius(), path);
    ASSERT_TRUE(Start({QString::fromStdString(path)}));
    ASSERT_TRUE(Frame().RouteCommand(cmd::kNewPlotWindow));
    Settle();
    ASSERT_NE(dynamic_cast<CPlotView*>(Frame().ActiveView()), nullptr);
    EXPECT_TRUE(Enabled(cmd::kFileSave));
    EXPECT_TRUE(Enabled(cmd::kFileSaveAs));
    EXPECT_TRUE(Frame().ToolButton(cmd::kFileSave)->isEnabled());
    CLumetraDoc& doc = Frame().ActiveView()->GetDocument();
    doc.m_strDataTitle = "Second calibration";
    doc.SetModifiedFlag(true);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFileSave));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(test::TempDir::Read(path).substr(0, 20), "@Second calibration\r");
    EXPECT_TRUE(ui.fileRequests.empty()); // it had a name
    const std::string copy = dir.Path("copy.dat");
    ui.fileChoices.push_back({true, copy});
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFileSaveAs));
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(test::TempDir::Read(copy), test::TempDir::Read(path));
    EXPECT_EQ(doc.GetPathName(), copy);
    EXPECT_EQ(app->RecentFiles().Files().front(), copy);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DocumentWindows, TheToolbarKeepsItsButtonsInPlaceWithoutADocument) {
    ASSERT_TRUE(Start({QString::fromStdString(Pontius())}));
    QToolBar* bar = Frame().ToolBar();
    const QList<QAction*> entries = bar->actions();
    // The twelve buttons of old, the Statistics window's, and the four gaps.
    ASSERT_EQ(entries.size(), 17);
    std::vector<QRect> places;
    for (QAction* a : entries)
        places.push_back(bar->widgetForAction(a)->geometry());
    CloseAll();
    Frame().UpdateCommandUI();
    Settle();
    ASSERT_EQ(bar->actions(), entries);
    int gaps = 0;
    for (int i = 0; i < 17; ++i) {
        QAction* a = entries[i];
        gaps += a->isSeparator();
        EXPECT_TRUE(a->isVisible()) << i;
        EXPECT_TRUE(bar->widgetForAction(a)->isVisible()) << i;
        EXPECT_EQ(bar->widgetForAction(a)->geometry(), places[size_t(i)]) << i;
    }
    EXPECT_EQ(gaps, 4);
    EXPECT_TRUE(entries[3]->isSeparator() && entries[6]->isSeparator() &&
                entries[10]->isSeparator() && entries[14]->isSeparator());
    // Disabled where they need a document; the menus hide those entries instead.
    for (int id : {cmd::kFileSave, cmd::kOptionsData, cmd::kOptionsCompute, cmd::kNewPlotWindow,
                   cmd::kZoomPlot, cmd::kNextPage, cmd::kPrevPage, cmd::kGoToPage, cmd::kFilePrint})
        EXPECT_FALSE(Frame().ToolButton(id)->isEnabled()) << id;
    for (int id : {cmd::kFileNew, cmd::kFileOpen, cmd::kHelpContents})
        EXPECT_TRUE(Frame().ToolButton(id)->isEnabled()) << id;
    EXPECT_FALSE(Frame().Action(cmd::kFileSave)->isVisible());
    EXPECT_EQ(Frame().ToolButton(cmd::kFileSave)->toolTip(), "Save");
}

} // namespace
} // namespace lumetra
