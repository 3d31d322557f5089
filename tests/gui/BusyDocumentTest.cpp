#include "AppFixture.h"

#include "app/ChildFrame.h"
#include "data/LumetraDoc.h"
#include "framework/CommandGuard.h"
#include "framework/CommandIds.h"
#include "framework/GuardedApplication.h"
#include "support/ExampleFile.h"

#include <QTimer>

#include <fstream>
#include <stdexcept>

namespace lumetra {
namespace {

// Commands clicked while an operation of a document dispatches messages: the operation's
// pumps run them, exactly where a user's click would be handled.
using Busy = test::AppFixture;

TEST_F(Busy, FileNewInsideTheFirstPumpOfAFailingReadKeepsTheNewDocument) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    const std::string damaged = dir.Path("cut.dat");
    std::ofstream(damaged, std::ios::binary) << "@Title\r\nX\r\n";
    bool clicked = false;
    ui.onPump = [&] {
        if (clicked)
            return;
        clicked = true;
        Frame().RouteCommand(cmd::kFileNew);
    };
    EXPECT_EQ(app->OpenDocumentFile(damaged), nullptr);
    ui.onPump = nullptr;
    Settle();
    ASSERT_TRUE(clicked);
    EXPECT_EQ(ui.messages.back().text, "File " + damaged +
                                           ":\nis damaged: its header ends after line 2!\n"
                                           "Stopping file read!");
    // The failed document is gone; the example and the new one remain, each with its window.
    const std::vector<CLumetraDoc*> docs = app->DocManager().Documents();
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_EQ(docs[0]->GetPathName(), Sample());
    EXPECT_EQ(docs[1]->GetTitle(), "Lumi1");
    EXPECT_EQ(app->DocManager().Views(*docs[1]).size(), 1u);
    EXPECT_EQ(WindowCount(), 2);
    // The new one still works: it takes another listing window.
    EXPECT_NE(app->DocManager().NewListView(*docs[1]), nullptr);
    Settle();
    EXPECT_EQ(WindowCount(), 3);
}

TEST_F(Busy, ExitInsideAReadIsRefusedUntilTheReadEnds) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    const std::string big = test::WriteLineFile(ui, settings, dir.Path("big.dat"), 2000);
    bool asked = false;
    ui.onPump = [&] {
        if (asked)
            return;
        asked = true;
        Frame().RouteCommand(cmd::kExit);
    };
    CLumetraDoc* doc = app->OpenDocumentFile(big);
    ui.onPump = nullptr;
    Settle();
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(Frame().isVisible() || !Frame().isHidden());
    EXPECT_EQ(ui.messages.back().text,
              "Reading a data File.  Won't close now!!\nTry again when file has been read!");
    EXPECT_EQ(app->DocManager().Documents().size(), 2u);
    EXPECT_EQ(WindowCount(), 2);
}

TEST_F(Busy, ADocumentBeingBuiltTakesNoCommandsAndKeepsItsWindows) {
    const std::string big = test::WriteLineFile(ui, settings, dir.Path("big.dat"), 2000);
    ASSERT_TRUE(Start({QString::fromStdString(big)}));
    CLumetraDoc& doc = ActiveListing()->GetDocument();
    ASSERT_NE(app->DocManager().NewListView(doc), nullptr);
    Settle();
    ASSERT_EQ(WindowCount(), 2);
    int sheets = 0;
    sheetAnswer = [&](CMySheet&) {
        ++sheets;
        return false;
    };
    int checks = 0;
    ui.onPump = [&] {
        if (checks++ != 3)
            return;
        EXPECT_TRUE(app->DocManager().IsBusy(doc));
        EXPECT_FALSE(Enabled(cmd::kOptionsData));
        EXPECT_FALSE(Enabled(cmd::kFileSave));
        EXPECT_FALSE(Enabled(cmd::kNewPlotWindow));
        EXPECT_TRUE(Enabled(cmd::kFileNew));
        EXPECT_FALSE(Frame().RouteCommand(cmd::kOptionsData));
        Frame().RouteCommand(cmd::kNewPlotWindow);
        // Neither window may go while the pages are built, nor the program.
        for (QMdiSubWindow* w : Frame().MdiArea()->subWindowList())
            if (w != Frame().MdiArea()->activeSubWindow())
                w->close();
        Frame().close();
    };
    // A refit from the sheet rebuilds the report of every listing window, pumping as it goes.
    app->DocManager().UpdateAllViews(doc, nullptr, kHintRefit);
    ui.onPump = nullptr;
    Settle();
    EXPECT_GT(checks, 3);
    EXPECT_EQ(sheets, 0);
    EXPECT_EQ(WindowCount(), 2);
    EXPECT_FALSE(app->DocManager().IsBusy(doc));
    EXPECT_TRUE(Enabled(cmd::kOptionsData));
}

