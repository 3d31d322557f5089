#include "AppFixture.h"

#include "app/ChildFrame.h"
#include "data/LumetraDoc.h"
#include "dataentry/DataPage.h"
#include "framework/CommandIds.h"
#include "framework/HelpViewer.h"
#include "support/ExampleFile.h"

#include <QAction>
#include <QDropEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include <filesystem>

namespace lumetra {
namespace {

using WindowCommands = test::AppFixture;

// What a file manager's drop of these files on the main window delivers.
void Drop(CMainFrame& frame, const std::vector<std::string>& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const std::string& p : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(p));
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &drop);
    test::AppFixture::Settle();
}

// The window entries of the Window menu as it opens: "&N title", " *" for the checked one.
QStringList WindowList(CMainFrame& frame) {
    emit frame.WindowMenu()->aboutToShow();
    QStringList entries;
    for (QAction* a : frame.WindowMenu()->actions())
        if (a->text().size() > 2 && a->text()[0] == '&' && a->text()[1].isDigit())
            entries << a->text() + (a->isChecked() ? " *" : "");
    return entries;
}

TEST_F(WindowCommands, TheWindowMenuListsTheWindowsWithTheActiveOneChecked) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    ASSERT_TRUE(Frame().RouteCommand(cmd::kNewPlotWindow));
    ASSERT_TRUE(app->OpenDocumentFile(Sample()));
    Settle();
    ASSERT_EQ(WindowCount(), 3);
    EXPECT_EQ(WindowList(Frame()),
              (QStringList{"&1 pontius.dat:1", "&2 pontius.dat:2 — Plot", "&3 example.dat *"}));
    // Choosing an entry brings its window to the front.
    emit Frame().WindowMenu()->aboutToShow();
    for (QAction* a : Frame().WindowMenu()->actions())
        if (a->text() == "&2 pontius.dat:2 — Plot")
            a->trigger();
    EXPECT_EQ(Frame().MdiArea()->currentSubWindow()->windowTitle(), "pontius.dat:2 — Plot");
    EXPECT_EQ(WindowList(Frame()),
              (QStringList{"&1 pontius.dat:1", "&2 pontius.dat:2 — Plot *", "&3 example.dat"}));

    // F6 and Shift+F6 go round the windows.
    EXPECT_EQ(Frame().Action(cmd::kNextWindow)->shortcut(), QKeySequence("F6"));
    EXPECT_EQ(Frame().Action(cmd::kPrevWindow)->shortcut(), QKeySequence("Shift+F6"));
    EXPECT_TRUE(Enabled(cmd::kNextWindow));
    const QMdiSubWindow* before = Frame().MdiArea()->currentSubWindow();
    Frame().RouteCommand(cmd::kNextWindow);
    EXPECT_NE(Frame().MdiArea()->currentSubWindow(), before);
    Frame().RouteCommand(cmd::kPrevWindow);
    EXPECT_EQ(Frame().MdiArea()->currentSubWindow(), before);
}

TEST_F(WindowCommands, TitlesNameTheViewAndKeepAnAmpersand) {
    const std::string file = dir.Path("salt & pepper.dat");
    std::filesystem::copy_file(Sample(), file);
    ASSERT_TRUE(Start({QString::fromStdString(file)}));
    Frame().RouteCommand(cmd::kNewPlotWindow);
    Frame().RouteCommand(cmd::kStatisticsWindow);
    Settle();
    EXPECT_EQ(WindowList(Frame()),
              (QStringList{"&1 salt && pepper.dat:1", "&2 salt && pepper.dat:2 — Plot",
                           "&3 salt && pepper.dat:3 — Statistics *"}));
    // The main window names the document as it always did.
    EXPECT_EQ(Frame().windowTitle(), "Lumetra - salt & pepper.dat");
}

