#include "AppFixture.h"

#include "app/ChildFrame.h"
#include "app/RecentFileList.h"
#include "data/LumetraDoc.h"
#include "fit/FitStatistics.h"
#include "framework/CommandIds.h"
#include "framework/CommandTable.h"
#include "framework/DocManager.h"
#include "options/OptionsSheet.h"
#include "report/GoToPageDlg.h"
#include "support/ExampleFile.h"

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QMenu>

namespace lumetra {
namespace {

using Listing = test::AppFixture;

TEST_F(Listing, StartingWithoutAFileOffersTheStartUpChoice) {
    ASSERT_TRUE(Start());
    ASSERT_EQ(WindowCount(), 1);
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const Ui::FileRequest& r = ui.fileRequests[0];
    EXPECT_EQ(r.title, "New Data to start new fit or Select a data file and Open Existing");
    EXPECT_EQ(r.okLabel, "Open Existing");
    EXPECT_EQ(r.cancelLabel, "New Data");
    EXPECT_EQ(Frame().windowTitle(), "Lumetra - Lumi1"); // the active document, maximized or not
    EXPECT_EQ(Frame().MdiArea()->subWindowList()[0]->windowTitle(), "Lumi1");
}

TEST_F(Listing, NewDataOpensTheOptionsSheetOnTheCurvePage) {
    std::vector<QString> pages;
    sheetAnswer = [&](CMySheet& sheet) {
        sheet.show();
        for (CPropertyPage* page : sheet.Pages())
            pages.push_back(page->windowTitle());
        EXPECT_EQ(sheet.windowTitle(), "Lumetra");
        EXPECT_EQ(sheet.ActivePage()->windowTitle(), "Curve");
        return false;
    };
    ASSERT_TRUE(Start());
    EXPECT_EQ(pages, (std::vector<QString>{"Curve", "Data", "Resolution"}));
    EXPECT_EQ(ActiveListing()->List()->model()->rowCount(), 0); // cancelled: the window stays empty
    // The choice is offered once per window.
    ActiveListing()->OnDraw();
    EXPECT_EQ(ui.fileRequests.size(), 1u);
}

TEST_F(Listing, AFileChosenAtStartUpIsReadAndReported) {
    ui.fileChoices.push_back({true, Sample()});
    ASSERT_TRUE(Start());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Row(0), QString(80, '-'));
    EXPECT_EQ(Row(1), "         Data Title:  Test");
    EXPECT_EQ(app->RecentFiles().Files().front(), Sample());
    EXPECT_EQ(settings.GetString("Preferences", "LastPath"), LUMETRA_SOURCE_DIR "/samples");
}

TEST_F(Listing, AFileOnTheCommandLineIsReportedWithoutTheChoice) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    EXPECT_TRUE(ui.fileRequests.empty());
    EXPECT_EQ(Row(0), QString(80, '-'));
    EXPECT_EQ(Row(2), "         Data File:   " + QString::fromStdString(Sample()));
    EXPECT_EQ(Frame().MdiArea()->subWindowList()[0]->windowTitle(), "example.dat");
    const int lines = ActiveListing()->GetDocument().m_nLineCount;
    ASSERT_GT(lines, 15);
    EXPECT_EQ(ActiveListing()->List()->model()->rowCount(), lines);
    Frame().UpdateCommandUI();
    EXPECT_EQ(ui.status[1].back(), QString("%1/%1 Lines").arg(lines).toStdString());
    EXPECT_EQ(ui.status[2].back(), "Display Page 1 of 1");
    EXPECT_EQ(ui.status[0].back(), "Ready");
    EXPECT_FALSE(Enabled(cmd::kNextPage));
    EXPECT_FALSE(Enabled(cmd::kPrevPage));
    EXPECT_FALSE(Enabled(cmd::kGoToPage));
    EXPECT_TRUE(Enabled(cmd::kFileSave));
    EXPECT_TRUE(Enabled(cmd::kOptionsData));
    EXPECT_TRUE(Enabled(cmd::kOptionsCompute));
}

