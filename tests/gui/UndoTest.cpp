// Edit > Undo and Redo of what the Options sheet kept, as a user reaches them.
#include "AppFixture.h"

#include "data/LumetraDoc.h"
#include "dataentry/DataPage.h"
#include "framework/CommandIds.h"
#include "options/CurvePage.h"
#include "stats/StatisticsView.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <array>
#include <filesystem>

namespace lumetra {
namespace {

struct Undo : test::AppFixture {
    CLumetraDoc* doc = nullptr;
    std::string file;
    void SetUp() override {
        // A copy, for the tests that save it.
        file = dir.Path("example.dat");
        std::filesystem::copy_file(Sample(), file);
        ASSERT_TRUE(Start({QString::fromStdString(file)}));
        doc = &ActiveListing()->GetDocument();
    }
    // Options > Data, `change` made on the shown sheet, then OK.
    void Ok(const std::function<void(CMySheet&)>& change) {
        sheetAnswer = [change](CMySheet& sheet) {
            sheet.show();
            change(sheet);
            sheet.accept();
            return sheet.result() == QDialog::Accepted;
        };
        ASSERT_TRUE(Frame().RouteCommand(cmd::kOptionsData));
        Settle();
    }
    static CData& DataPage(CMySheet& sheet) {
        EXPECT_TRUE(sheet.SetActivePage(1));
        return *dynamic_cast<CData*>(sheet.Pages()[1]);
    }
    void AddPair(const char* x, const char* y) {
        Ok([x, y](CMySheet& sheet) {
            CData& page = DataPage(sheet);
            page.m_editX->setText(x);
            page.m_editY->setText(y);
            page.m_btnAdd->click();
        });
    }
    bool Run(int id) {
        const bool ran = Frame().RouteCommand(id);
        Settle();
        return ran;
    }
    QString Text(int id) {
        Frame().UpdateCommandUI();
        return Frame().Action(id)->text();
    }
    // The fit's numbers for order 1: the coefficients and the fit's two figures.
    std::array<double, 4> Fit() const {
        return {doc->m_dCoef[0], doc->m_dCoef[1], doc->m_dPerformance, doc->m_dSumAbsDiff};
    }
    QString LastRow() const { return Row(doc->m_nLineCount - 1); }
};

// Undo puts the pairs and the curve back and refits: the fit's numbers and the listing are
// those of the step before; Redo brings the later ones back.
TEST_F(Undo, UndoAndRedoRefitAcrossSteps) {
    EXPECT_FALSE(Enabled(cmd::kEditUndo));
    EXPECT_EQ(Text(cmd::kEditUndo), "&Undo");
    EXPECT_EQ(Frame().Action(cmd::kEditUndo)->statusTip(), "Undo the last action");
    EXPECT_EQ(Frame().Action(cmd::kEditRedo)->statusTip(), "Redo the previously undone action");
    EXPECT_EQ(Frame().Action(cmd::kEditRedo)->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
    AddPair("1", "3.5");
    const auto firstFit = Fit();
    const QString firstRow = LastRow();
    Ok([](CMySheet& sheet) {
        dynamic_cast<CCurveType&>(*sheet.Pages()[0]).m_editOrder->setText("2");
    });
    const auto secondFit = Fit();
    ASSERT_NE(secondFit, firstFit);
    EXPECT_EQ(Text(cmd::kEditUndo), "&Undo Options");
    EXPECT_FALSE(Enabled(cmd::kEditRedo));

    ASSERT_TRUE(Run(cmd::kEditUndo));
    EXPECT_EQ(doc->m_nOrder, 1);
    EXPECT_EQ(Fit(), firstFit);
    EXPECT_EQ(LastRow(), firstRow);
    EXPECT_EQ(Text(cmd::kEditRedo), "&Redo Options");
    ASSERT_TRUE(Run(cmd::kEditRedo));
    EXPECT_EQ(doc->m_nOrder, 2);
    EXPECT_EQ(Fit(), secondFit);
    EXPECT_TRUE(ui.messages.empty());
}

// A paste and an import are a step each, named so; a new change ends the way forward.
TEST_F(Undo, APasteAndAnImportAreStepsOfTheirOwn) {
    const std::string more = dir.Write("more.txt", "7 8\r\n9 10\r\n11 12\r\n");
    Ok([](CMySheet& sheet) {
        QGuiApplication::clipboard()->setText("5\t6\n");
        DataPage(sheet).OnPastePairs();
    });
    EXPECT_EQ(Text(cmd::kEditUndo), "&Undo Paste");
    Ok([&](CMySheet& sheet) { DataPage(sheet).ImportFromFile(more); });
    EXPECT_EQ(Text(cmd::kEditUndo), "&Undo Import");
    const struct {
        int command;
        size_t pairs;
        const char* undo;
        const char* redo;
    } steps[] = {
        {cmd::kEditUndo, 3, "&Undo Paste", "&Redo Import"},
        {cmd::kEditUndo, 2, "&Undo", "&Redo Paste"},
        {cmd::kEditRedo, 3, "&Undo Paste", "&Redo Import"},
        {cmd::kEditRedo, 6, "&Undo Import", "&Redo"},
        {cmd::kEditUndo, 3, "&Undo Paste", "&Redo Import"},
    };
    for (const auto& s : steps) {
        ASSERT_TRUE(Run(s.command));
        EXPECT_EQ(doc->m_pPairs.size(), s.pairs);
        EXPECT_EQ(doc->m_nPairs, int(s.pairs));
        EXPECT_EQ(Text(cmd::kEditUndo), s.undo);
        EXPECT_EQ(Text(cmd::kEditRedo), s.redo);
    }
    EXPECT_EQ(doc->m_pPairs[2].m_dX, 5.0);
    AddPair("13", "14");
    EXPECT_FALSE(Enabled(cmd::kEditRedo));
    Run(cmd::kEditRedo);
    EXPECT_EQ(doc->m_pPairs.size(), 4u);
}

// Back at the state last saved the document is unmodified, its window title without the mark.
TEST_F(Undo, UndoToTheSavedStateClearsTheModifiedMark) {
    AddPair("1", "3.5");
    ASSERT_TRUE(Run(cmd::kFileSave));
    AddPair("3", "7");
    EXPECT_TRUE(doc->IsModified());
    const struct {
        int command;
        bool modified;
    } steps[] = {{cmd::kEditUndo, false}, {cmd::kEditUndo, true}, {cmd::kEditRedo, false}};
    for (const auto& s : steps) {
        ASSERT_TRUE(Run(s.command));
        EXPECT_EQ(doc->IsModified(), s.modified);
        Frame().UpdateCommandUI();
        EXPECT_EQ(Frame().MdiArea()->currentSubWindow()->windowTitle().endsWith("*"), s.modified);
    }
}

// The history goes with the document: the file opened again has none.
TEST_F(Undo, TheHistoryIsClearedOnClose) {
    AddPair("1", "3.5");
    ASSERT_TRUE(Run(cmd::kFileSave));
    ASSERT_TRUE(Enabled(cmd::kEditUndo));
    ASSERT_TRUE(Run(cmd::kFileClose));
    ASSERT_EQ(WindowCount(), 0);
    EXPECT_FALSE(Enabled(cmd::kEditUndo));
    EXPECT_EQ(Text(cmd::kEditUndo), "&Undo");
    ASSERT_NE(app->OpenDocumentFile(file), nullptr);
    Settle();
    EXPECT_FALSE(Enabled(cmd::kEditUndo));
    EXPECT_EQ(ActiveListing()->GetDocument().m_pPairs.size(), 3u);
}

// While the document is read, fitted or built, or an Options sheet is open on it, Undo and Redo
// wait, greyed.
TEST_F(Undo, UndoWaitsWhileTheDocumentIsBusy) {
    AddPair("1", "3.5");
    AddPair("3", "7");
    ASSERT_TRUE(Run(cmd::kEditUndo));
    for (int* flag : {&doc->m_bReading, &doc->m_bFitting, &doc->m_bBuildingReport}) {
        *flag = 1;
        EXPECT_FALSE(Enabled(cmd::kEditUndo));
        EXPECT_FALSE(Enabled(cmd::kEditRedo));
        EXPECT_FALSE(Run(cmd::kEditUndo));
        *flag = 0;
    }
    EXPECT_EQ(doc->m_pPairs.size(), 3u);
    for (int sheet : {cmd::kOptionsData, cmd::kOptionsCompute}) {
        bool greyed = false;
        sheetAnswer = [&](CMySheet&) {
            greyed = !Enabled(cmd::kEditUndo) && !Enabled(cmd::kEditRedo);
            return false;
        };
        ASSERT_TRUE(Run(sheet));
        EXPECT_TRUE(greyed) << sheet;
    }
    EXPECT_TRUE(Enabled(cmd::kEditUndo));
    EXPECT_TRUE(Enabled(cmd::kEditRedo));
}

// Over the byte limit the oldest step goes; the newer ones stay.
TEST_F(Undo, TheMemoryLimitDropsTheOldestStep) {
    for (const char* x : {"1", "3", "4"})
        AddPair(x, "7");
    doc->m_history.SetByteLimit(doc->m_history.Bytes() - 1);
    int undone = 0;
    for (; Enabled(cmd::kEditUndo) && undone < 4; ++undone)
        Run(cmd::kEditUndo);
    EXPECT_EQ(undone, 2);
    EXPECT_EQ(doc->m_pPairs.size(), 3u);
}

// A text field keeps its own undo keys while it has the focus; elsewhere they undo the step.
TEST_F(Undo, ATextFieldKeepsItsOwnUndoKeys) {
    AddPair("1", "3.5");
    CLumetraView* listing = ActiveListing();
    QMdiSubWindow* listingWindow = Frame().MdiArea()->currentSubWindow();
    ASSERT_TRUE(Run(cmd::kStatisticsWindow));
    auto* stats = dynamic_cast<CStatisticsView*>(Frame().ActiveView());
    ASSERT_NE(stats, nullptr);
    Frame().show();
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    QLineEdit* level = stats->Level();
    level->setFocus();
    QTest::keyClick(level, Qt::Key_End);
    QTest::keyClick(level, Qt::Key_Backspace);
    ASSERT_EQ(level->text(), "0.9");
    QTest::keyClick(level, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(level->text(), "0.95");
    QTest::keyClick(level, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(level->text(), "0.9");
    QTest::keyClick(level, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(level, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(level->text(), "0.9");
    EXPECT_EQ(doc->m_pPairs.size(), 3u);
    // Away from the field the same key undoes the step.
    Frame().MdiArea()->setActiveSubWindow(listingWindow);
    listing->List()->setFocus();
    QTest::keyClick(listing->List(), Qt::Key_Z, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(doc->m_pPairs.size(), 2u);
}

// File > Import Text starts a data set whose first step is the import: Undo leaves it empty,
// unchanged, as File > New does.
TEST_F(Undo, UndoOfImportTextLeavesTheNewDataSetEmpty) {
    const std::string csv = dir.Write("spring.csv", "1,3\r\n2,5\r\n3,7\r\n");
    sheetAnswer = [](CMySheet& sheet) {
        sheet.accept();
        return true;
    };
    ui.fileChoices.push_back({true, csv});
    ASSERT_TRUE(Run(cmd::kImportText));
    CLumetraDoc& imported = ActiveListing()->GetDocument();
    ASSERT_EQ(imported.m_nPairs, 3);
    EXPECT_EQ(Text(cmd::kEditUndo), "&Undo Import");
    ASSERT_TRUE(Run(cmd::kEditUndo));
    EXPECT_EQ(imported.m_nPairs, 0);
    EXPECT_FALSE(imported.IsModified());
    // The refit says why there is no curve, as OK on a data set without pairs does.
    EXPECT_EQ(ui.OnlyMessage(),
              "Must have a minimum of 2 data points to fit the curve!\nCan't Fit the Curve");
    ASSERT_TRUE(Run(cmd::kEditRedo));
    EXPECT_EQ(imported.m_nPairs, 3);
    EXPECT_EQ(imported.m_pPairs[2].m_dY, 7.0);
}

} // namespace
} // namespace lumetra
