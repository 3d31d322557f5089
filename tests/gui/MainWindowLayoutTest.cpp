#include "AppFixture.h"

#include "app/WindowLayout.h"
#include "data/LumetraDoc.h"
#include "framework/CommandIds.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

namespace lumetra {
namespace {

struct MainWindowLayout : test::AppFixture {
    // Ends the run as the user does, then starts the next one on the same settings.
    bool Restart() {
        Frame().close();
        Settle();
        app.reset();
        Settle();
        return Start({QString::fromStdString(Sample())});
    }
    std::string Stored(const char* entry) const {
        return settings.GetString(kWindowSection, entry, "(none)");
    }
};

TEST_F(MainWindowLayout, AFirstRunUsesTheBuiltInPlaceWithBothBars) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    EXPECT_EQ(Frame().geometry(), QRect(19, 72, 676 - 19, 449 - 72));
    EXPECT_EQ(Frame().windowState(), Qt::WindowNoState);
    EXPECT_TRUE(Frame().ToolBar()->isVisible());
    EXPECT_TRUE(Frame().statusBar()->isVisible());
    EXPECT_EQ(app->m_bRestorePending, 0);
    // Once per run: a second call changes nothing.
    int show = 42;
    app->RestoreWindowState(show);
    EXPECT_EQ(show, 42);
}

TEST_F(MainWindowLayout, AHiddenToolbarIsStoredAndHiddenAtTheNextStart) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    ASSERT_TRUE(Frame().RouteCommand(cmd::kViewToolbar));
    ASSERT_FALSE(Frame().ToolBar()->isVisible());
    Frame().setGeometry(40, 60, 500, 300);
    ASSERT_TRUE(Restart());
    EXPECT_EQ(Stored("Coordinates"), "0040 0060 0540 0360");
    EXPECT_EQ(Stored("Iconized"), "0");
    EXPECT_EQ(Stored("Maximized"), "0");
    EXPECT_EQ(Stored("ToolBar"), "0");
    EXPECT_EQ(Stored("StatusLine"), "1");
    EXPECT_FALSE(settings.GetString("BarState", "MainFrame").empty());
    EXPECT_FALSE(Frame().ToolBar()->isVisible());
    EXPECT_TRUE(Frame().statusBar()->isVisible());
    EXPECT_EQ(Frame().geometry(), QRect(40, 60, 500, 300));
    Frame().UpdateCommandUI();
    EXPECT_FALSE(Frame().Action(cmd::kViewToolbar)->isChecked()); // the menu agrees
    // Shown again, it stays shown the time after.
    ASSERT_TRUE(Frame().RouteCommand(cmd::kViewToolbar));
    ASSERT_TRUE(Restart());
    EXPECT_TRUE(Frame().ToolBar()->isVisible());
}

TEST_F(MainWindowLayout, TheStoredToolbarFlagWinsOverTheBarState) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    Frame().RouteCommand(cmd::kViewToolbar); // the bar state records a hidden toolbar
    Frame().close();
    Settle();
    app.reset();
    settings.SetString(kWindowSection, "ToolBar", "1");
    settings.SetString(kWindowSection, "StatusLine", "0");
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    EXPECT_TRUE(Frame().ToolBar()->isVisible());
    EXPECT_FALSE(Frame().statusBar()->isVisible());
}

TEST_F(MainWindowLayout, AMaximizedWindowOpensMaximizedKeepingItsNormalPlace) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    Frame().setGeometry(30, 40, 400, 300);
    Frame().showMaximized();
    Settle();
    ASSERT_TRUE(Restart());
    EXPECT_EQ(Stored("Maximized"), "1");
    EXPECT_EQ(Stored("Iconized"), "0");
    EXPECT_EQ(Stored("Coordinates"), "0030 0040 0430 0340");
    EXPECT_TRUE(Frame().windowState() & Qt::WindowMaximized);
}

TEST_F(MainWindowLayout, MinimizedFromMaximizedStartsMinimizedAndReturnsMaximized) {
    settings.SetString(kWindowSection, "Iconized", "1");
    settings.SetString(kWindowSection, "Maximized", "1");
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    EXPECT_TRUE(Frame().windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(Frame().windowState() & Qt::WindowMaximized);
    // Closed in that state, it records it again.
    ASSERT_TRUE(Restart());
    EXPECT_EQ(Stored("Iconized"), "1");
    EXPECT_EQ(Stored("Maximized"), "1");
}

TEST_F(MainWindowLayout, AStoredPlaceBeyondTheScreenIsBroughtOntoIt) {
    const int w = QGuiApplication::primaryScreen()->geometry().width();
    settings.SetString(kWindowSection, "Coordinates",
                       FormatCoordinates({w + 100, 10, w + 500, 310}));
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    EXPECT_EQ(Frame().geometry(), QRect(w - 400, 10, 400, 300));
}

TEST_F(MainWindowLayout, TheLayoutIsWrittenEvenWhenADocumentRefusesToClose) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    CLumetraDoc& doc = ActiveListing()->GetDocument();
    doc.m_bFitting = 1; // a fit runs: the document will not close
    Frame().RouteCommand(cmd::kViewStatusBar);
    Frame().close();
    Settle();
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(ui.OnlyMessage(), "Fitting the data to curve.  Won't close now!!\nTry again when "
                                "data has been fitted!");
    EXPECT_EQ(Stored("StatusLine"), "0");
    doc.m_bFitting = 0;
}

} // namespace
} // namespace lumetra