// The listing shows the cells of titles with non-ASCII characters whole and 21 characters wide.
TEST_F(Listing, TitlesWithUtf8CharactersKeepTheirCells) {
    CLumetraDoc doc(ui, settings);
    test::FillExample(doc);
    std::string e11;
    for (int i = 0; i < 11; ++i)
        e11 += "\xc3\xa9";
    doc.m_strXTitle = "Temp\xc3\xa9rature";
    doc.m_strYTitle = e11 + e11;
    const std::string file = dir.Path("utf8.dat");
    ASSERT_TRUE(doc.OnSaveDocument(file));
    ASSERT_TRUE(Start({QString::fromStdString(file)}));
    const QString header = Row(ActiveListing()->GetDocument().m_nLineCount - 3);
    const QStringList cells = header.split('\t');
    ASSERT_EQ(cells.size(), 4) << header.toStdString();
    EXPECT_EQ(cells[0], QString::fromUtf8("|--- Temp\xc3\xa9rature ---|"));
    EXPECT_EQ(cells[1], " " + QString(19, QChar(0xE9)) + " ");
    EXPECT_FALSE(header.contains(QChar(0xFFFD)));
}

TEST_F(Listing, AFileThatCannotBeOpenedOnTheCommandLineEndsTheStart) {
    EXPECT_FALSE(Start({dir.Path("missing.dat").c_str()}));
    EXPECT_EQ(ui.OnlyMessage(), dir.Path("missing.dat") + " was not found.");
}

TEST_F(Listing, PagesWalkForwardBackAndToAChosenPage) {
    const std::string file = test::WriteLineFile(ui, settings, dir.Path("thirty.dat"), 30);
    ASSERT_TRUE(Start({file.c_str()}, 10));
    CLumetraView* view = ActiveListing();
    const int lines = view->GetDocument().m_nLineCount; // header and 30 rows
    ASSERT_GT(lines, 40);
    const int pages = (lines + 9) / 10;
    EXPECT_EQ(view->Report().m_nDisplayPages, pages);
    EXPECT_TRUE(Enabled(cmd::kNextPage));
    EXPECT_FALSE(Enabled(cmd::kPrevPage));
    EXPECT_TRUE(Enabled(cmd::kGoToPage));

    ASSERT_TRUE(Frame().RouteCommand(cmd::kNextPage));
    EXPECT_EQ(view->Report().m_nCurPage, 2);
    EXPECT_EQ(view->List()->model()->rowCount(), 10);
    EXPECT_EQ(Row(0).toStdString(), view->GetDocument().m_pReportLines[10]);
    EXPECT_EQ(view->List()->currentIndex().row(), 0);
    EXPECT_TRUE(Enabled(cmd::kPrevPage));
    Frame().UpdateCommandUI();
    EXPECT_EQ(ui.status[1].back(), "10/" + std::to_string(lines) + " Lines");
    EXPECT_EQ(ui.status[2].back(), "Display Page 2 of " + std::to_string(pages));

    ASSERT_TRUE(Frame().RouteCommand(cmd::kPrevPage));
    EXPECT_EQ(view->Report().m_nCurPage, 1);
    EXPECT_EQ(view->List()->currentIndex().row(), 9); // the last line of the page

    view->m_askPage = [](int current) -> std::optional<int> { return current + 100; };
    ASSERT_TRUE(Frame().RouteCommand(cmd::kGoToPage));
    EXPECT_EQ(view->Report().m_nCurPage, pages);
    EXPECT_EQ(view->List()->model()->rowCount(), lines - (pages - 1) * 10);
    EXPECT_FALSE(Enabled(cmd::kNextPage));
    Frame().UpdateCommandUI();
    EXPECT_EQ(ui.status[1].back(),
              std::to_string(lines - (pages - 1) * 10) + "/" + std::to_string(lines) + " Lines");

    view->m_askPage = [](int) -> std::optional<int> { return -4; };
    Frame().RouteCommand(cmd::kGoToPage);
    EXPECT_EQ(view->Report().m_nCurPage, 1);
    view->m_askPage = [](int) -> std::optional<int> { return std::nullopt; }; // Cancel
    Frame().RouteCommand(cmd::kGoToPage);
    EXPECT_EQ(view->Report().m_nCurPage, 1);
}

