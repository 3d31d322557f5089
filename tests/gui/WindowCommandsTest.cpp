#include "AppFixture.h"

#include "app/ChildFrame.h"
#include "data/LumetraDoc.h"
#include "dataentry/DataPage.h"
#include "framework/CommandIds.h"
#include "framework/HelpViewer.h"

#include <QAction>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

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
              (QStringList{"&1 pontius.dat:1", "&2 pontius.dat:2", "&3 example.dat *"}));
    // Choosing an entry brings its window to the front.
    emit Frame().WindowMenu()->aboutToShow();
    for (QAction* a : Frame().WindowMenu()->actions())
        if (a->text() == "&2 pontius.dat:2")
            a->trigger();
    EXPECT_EQ(Frame().MdiArea()->currentSubWindow()->windowTitle(), "pontius.dat:2");
    EXPECT_EQ(WindowList(Frame()),
              (QStringList{"&1 pontius.dat:1", "&2 pontius.dat:2 *", "&3 example.dat"}));

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