// A command run by a progress step throws: inside File > Open's read, or inside Save As (its
// windows show the new name). The last catch tells it; no document is left behind, busy or under
// the wait cursor, so the program still ends when asked.
TEST_F(Busy, AnExceptionInsideAReadOrASaveLeavesNothingBusy) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    CLumetraDoc& doc = ActiveListing()->GetDocument();
    const struct {
        int command;
        std::string chosen;
    } cases[] = {
        {cmd::kFileOpen, test::WriteLineFile(ui, settings, dir.Path("big.dat"), 2000)},
        {cmd::kFileSaveAs, dir.Path("copy.dat")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        ui.fileChoices.push_back({true, c.chosen});
        ui.onPump = [] { throw std::runtime_error("the disk went away"); };
        Frame().RouteCommand(c.command);
        ui.onPump = nullptr;
        Settle();
        EXPECT_EQ(ui.messages.back().text, "Command failed.\nthe disk went away");
        EXPECT_EQ(app->DocManager().Documents(), std::vector<CLumetraDoc*>{&doc});
        EXPECT_FALSE(app->DocManager().IsBusy(doc));
        EXPECT_EQ(ui.waitEnds, ui.waitBegins);
        EXPECT_TRUE(Enabled(cmd::kOptionsData));
    }
    EXPECT_EQ(doc.GetPathName(), dir.Path("copy.dat"));
    Frame().close();
    Settle();
    EXPECT_EQ(WindowCount(), 0);
}

TEST_F(Busy, AnExceptionThatEscapesACommandIsShownAndTheProgramGoesOn) {
    EXPECT_FALSE(RunGuarded(ui, [] { throw std::bad_alloc(); }));
    EXPECT_FALSE(RunGuarded(ui, [] { throw std::runtime_error("the disk went away"); }));
    EXPECT_FALSE(RunGuarded(ui, [] { throw 42; }));
    bool ran = false;
    EXPECT_TRUE(RunGuarded(ui, [&] { ran = true; }));
    EXPECT_TRUE(ran);
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text, "Out of Memory!\nSHUT DOWN APPLICATION NOW!");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Stop);
    EXPECT_EQ(ui.messages[1].text, "Command failed.\nthe disk went away");
    EXPECT_EQ(ui.messages[2].text, "Command failed.");
}

TEST_F(Busy, AnExceptionFromAnEventHandlerReachesTheLastCatch) {
    auto* qapp = static_cast<GuardedApplication*>(QCoreApplication::instance());
    qapp->SetUi(&ui);
    bool after = false;
    QTimer::singleShot(0, [] { throw std::bad_alloc(); });
    QTimer::singleShot(0, [&] { after = true; });
    Settle();
    qapp->SetUi(nullptr);
    EXPECT_TRUE(after);
    EXPECT_EQ(ui.OnlyMessage(), "Out of Memory!\nSHUT DOWN APPLICATION NOW!");
}

} // namespace
} // namespace lumetra