TEST_F(Listing, TheGoToDialogWantsAWholeNumber) {
    CGoToPageDlg dialog(ui);
    dialog.m_nPage = 3;
    dialog.show();
    EXPECT_EQ(dialog.PageField()->text(), "3");
    dialog.PageField()->setText("two");
    dialog.accept();
    EXPECT_EQ(ui.OnlyMessage(), "Please enter an integer.");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.m_nPage, 3);
    dialog.PageField()->setText(" 7 ");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_nPage, 7);
}

TEST_F(Listing, SaveAsWritesTheFileAndRemembersIt) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    const std::string target = dir.Path("copy.dat");
    ui.fileChoices.push_back({true, target});
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFileSaveAs));
    EXPECT_EQ(ui.fileRequests.back().title, "Save As");
    EXPECT_EQ(test::TempDir::Read(target), test::TempDir::Read(Sample()));
    EXPECT_EQ(app->RecentFiles().Files().front(), target);
    Frame().UpdateCommandUI();
    EXPECT_EQ(Frame().MdiArea()->subWindowList()[0]->windowTitle(), "copy.dat");
}

// After Save As the report and every window title name the new file at once; a changed
// document shows "*" in its titles until it is saved.
TEST_F(Listing, ASaveShowsTheNewNameAtOnceAndChangesAreMarked) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    ASSERT_TRUE(Frame().RouteCommand(cmd::kNewListWindow));
    Settle();
    CLumetraDoc& doc = ActiveListing()->GetDocument();
    doc.SetModifiedFlag(true);
    Frame().UpdateCommandUI();
    const QList<QMdiSubWindow*> windows = Frame().MdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(windows[0]->windowTitle(), "example.dat:1*");
    EXPECT_EQ(windows[1]->windowTitle(), "example.dat:2*");
    const std::string target = dir.Path("copy.dat");
    ui.fileChoices.push_back({true, target});
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFileSaveAs));
    EXPECT_EQ(windows[0]->windowTitle(), "copy.dat:1");
    EXPECT_EQ(windows[1]->windowTitle(), "copy.dat:2");
    EXPECT_EQ(doc.m_pReportLines[2], "         Data File:   " + target);
    for (QMdiSubWindow* w : windows) {
        auto& view = dynamic_cast<CLumetraView&>(dynamic_cast<CChildFrame*>(w)->View());
        EXPECT_EQ(view.List()->model()->index(2, 0).data().toString().toStdString(),
                  "         Data File:   " + target);
    }
}

TEST_F(Listing, ClosingAskesToSaveChangedWork) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    CLumetraDoc& doc = ActiveListing()->GetDocument();
    doc.SetModifiedFlag(true);
    ui.answers.push_back(Ui::Answer::No);
    Frame().MdiArea()->subWindowList()[0]->close();
    Settle();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "The data \"Test\" in " + Sample() + " has been modified!\nSave the modifications?");
    EXPECT_EQ(ui.messages[0].buttons, Ui::Buttons::YesNoCancel);
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_TRUE(app->DocManager().Documents().empty());

    ui.messages.clear();
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFileNew)); // "Lumi2": New Data again
    Settle();
    ActiveListing()->GetDocument().SetModifiedFlag(true);
    ui.answers.push_back(Ui::Answer::No);
    Frame().MdiArea()->subWindowList()[0]->close();
    Settle();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Lumi1: you've added data but haven't saved it!\nSave the data NOW?");
    EXPECT_EQ(WindowCount(), 0);
}