TEST_F(WindowCommands, MoreWindowsListsEveryWindowPastTheNinth) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    for (int i = 0; i < 9; ++i)
        Frame().RouteCommand(cmd::kNewListWindow);
    Settle();
    ASSERT_EQ(WindowCount(), 10);
    EXPECT_EQ(WindowList(Frame()).size(), 9);
    QAction* more = Frame().Action(cmd::kMoreWindows);
    ASSERT_NE(more, nullptr);
    EXPECT_TRUE(more->isVisible());
    EXPECT_EQ(more->text(), "&More Windows...");
    QMdiSubWindow* first = Frame().MdiArea()->subWindowList()[0];
    QStringList offered;
    dialogAnswer = [&offered](QDialog& d) {
        auto* list = d.findChild<QListWidget*>();
        for (int row = 0; row < list->count(); ++row)
            offered << list->item(row)->text();
        list->setCurrentRow(0);
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(Frame().RouteCommand(cmd::kMoreWindows));
    EXPECT_EQ(offered.size(), 10);
    EXPECT_EQ(offered.back(), "pontius.dat:10");
    EXPECT_EQ(Frame().MdiArea()->currentSubWindow(), first);
    Frame().MdiArea()->subWindowList().back()->close();
    Settle();
    WindowList(Frame());
    EXPECT_FALSE(more->isVisible());
}

TEST_F(WindowCommands, TheStatusPanesFollowTheActiveWindow) {
    const std::string failed =
        dir.Write("failed.dat", test::Header("1", "0", "5 5 1 1\tfit=failed") + "1 2\r\n3 4\r\n");
    ASSERT_TRUE(Start({QString::fromStdString(failed)}));
    ASSERT_FALSE(ActiveListing()->GetDocument().m_strFitFailure.empty());
    EXPECT_EQ(ui.status[0].back().rfind("Fit Failed:  ", 0), 0u) << ui.status[0].back();
    ASSERT_TRUE(app->OpenDocumentFile(LUMETRA_SOURCE_DIR "/samples/pontius.dat"));
    Settle();
    Enabled(cmd::kFilePrint);
    EXPECT_EQ(ui.status[0].back(), "Ready");
    const std::string pontiusPages = ui.status[2].back();
    EXPECT_EQ(pontiusPages, "Display Page 1 of 1");
    Frame().RouteCommand(cmd::kNewPlotWindow);
    Settle();
    Enabled(cmd::kFilePrint);
    EXPECT_EQ(ui.status[1].back(), "");
    EXPECT_EQ(ui.status[2].back(), ""); // a plot has no pages
    Frame().MdiArea()->setActiveSubWindow(Frame().MdiArea()->subWindowList()[0]);
    Settle();
    EXPECT_EQ(ui.status[0].back().rfind("Fit Failed:  ", 0), 0u) << ui.status[0].back();
    Frame().MdiArea()->setActiveSubWindow(Frame().MdiArea()->subWindowList()[1]);
    Settle();
    Enabled(cmd::kFilePrint);
    EXPECT_EQ(ui.status[0].back(), "Ready");
    EXPECT_EQ(ui.status[2].back(), pontiusPages);
}

TEST_F(WindowCommands, CloseClosesEveryWindowOfTheActiveDocumentThroughItsGuard) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    Frame().RouteCommand(cmd::kNewPlotWindow);
    ASSERT_TRUE(app->OpenDocumentFile(Sample()));
    Settle();
    ASSERT_EQ(WindowCount(), 3);
    EXPECT_EQ(Frame().Action(cmd::kFileClose)->text(), "&Close");
    // The sample is active and modified: the guard asks; No lets it go without saving.
    CLumetraDoc& example = ActiveListing()->GetDocument();
    example.SetModifiedFlag(true);
    ui.answers.push_back(Ui::Answer::No);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFileClose));
    Settle();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::YesNoCancel);
    ASSERT_EQ(WindowCount(), 2);
    // Both windows of the other document go at once, and without a question when unmodified.
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFileClose));
    Settle();
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(Enabled(cmd::kFileClose));
}

