#include "AppFixture.h"

#include "data/LumetraDoc.h"
#include "dataentry/DataPage.h"
#include "dataentry/PastePairs.h"
#include "options/CurvePage.h"
#include "options/ResolutionPage.h"
#include "support/DocTest.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QTest>

namespace lumetra {
namespace {

// The Data page in its sheet, on pairs (i, 10 i), with the real clipboard.
struct DataPaste : test::DocTest {
    std::unique_ptr<CMySheet> sheet;
    CData* page = nullptr;

    void Open(int pairs, int pageSize = 128000) {
        std::vector<CXYdata> list;
        for (int i = 0; i < pairs; ++i)
            list.push_back({double(i), double(10 * i)});
        Open(list, pageSize);
    }
    void Open(const std::vector<CXYdata>& pairs, int pageSize = 128000) {
        doc.OnNewDocument();
        doc.m_pPairs = pairs;
        doc.m_nPairs = int(pairs.size());
        doc.BuildFormats();
        sheet = std::make_unique<CMySheet>();
        sheet->AddPage(new CCurveType(doc, ui));
        page = new CData(doc, ui, *sheet, pageSize);
        sheet->AddPage(page);
        sheet->AddPage(new CCurveData(doc, ui, *sheet));
        sheet->show();
        // Keys reach shortcuts only in the active window.
        sheet->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
        ASSERT_TRUE(sheet->SetActivePage(1));
    }
    void Select(std::initializer_list<int> rows) {
        QItemSelectionModel* s = page->m_list->selectionModel();
        s->clearSelection();
        for (int row : rows)
            s->select(page->m_list->model()->index(row, 0), QItemSelectionModel::Select);
    }
    void Paste(const std::string& text) {
        QGuiApplication::clipboard()->setText(QString::fromStdString(text));
        page->m_list->setFocus();
        QTest::keyClick(page->m_list, Qt::Key_V, Qt::ControlModifier);
    }
    std::vector<std::pair<double, double>> Stored() const {
        std::vector<std::pair<double, double>> out;
        for (const CXYdata& p : doc.m_pPairs)
            out.emplace_back(p.m_dX, p.m_dY);
        return out;
    }
    std::string Points() const { return page->m_editPoints->text().toStdString(); }
};

TEST_F(DataPaste, ASpreadsheetBlockGoesBeforeTheSelectedPair) {
    Open(4);
    Select({2});
    Paste("Length\tForce\r\n1.5\t2.25\r\n-3\t4e2\r\n");
    // Read as the import reads a file, which says what it skipped.
    EXPECT_EQ(ui.OnlyMessage(), "The pasted text:\n1 line before the first pair holds no "
                                "numbers; it was skipped.");
    ASSERT_EQ(page->Rules().Lines().size(), 6u);
    EXPECT_EQ(page->Rules().Lines()[2], "1.50000         \t2.25000         ");
    EXPECT_EQ(page->Rules().Lines()[3], "-3.00000        \t400.00000       ");
    EXPECT_EQ(page->Rules().Lines()[4], "2.00000         \t20.00000        ");
    EXPECT_EQ(Points(), "6/6");
    EXPECT_TRUE(page->Rules().Selection().empty());
    EXPECT_TRUE(sheet->SetActivePage(0)); // the commit
    EXPECT_EQ(Stored(), (std::vector<std::pair<double, double>>{
                            {0, 0}, {1, 10}, {1.5, 2.25}, {-3, 400}, {2, 20}, {3, 30}}));
    EXPECT_EQ(doc.m_nPairs, 6);
}

TEST_F(DataPaste, KeysReachTheListAfterALineWasClickedInIt) {
    Open(3);
    page->m_list->setFocus();
    const QRect row = page->m_list->visualRect(page->m_list->model()->index(1, 0));
    QTest::mouseClick(page->m_list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(page->Rules().Selection(), std::vector<int>{1});
    EXPECT_TRUE(page->m_list->hasFocus());
    QGuiApplication::clipboard()->setText("5\t6\n");
    QTest::keyClick(page->m_list, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(page->Rules().Lines().size(), 4u);
    EXPECT_EQ(page->Rules().Lines()[1], "5.00000         \t6.00000         ");
    EXPECT_EQ(page->m_editX->text(), ""); // not pasted into the X field
}

TEST_F(DataPaste, WithoutASelectionPairsGoAtTheEndWhateverTheirLineEnds) {
    Open(2);
    Paste("5;6\n7,8"); // LF line ends, a last line without one
    QAction* paste = page->m_list->actions()[1];
    EXPECT_EQ(paste->text(), "&Paste Pairs");
    QGuiApplication::clipboard()->setText("\"9\" \"10\"\r11\t12\r"); // CR line ends
    paste->trigger();                                                // the context menu's entry
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(sheet->SetActivePage(0));
    EXPECT_EQ(Stored(), (std::vector<std::pair<double, double>>{
                            {0, 0}, {1, 10}, {5, 6}, {7, 8}, {9, 10}, {11, 12}}));
}

TEST_F(DataPaste, GarbageIsRefusedWithAClearMessageAndChangesNothing) {
    Open(3);
    Select({1});
    Paste("Dear colleague,\nplease find the numbers attached.\n");
    EXPECT_EQ(ui.OnlyMessage(), kNothingToPasteMessage);
    EXPECT_EQ(page->Rules().Lines().size(), 3u);
    EXPECT_EQ(page->Rules().m_bListChanged, 0);
    EXPECT_EQ(Points(), "3/3");
    ui.messages.clear();
    // The importer's own refusals, naming the pasted text.
    Paste("7\n");
    EXPECT_EQ(ui.OnlyMessage(),
              "The pasted text:\nline 1 has missing Y value!\nThe import stopped at that line.");
    EXPECT_EQ(page->Rules().Lines().size(), 3u);
    ui.messages.clear();
    Paste(std::string(1100, '1') + " 2\n");
    EXPECT_EQ(ui.OnlyMessage(),
              "The pasted text:\n contains lines longer than 1024 characters\nwhich is this "
              "application's max!\n");
    ui.messages.clear();
    QGuiApplication::clipboard()->clear();
    page->m_list->actions()[1]->trigger();
    EXPECT_EQ(ui.OnlyMessage(), kNothingToPasteMessage);
    EXPECT_TRUE(sheet->SetActivePage(0));
    EXPECT_EQ(Stored(), (std::vector<std::pair<double, double>>{{0, 0}, {1, 10}, {2, 20}}));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DataPaste, CopyGivesTheSelectedPairsWithEveryDigit) {
    Open({{0.1 + 0.2, 1.0 / 3.0}, {1e-300, -2.5}, {7, 8}});
    Select({0, 2});
    page->m_list->setFocus();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(page->m_list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              "0.30000000000000004\t0.3333333333333333\n7\t8\n");
    // A pasted pair keeps its digits too, though the list shows five decimals.
    Select({});
    Paste("1.23456789012345\t-9.87654321e-5\n");
    EXPECT_EQ(page->Rules().Lines()[3], "1.23457         \t-0.00010        ");
    Select({3});
    page->m_actCopy->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              "1.23456789012345\t-0.0000987654321\n");
}

TEST_F(DataPaste, APasteBeyondThePagesAddLimitRebuildsTheList) {
    Open(3, 2);
    std::string block;
    for (int i = 0; i < 701; ++i)
        block += std::to_string(100 + i) + "\t1\n";
    Paste(block);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "At the ADD limit for this page!  Must rebuild the list.\n"
                                   "Please acknowledge by clicking OK!");
    EXPECT_EQ(doc.m_pPairs.size(), 704u);
    // After the last page's pairs, where a commit puts the lines a page gained.
    EXPECT_EQ(doc.m_pPairs[2].m_dX, 2.0);
    EXPECT_EQ(doc.m_pPairs[3].m_dX, 100.0);
    EXPECT_LE(page->Rules().Lines().size(), 2u);
}

} // namespace
} // namespace lumetra