// Cancel on any document's question stops the whole exit: nothing is closed or saved.
TEST_F(Listing, CancelStopsTheCloseAndTheWholeExit) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    ActiveListing()->GetDocument().SetModifiedFlag(true);
    ui.answers.push_back(Ui::Answer::Cancel);
    Frame().MdiArea()->subWindowList()[0]->close();
    Settle();
    EXPECT_EQ(WindowCount(), 1);
    EXPECT_EQ(ActiveListing()->GetDocument().m_bClosing, 0);

    ASSERT_TRUE(Frame().RouteCommand(cmd::kFileNew));
    Settle();
    ASSERT_EQ(WindowCount(), 2);
    for (CLumetraDoc* doc : app->DocManager().Documents())
        doc->SetModifiedFlag(true);
    ui.messages.clear();
    ui.answers = {Ui::Answer::No, Ui::Answer::Cancel};
    EXPECT_FALSE(Frame().close());
    Settle();
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(WindowCount(), 2);
    for (CLumetraDoc* doc : app->DocManager().Documents()) {
        EXPECT_EQ(doc->m_bClosing, 0);
        EXPECT_TRUE(doc->IsModified());
    }
    EXPECT_EQ(test::TempDir::Read(Sample()), test::ExampleFileBytes());
}

TEST_F(Listing, ClosingIsRefusedWhileReadingOrFitting) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    CLumetraDoc& doc = ActiveListing()->GetDocument();
    doc.m_bReading = 1;
    Frame().MdiArea()->subWindowList()[0]->close();
    doc.m_bReading = 0;
    doc.m_bFitting = 1;
    Frame().MdiArea()->subWindowList()[0]->close();
    doc.m_bFitting = 0;
    Settle();
    EXPECT_EQ(WindowCount(), 1);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text,
              "Reading a data File.  Won't close now!!\nTry again when file has been read!");
    EXPECT_EQ(ui.messages[1].text, "Fitting the data to curve.  Won't close now!!\nTry again "
                                   "when data has been fitted!");
}

TEST_F(Listing, AFailedSaveWhileClosingKeepsTheDocument) {
    ASSERT_TRUE(Start());
    CLumetraDoc& doc = ActiveListing()->GetDocument();
    test::FillExample(doc);
    doc.SetModifiedFlag(true);
    ui.answers.push_back(Ui::Answer::Yes);
    ui.fileChoices.push_back({true, dir.path()}); // a directory: the save fails
    Frame().MdiArea()->subWindowList()[0]->close();
    Settle();
    EXPECT_EQ(WindowCount(), 1);
    EXPECT_EQ(ui.messages.back().text, "Access to " + dir.path() + " was denied.");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_bClosing, 0);
}

TEST_F(Listing, TheRecentFileListFollowsWhatWasOpened) {
    const std::string second = test::WriteLineFile(ui, settings, dir.Path("second.dat"), 3);
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    ASSERT_NE(app->OpenDocumentFile(second), nullptr);
    Settle();
    ASSERT_EQ(app->RecentFiles().Files().size(), 2u);
    EXPECT_EQ(Frame().Action(cmd::kRecentFile1)->text().toStdString(),
              "&1 " + CRecentFileList::Abbreviate(second, 30));
    EXPECT_EQ(Frame().Action(cmd::kRecentFile1 + 1)->text().toStdString(),
              "&2 " + CRecentFileList::Abbreviate(Sample(), 30));
    EXPECT_EQ(settings.GetString("Recent File List", "File1"), second);
    EXPECT_EQ(WindowCount(), 2);
    // Opening a file that is open already shows it again.
    app->OpenDocumentFile(Sample());
    EXPECT_EQ(WindowCount(), 2);
}

TEST_F(Listing, NewListWindowNeedsADocumentWindow) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    EXPECT_TRUE(Enabled(cmd::kNewListWindow));
    ASSERT_TRUE(Frame().RouteCommand(cmd::kNewListWindow));
    Settle();
    ASSERT_EQ(WindowCount(), 2);
    EXPECT_EQ(Row(0), QString(80, '-')); // the new window built its report
    Frame().UpdateCommandUI();
    EXPECT_EQ(Frame().MdiArea()->subWindowList()[1]->windowTitle(), "example.dat:2");
    for (QMdiSubWindow* w : Frame().MdiArea()->subWindowList())
        w->close();
    Settle();
    EXPECT_FALSE(Enabled(cmd::kNewListWindow));
    EXPECT_FALSE(Enabled(cmd::kNewPlotWindow));
    Frame().OnCommand(cmd::kNewListWindow);
    EXPECT_EQ(ui.messages.back().text, "Command failed.");
}