TEST_F(WindowCommands, AGuardThatRefusesKeepsTheDocumentOpen) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    CLumetraDoc& doc = ActiveListing()->GetDocument();
    doc.SetModifiedFlag(true);
    doc.m_strFileName = dir.Path("missing/pontius.dat"); // Yes, and the save fails
    ui.answers.push_back(Ui::Answer::Yes);
    Frame().RouteCommand(cmd::kFileClose);
    Settle();
    EXPECT_EQ(WindowCount(), 1);
    EXPECT_GE(ui.messages.size(), 2u);
}

TEST_F(WindowCommands, F1OpensTheHelpTopicOfTheWindowInFront) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    EXPECT_EQ(Frame().Action(cmd::kHelpTopic)->shortcut(), QKeySequence("F1"));
    ASSERT_TRUE(Frame().RouteCommand(cmd::kHelpTopic));
    ASSERT_NE(CHelpViewer::Current(), nullptr);
    EXPECT_EQ(CHelpViewer::Current()->Browser()->source(), HelpTopicUrl(help::kListingWindow));
    EXPECT_TRUE(HelpTopicUrl(help::kListingWindow).toString().endsWith("listing.html"));
    Frame().RouteCommand(cmd::kNewPlotWindow);
    Settle();
    Frame().RouteCommand(cmd::kHelpTopic);
    EXPECT_EQ(CHelpViewer::Current()->Browser()->source(), HelpTopicUrl(help::kPlotWindow));
    EXPECT_TRUE(HelpTopicUrl(help::kPlotWindow).toString().endsWith("plot.html"));
}

TEST_F(WindowCommands, F1OnTheOptionsSheetOpensThePagesTopic) {
    QUrl shown;
    sheetAnswer = [&](CMySheet& sheet) {
        sheet.show();
        sheet.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&sheet));
        EXPECT_TRUE(sheet.SetActivePage(1));
        QTest::keyClick(sheet.ActivePage(), Qt::Key_F1);
        if (CHelpViewer* viewer = CHelpViewer::Current())
            shown = viewer->Browser()->source();
        return false;
    };
    ASSERT_TRUE(Start());
    EXPECT_EQ(shown, HelpTopicUrl(help::kDataPage));
}

TEST_F(WindowCommands, ADroppedCsvFileStartsANewDataSetWithItsPairs) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    const std::string csv = dir.Write("spring.csv", "1,3\r\n2,5\r\n3,7\r\n");
    std::vector<std::string> shownPairs;
    sheetAnswer = [&](CMySheet& sheet) {
        sheet.show();
        EXPECT_EQ(sheet.ActivePage()->windowTitle(), "Data");
        auto& data = *dynamic_cast<CData*>(sheet.Pages()[1]);
        shownPairs = data.Rules().Lines();
        sheet.accept();
        return sheet.result() == QDialog::Accepted;
    };
    Drop(Frame(), {csv});
    ASSERT_EQ(WindowCount(), 2);
    EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text;
    EXPECT_EQ(ui.fileRequests.size(), 0u); // no start-up choice for a dropped file
    EXPECT_EQ(shownPairs.size(), 3u);
    CLumetraDoc& doc = ActiveListing()->GetDocument();
    EXPECT_EQ(doc.GetTitle(), "Lumi1");
    ASSERT_EQ(doc.m_nPairs, 3);
    EXPECT_EQ(doc.m_pPairs[2].m_dX, 3.0);
    EXPECT_EQ(doc.m_pPairs[2].m_dY, 7.0);
    EXPECT_NEAR(doc.m_dCoef[0], 2.0, 1e-12); // fitted: Y = 2X + 1
    EXPECT_GT(doc.m_nLineCount, 0);
}