TEST_F(Listing, TheMenusFollowWhetherADocumentIsOpen) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    Frame().UpdateCommandUI();
    EXPECT_TRUE(Frame().Action(cmd::kFileSave)->isVisible());
    EXPECT_EQ(Frame().Action(cmd::kFileNew)->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(Frame().Action(cmd::kFileSave)->statusTip(), "Save the data to file");
    EXPECT_EQ(Frame().Action(cmd::kFileSave)->toolTip(), "Save");
    Frame().MdiArea()->subWindowList()[0]->close();
    Settle();
    Frame().UpdateCommandUI();
    EXPECT_FALSE(Frame().Action(cmd::kFileSave)->isVisible());
    EXPECT_FALSE(Frame().Action(cmd::kNextPage)->isVisible());
    EXPECT_TRUE(Frame().Action(cmd::kViewToolbar)->isVisible());
}

// Three listing windows of one document: a refit runs the fit (and its warning) once, and every
// window shows the report it rebuilt.
TEST_F(Listing, ARefitWithThreeListingWindowsFitsOnce) {
    const std::string file = test::WriteLineFile(ui, settings, dir.Path("line.dat"), 20);
    ASSERT_TRUE(Start({QString::fromStdString(file)}));
    CLumetraDoc& doc = ActiveListing()->GetDocument();
    ASSERT_NE(app->DocManager().NewListView(doc), nullptr);
    ASSERT_NE(app->DocManager().NewListView(doc), nullptr);
    Settle();
    ASSERT_EQ(WindowCount(), 3);
    // Years and a cubic by the classic method: each fit warns of its digits once.
    doc.m_pPairs.clear();
    for (int year = 2000; year <= 2025; ++year)
        doc.m_pPairs.push_back({double(year), 50.0 + 0.001 * (year - 2000) * (year - 2000)});
    doc.m_nPairs = int(doc.m_pPairs.size());
    doc.m_nOrder = 3;
    doc.m_eFitMethod = FitMethod::Classic;
    ui.messages.clear();
    app->DocManager().UpdateAllViews(doc, nullptr, kHintRefit);
    Settle();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].action, kRefitAccurateButton);
}

TEST_F(Listing, EveryRowOfTheCommandTableMakesItsEntryKeyPromptAndButton) {
    ASSERT_TRUE(Start());
    for (const CommandDef& def : Commands()) {
        SCOPED_TRACE(def.id);
        // The recent files' place and the printing without dialog have no entry of their own.
        QAction* a = Frame().Action(def.id);
        if (def.id == cmd::kRecentFile1 || (def.menu == Menu::None && !*def.shortcut)) {
            EXPECT_EQ(a, nullptr);
            continue;
        }
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), QString::fromUtf8(def.text));
        EXPECT_EQ(a->shortcuts(), QKeySequence::listFromString(QString::fromUtf8(def.shortcut)));
        EXPECT_EQ(a->statusTip().toStdString(), CommandPrompt(def.id));
        if (!CommandToolTip(def.id).empty()) {
            EXPECT_EQ(a->toolTip().toStdString(), CommandToolTip(def.id));
        }
        EXPECT_EQ(a->isCheckable(), def.checkable);
        QAction* button = Frame().ToolButton(def.id);
        EXPECT_EQ(button != nullptr, def.toolbar > 0);
        if (button) {
            EXPECT_EQ(button->toolTip(), a->toolTip());
            EXPECT_EQ(button->statusTip(), a->statusTip());
            EXPECT_FALSE(button->icon().isNull());
        }
    }
}

} // namespace
} // namespace lumetra