TEST_F(WindowCommands, ImportTextStartsANewDataSetFromTheChosenFile) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    const std::string csv = dir.Write("spring.csv", "1,3\r\n2,5\r\n3,7\r\n");
    EXPECT_EQ(Frame().Action(cmd::kImportText)->text(), "&Import Text...");
    sheetAnswer = [](CMySheet& sheet) {
        EXPECT_EQ(sheet.ActivePage()->windowTitle(), "Data");
        sheet.accept();
        return true;
    };
    ui.fileChoices.push_back({true, csv});
    ASSERT_TRUE(Frame().RouteCommand(cmd::kImportText));
    Settle();
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].title, "Import Text");
    ASSERT_EQ(WindowCount(), 2);
    EXPECT_EQ(ActiveListing()->GetDocument().m_nPairs, 3);
    // Cancelled, nothing opens.
    ASSERT_TRUE(Frame().RouteCommand(cmd::kImportText));
    Settle();
    EXPECT_EQ(WindowCount(), 2);
}

TEST_F(WindowCommands, DesktopKeysCloseTheWindowSaveAsAndQuit) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    for (const auto& [id, keys] :
         {std::pair{cmd::kCloseWindow, "Ctrl+W"}, std::pair{cmd::kFileSaveAs, "Ctrl+Shift+S"},
          std::pair{cmd::kExit, "Ctrl+Q"}})
        EXPECT_EQ(Frame().Action(id)->shortcut(), QKeySequence(keys)) << keys;
    // Ctrl+W closes the plot alone; on the data set's last window it asks first.
    Frame().RouteCommand(cmd::kNewPlotWindow);
    Settle();
    CLumetraDoc& doc =
        dynamic_cast<CChildFrame*>(Frame().MdiArea()->subWindowList()[0])->View().GetDocument();
    doc.SetModifiedFlag(true);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kCloseWindow));
    Settle();
    EXPECT_EQ(WindowCount(), 1);
    EXPECT_TRUE(ui.messages.empty());
    ui.answers.push_back(Ui::Answer::Cancel);
    Frame().RouteCommand(cmd::kCloseWindow);
    Settle();
    EXPECT_EQ(WindowCount(), 1); // cancelled: kept
    ASSERT_EQ(ui.messages.size(), 1u);
    ui.answers.push_back(Ui::Answer::No);
    Frame().RouteCommand(cmd::kCloseWindow);
    Settle();
    EXPECT_EQ(WindowCount(), 0);
}

TEST_F(WindowCommands, EachDroppedTextFileGetsADataSetOfItsOwn) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    const std::string a = dir.Write("a.csv", "1,3\r\n2,5\r\n");
    const std::string b = dir.Write("b.txt", "1\t4\r\n2\t8\r\n3\t12\r\n");
    sheetAnswer = [](CMySheet& sheet) {
        sheet.show();
        sheet.accept();
        return sheet.result() == QDialog::Accepted;
    };
    Drop(Frame(), {a, b});
    ASSERT_EQ(WindowCount(), 3);
    std::vector<int> pairs;
    for (CLumetraDoc* doc : app->DocManager().Documents())
        pairs.push_back(doc->m_nPairs);
    EXPECT_EQ(pairs, (std::vector<int>{2, 2, 3}));
    ASSERT_EQ(ui.messages.size(), 0u);
}

TEST_F(WindowCommands, TwoDroppedDataFilesOpenTwoWindows) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    const std::string a = dir.Write("a.dat", test::TempDir::Read(Sample()));
    const std::string b = dir.Write("b.DAT", test::TempDir::Read(Sample()));
    Drop(Frame(), {a, b});
    ASSERT_EQ(WindowCount(), 3);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Frame().MdiArea()->subWindowList()[1]->windowTitle(), "a.dat");
    EXPECT_EQ(Frame().MdiArea()->subWindowList()[2]->windowTitle(), "b.DAT");
    EXPECT_EQ(ActiveListing()->GetDocument().m_nPairs, 2);
    EXPECT_EQ(ui.fileRequests.size(), 0u);
}

} // namespace
} // namespace lumetra
