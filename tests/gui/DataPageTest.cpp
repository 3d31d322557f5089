#include "AppFixture.h"

#include "data/LumetraDoc.h"
#include "dataentry/BitmapButton.h"
#include "dataentry/DataPage.h"
#include "framework/CommandIds.h"
#include "options/CurvePage.h"
#include "options/ResolutionPage.h"
#include "support/DocTest.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <filesystem>

namespace lumetra {
namespace {

using Pairs = std::vector<std::pair<double, double>>;

// The sheet as Options > Data builds it, on a document of its own, showing the Data page.
struct DataPage : test::DocTest {
    static void Settle() { test::AppFixture::Settle(); }
    test::TempDir dir;
    std::unique_ptr<CMySheet> sheet;
    CData* page = nullptr;

    void Open(int pairs, int pageSize = 128000) {
        doc.OnNewDocument();
        doc.m_pPairs.clear();
        for (int i = 0; i < pairs; ++i)
            doc.m_pPairs.push_back({double(i), double(10 * i)});
        doc.m_nPairs = pairs;
        doc.BuildFormats();
        sheet = std::make_unique<CMySheet>();
        sheet->AddPage(new CCurveType(doc, ui));
        page = new CData(doc, ui, *sheet, pageSize);
        sheet->AddPage(page);
        sheet->AddPage(new CCurveData(doc, ui, *sheet));
        sheet->show();
        ASSERT_TRUE(sheet->SetActivePage(1));
    }
    std::string Line(int row) const { return page->Rules().Lines()[size_t(row)]; }
    int Rows() const { return page->m_list->model()->rowCount(); }
    std::string Points() const { return page->m_editPoints->text().toStdString(); }
    std::string PageLabel() const { return page->m_labelPage->text().toStdString(); }
    void Type(const QString& x, const QString& y) {
        page->m_editX->setText(x);
        page->m_editY->setText(y);
    }
    void Add(const QString& x, const QString& y) {
        Type(x, y);
        page->m_btnAdd->click();
    }
    void Select(std::initializer_list<int> rows) {
        QItemSelectionModel* s = page->m_list->selectionModel();
        s->clearSelection();
        for (int row : rows)
            s->select(page->m_list->model()->index(row, 0), QItemSelectionModel::Select);
    }
    Pairs Stored() const {
        Pairs out;
        for (const CXYdata& p : doc.m_pPairs)
            out.emplace_back(p.m_dX, p.m_dY);
        return out;
    }
    static std::string Pair(const char* x, const char* y) {
        auto pad = [](std::string s) { return s + std::string(16 - s.size(), ' '); };
        return pad(x) + "\t" + pad(y);
    }
};

TEST_F(DataPage, AnEmptySetHasNoPages) {
    Open(0);
    EXPECT_EQ(PageLabel(), "Data Page 1/0");
    EXPECT_EQ(Points(), "0/0");
    EXPECT_EQ(page->m_labelX->text(), "X:");
    EXPECT_FALSE(page->m_btnGoPage->isEnabled());
    EXPECT_FALSE(page->m_btnNextPage->isEnabled());
    EXPECT_FALSE(page->m_btnPrevPage->isEnabled());
    EXPECT_TRUE(page->m_btnAdd->isEnabled());
    EXPECT_TRUE(page->m_btnImport->isEnabled());
    EXPECT_FALSE(page->m_progress->isVisible());
    EXPECT_FALSE(page->m_btnGoPage->Image('U').isNull()); // its images are loaded
    EXPECT_EQ(page->m_btnGoPage->Image('X').size(), QSize(16, 15));
}

TEST_F(DataPage, AddShowsThePairAsFormattedAndEmptiesTheFields) {
    Open(0);
    Add("  2.5 ", "7");
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Line(0), Pair("2.50000", "7.00000"));
    EXPECT_EQ(page->m_list->model()->index(0, 0).data().toString(),
              "2.50000           7.00000         ");
    EXPECT_EQ(page->m_editX->text(), "");
    EXPECT_EQ(page->m_editY->text(), "");
    EXPECT_EQ(sheet->focusWidget(), page->m_editX);
    EXPECT_EQ(Points(), "1/1");
    EXPECT_EQ(PageLabel(), "Data Page 1/1");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(doc.m_pPairs.empty()); // only the list changed so far
    sheet->accept();
    EXPECT_EQ(Stored(), (Pairs{{2.5, 7}}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_nPairs, 1);
}

// Typing a pair and pressing Enter adds it, as the page's default button is Add; the sheet stays.
TEST_F(DataPage, EnterInTheFieldsAdds) {
    Open(0);
    sheet->activateWindow();
    page->m_editX->setFocus();
    QTest::keyClicks(page->m_editX, "3");
    page->m_editY->setFocus();
    QTest::keyClicks(page->m_editY, "4");
    QTest::keyClick(page->m_editY, Qt::Key_Return);
    EXPECT_TRUE(sheet->isVisible());
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Line(0), Pair("3.00000", "4.00000"));
    ASSERT_TRUE(sheet->SetActivePage(0)); // on the Curve page Enter is OK again
    QTest::keyClick(dynamic_cast<CCurveType&>(*sheet->Pages()[0]).m_editDataTitle, Qt::Key_Return);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
}

// After a double-click Enter replaces that entry; it adds no copy of it.
TEST_F(DataPage, EnterAfterADoubleClickReplacesTheEntry) {
    Open(3);
    sheet->activateWindow();
    Select({1});
    emit page->m_list->doubleClicked(page->m_list->model()->index(1, 0));
    EXPECT_EQ(page->m_editX->text().trimmed(), "1.00000");
    EXPECT_TRUE(page->m_btnEdit->isDefault());
    page->m_editY->setFocus();
    page->m_editY->setText("15");
    QTest::keyClick(page->m_editY, Qt::Key_Return);
    EXPECT_TRUE(sheet->isVisible());
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(Line(1), Pair("1.00000", "15.00000"));
    EXPECT_EQ(Points(), "3/3");
    EXPECT_TRUE(page->m_btnAdd->isDefault()); // and Enter adds again
    Type("7", "8");
    QTest::keyClick(page->m_editY, Qt::Key_Return);
    EXPECT_EQ(Rows(), 4);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DataPage, EmptyOrBadFieldsAreRefusedAndKeepTheTyping) {
    Open(2);
    Add("", "7");
    EXPECT_EQ(ui.OnlyMessage(), "X value may NOT be empty!");
    EXPECT_EQ(sheet->focusWidget(), page->m_editX);
    ui.messages.clear();
    Add("1", "");
    EXPECT_EQ(ui.OnlyMessage(), "Y value may NOT be empty!");
    EXPECT_EQ(sheet->focusWidget(), page->m_editY);
    ui.messages.clear();
    Add("1", "1,5");
    ASSERT_EQ(ui.messages.size(), 1u); // ValidateNumber's own message
    EXPECT_EQ(sheet->focusWidget(), page->m_editY);
    EXPECT_EQ(page->m_editY->text(), "1,5");
    ui.messages.clear();
    Add("1", "1e999");
    EXPECT_EQ(ui.OnlyMessage(), "Value is beyond the range of numbers (about 1.8E+308)!");
    EXPECT_EQ(sheet->focusWidget(), page->m_editY);
    ui.messages.clear();
    Add("1e300", "1"); // 301 digits in fixed display: refused, never cut
    EXPECT_EQ(ui.OnlyMessage(),
              "X or Y value is too large to list with this display precision!\n"
              "Choose the exponent form on the Resolution page, or enter a smaller value.");
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(Points(), "2/2");
}

// The list shows a typed value at the display precision; the data set keeps what was typed.
TEST_F(DataPage, TypedValuesKeepEveryDigitWhateverTheListShows) {
    Open(0);
    doc.m_nXDecimals = 2;
    doc.BuildFormats();
    Add("9.87654", "4");
    Add("2.5", "0.1234567890123456");
    EXPECT_EQ(Line(0), Pair("9.88", "4.00000"));
    EXPECT_EQ(Line(1), Pair("2.50", "0.12346"));
    ASSERT_TRUE(sheet->SetActivePage(0)); // leaving the page stores the list, without a question
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Stored(), (Pairs{{9.87654, 4}, {2.5, 0.1234567890123456}}));
}

// Pairs the user did not touch keep every digit, whatever the list shows of them.
TEST_F(DataPage, UntouchedPairsNeverChangeWhenTheListIsStored) {
    Open(0);
    doc.m_pPairs = {{8.5, 1.23456789}, {0.125, 2.0}, {3.0, 4.0}};
    doc.m_nXDecimals = 0;
    doc.m_nYDecimals = 2;
    doc.BuildFormats();
    sheet->SetActivePage(0);
    sheet->m_bRefreshDataList = 1; // as the Resolution page raises it
    ASSERT_TRUE(sheet->SetActivePage(1));
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(Line(0), Pair("8", "1.23"));
    Select({2});
    page->m_btnDown->click(); // nothing moves: the last entry
    Select({0});
    page->m_btnDown->click(); // a change: the list is stored
    Type("5", "6");
    page->m_btnAdd->click();
    ASSERT_TRUE(sheet->SetActivePage(0));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Stored(), (Pairs{{0.125, 2.0}, {8.5, 1.23456789}, {3.0, 4.0}, {5, 6}}));

    // Double-click and Edit with the fields as they were filled: the entry keeps its value.
    ASSERT_TRUE(sheet->SetActivePage(1));
    Select({1});
    page->Rules().SetSelection({1}, 1);
    page->Rules().OnListDblClk();
    page->m_editX->setText(QString::fromStdString(page->Rules().m_strX));
    page->m_editY->setText("9");
    page->m_btnEdit->click();
    EXPECT_EQ(Line(1), Pair("8", "9.00"));
    ASSERT_TRUE(sheet->SetActivePage(0));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Stored()[1], std::make_pair(8.5, 9.0));
}

// A set typed by hand, a coarser resolution, a commit, a save and the file read again: every
// number is as typed, though the list and the file show them rounded.
TEST_F(DataPage, TypedSetThroughResolutionCommitSaveAndReopen) {
    Open(0);
    Add("8.5", "1.25");
    Add("2.123", "3");
    Add("0.5", "10.75");
    ASSERT_TRUE(sheet->SetActivePage(2));
    auto& resolution = dynamic_cast<CCurveData&>(*sheet->Pages()[2]);
    resolution.m_editXDecimals->setText("0");
    ASSERT_TRUE(sheet->SetActivePage(1));
    EXPECT_EQ(Line(0), Pair("8", "1.25000"));
    Add("3.75", "1");
    EXPECT_EQ(Line(3), Pair("4", "1.00000"));
    sheet->accept();
    EXPECT_FALSE(sheet->isVisible());
    const Pairs typed{{8.5, 1.25}, {2.123, 3}, {0.5, 10.75}, {3.75, 1}};
    EXPECT_EQ(Stored(), typed);

    const std::string path = dir.Path("spring.dat");
    ui.fileChoices.push_back({true, path});
    ASSERT_TRUE(doc.DoSave(false));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_NE(test::TempDir::Read(path).find("\r\n" + test::Wide16("4") + "\t" +
                                             test::Wide16("1.00000") + "\t"),
              std::string::npos);
    CLumetraDoc back(ui, settings);
    ASSERT_TRUE(back.OnOpenDocument(path));
    Pairs read;
    for (const CXYdata& p : back.m_pPairs)
        read.emplace_back(p.m_dX, p.m_dY);
    EXPECT_EQ(read, typed);
}

TEST_F(DataPage, InsertGoesBeforeTheSelectedEntry) {
    Open(8);
    Select({4});
    EXPECT_TRUE(page->m_btnInsert->isEnabled());
    Type("99", "98");
    page->m_btnInsert->click();
    EXPECT_EQ(Line(4), Pair("99.00000", "98.00000"));
    EXPECT_EQ(Line(5), Pair("4.00000", "40.00000"));
    EXPECT_TRUE(page->m_list->selectionModel()->selectedIndexes().isEmpty());
    EXPECT_FALSE(page->m_btnInsert->isEnabled());
    EXPECT_EQ(Points(), "9/9");
    sheet->accept();
    EXPECT_EQ(Stored()[4], std::make_pair(99.0, 98.0));
    EXPECT_EQ(Stored().size(), 9u);
}

TEST_F(DataPage, UpAndDownAreOfferedWhereTheEntryCanMove) {
    Open(4);
    Select({0});
    EXPECT_FALSE(page->m_btnUp->isEnabled());
    EXPECT_TRUE(page->m_btnDown->isEnabled());
    Select({3});
    EXPECT_TRUE(page->m_btnUp->isEnabled());
    EXPECT_FALSE(page->m_btnDown->isEnabled());
    Select({1, 2}); // several: only Delete
    EXPECT_TRUE(page->m_btnDelete->isEnabled());
    EXPECT_FALSE(page->m_btnEdit->isEnabled());
    EXPECT_FALSE(page->m_btnUp->isEnabled());
    Select({2});
    page->m_btnUp->click();
    EXPECT_EQ(Line(1), Pair("2.00000", "20.00000"));
    EXPECT_EQ(Line(2), Pair("1.00000", "10.00000"));
    const QModelIndexList selected = page->m_list->selectionModel()->selectedIndexes();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0].row(), 1); // the moved entry stays selected
    page->m_btnDown->click();
    page->m_btnDown->click();
    EXPECT_EQ(Line(3), Pair("2.00000", "20.00000"));
    sheet->accept();
    EXPECT_EQ(Stored(), (Pairs{{0, 0}, {1, 10}, {3, 30}, {2, 20}}));
}

TEST_F(DataPage, DeleteRemovesEverySelectedEntry) {
    Open(8);
    Select({1, 3, 6});
    page->m_btnDelete->click();
    EXPECT_EQ(Points(), "5/5");
    EXPECT_EQ(Rows(), 5);
    EXPECT_FALSE(page->m_btnDelete->isEnabled());
    sheet->accept();
    EXPECT_EQ(Stored(), (Pairs{{0, 0}, {2, 20}, {4, 40}, {5, 50}, {7, 70}}));

    Open(3); // every entry of the only page: the set is empty after OK
    Select({0, 1, 2});
    page->m_btnDelete->click();
    sheet->accept();
    EXPECT_TRUE(doc.m_pPairs.empty());
    EXPECT_EQ(doc.m_nPairs, 0);
}

TEST_F(DataPage, ADoubleClickBringsTheLineIntoTheFieldsForEdit) {
    Open(3);
    const QModelIndex row1 = page->m_list->model()->index(1, 0);
    page->m_list->setCurrentIndex(row1);
    emit page->m_list->doubleClicked(row1);
    EXPECT_EQ(page->m_editX->text(), "1.00000         ");
    EXPECT_EQ(page->m_editY->text(), "10.00000        ");
    Select({1});
    page->m_editY->setText("11");
    page->m_btnEdit->click();
    EXPECT_EQ(Line(1), Pair("1.00000", "11.00000"));
    EXPECT_EQ(Points(), "3/3");
    EXPECT_EQ(page->Rules().m_bListChanged, 1);
    sheet->accept();
    EXPECT_EQ(Stored()[1], std::make_pair(1.0, 11.0));
}

TEST_F(DataPage, PagesHoldThePageSizeAndTheRestGoesOnTheLast) {
    Open(7, 3);
    EXPECT_EQ(PageLabel(), "Data Page 1/3");
    EXPECT_EQ(Points(), "3/7");
    EXPECT_TRUE(page->m_btnNextPage->isEnabled());
    EXPECT_FALSE(page->m_btnPrevPage->isEnabled());
    page->m_btnNextPage->click();
    page->m_btnNextPage->click();
    EXPECT_EQ(PageLabel(), "Data Page 3/3");
    EXPECT_EQ(Points(), "1/7");
    EXPECT_EQ(Line(0), Pair("6.00000", "60.00000"));
    EXPECT_FALSE(page->m_btnNextPage->isEnabled());
    EXPECT_TRUE(page->m_btnPrevPage->isEnabled());
}

TEST_F(DataPage, TheListOpensAtItsFirstLine) {
    Open(400);
    Settle();
    EXPECT_GT(page->m_list->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(page->m_list->verticalScrollBar()->value(), 0);
}

TEST_F(DataPage, GoToClampsThePageAndIgnoresTheCurrentOne) {
    Open(8, 3);
    page->m_askPage = [](int current) -> std::optional<int> {
        EXPECT_EQ(current, 1);
        return 0;
    };
    page->m_btnGoPage->click();
    EXPECT_EQ(PageLabel(), "Data Page 1/3");
    Add("100", "1"); // an edit of page 1, then beyond the last page
    page->m_askPage = [](int) -> std::optional<int> { return 99; };
    page->m_btnGoPage->click();
    EXPECT_EQ(PageLabel(), "Data Page 3/3");
    EXPECT_EQ(Points(), "3/9"); // page 3: pairs 6, 7 and the one added on page 1
    EXPECT_EQ(Line(2), Pair("100.00000", "1.00000"));
    page->m_askPage = [](int) -> std::optional<int> { return -4; };
    page->m_btnGoPage->click();
    EXPECT_EQ(PageLabel(), "Data Page 1/3");
    Select({0});
    page->m_askPage = [](int) -> std::optional<int> { return 1; }; // the current page
    page->m_btnGoPage->click();
    EXPECT_EQ(page->m_list->selectionModel()->selectedIndexes().size(), 1);   // nothing redone
    page->m_askPage = [](int) -> std::optional<int> { return std::nullopt; }; // Cancel
    page->m_btnGoPage->click();
    EXPECT_EQ(PageLabel(), "Data Page 1/3");
}

TEST_F(DataPage, AddsOnBothSidesOfAnotherPageAreKeptInOrder) {
    Open(2);
    Add("5", "6");
    ASSERT_TRUE(sheet->SetActivePage(0));
    ASSERT_TRUE(sheet->SetActivePage(1));
    EXPECT_EQ(Rows(), 3); // refilled from the committed pairs
    Add("7", "8");
    sheet->accept();
    EXPECT_EQ(Stored(), (Pairs{{0, 0}, {1, 10}, {5, 6}, {7, 8}}));
}

TEST_F(DataPage, AddStopsAtTheApplicationDataLimit) {
    Open(DataPageRules::kDataLimit - 1);
    Add("1", "2");
    EXPECT_EQ(ui.OnlyMessage(), "At application data limit!  Don't add any\n"
                                "more without deleting one or more first!");
    EXPECT_EQ(Rows(), DataPageRules::kDataLimit); // the pair stays added
    ui.messages.clear();
    Add("3", "4");
    EXPECT_EQ(ui.OnlyMessage(), "At application data limit!  Can't add!");
    EXPECT_EQ(page->m_editX->text(), "3"); // the fields were not used
    EXPECT_EQ(Rows(), DataPageRules::kDataLimit);
    ui.messages.clear();
    Select({0});
    Type("5", "6");
    page->m_btnInsert->click(); // Insert is never refused
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Points(), "127981/127981");
}

TEST_F(DataPage, AFullPageIsRebuiltAndShowsTheLastPair) {
    Open(3, 3);
    for (int i = 0; i < 700; ++i)
        Add(QString::number(1000 + i), "1");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Rows(), 703);
    Add("5000", "5");
    EXPECT_EQ(ui.OnlyMessage(), "At the ADD limit for this page!  Must rebuild the list.\n"
                                "Please acknowledge by clicking OK!");
    EXPECT_EQ(doc.m_pPairs.size(), 704u); // committed
    EXPECT_EQ(PageLabel(), "Data Page 235/235");
    EXPECT_EQ(Points(), "2/704");
    EXPECT_EQ(Line(1), Pair("5000.00000", "5.00000"));
}

TEST_F(DataPage, AnImportFillsTheShownPageAndStoresTheRest) {
    Open(6, 3);
    page->m_btnNextPage->click(); // page 2 of 2 is full
    ui.fileChoices.push_back({true, dir.Write("more.txt", "1 2\r\n3 4\r\n")});
    page->m_btnImport->click();
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].title, "Select an Import Data File");
    EXPECT_EQ(ui.fileRequests[0].filters[0].name, "All Files (*.*)");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.m_pPairs.size(), 8u); // in the data set at once
    EXPECT_EQ(Rows(), 3);
    EXPECT_EQ(Points(), "3/8");
    EXPECT_EQ(PageLabel(), "Data Page 2/3");
    page->m_btnNextPage->click();
    EXPECT_EQ(Points(), "2/8");
    EXPECT_EQ(Line(1), Pair("3.00000", "4.00000"));

    Open(1, 3); // a page with room shows them
    ui.fileChoices.push_back({true, dir.Write("two.txt", "7 8\r\n9 10\r\n")});
    page->m_btnImport->click();
    EXPECT_EQ(Rows(), 3);
    EXPECT_EQ(Line(2), Pair("9.00000", "10.00000"));
    sheet->accept();
    EXPECT_EQ(Stored(), (Pairs{{0, 0}, {7, 8}, {9, 10}}));
}

TEST_F(DataPage, AResolutionChangeReformatsTheList) {
    Open(1);
    ASSERT_TRUE(sheet->SetActivePage(2));
    sheet->m_bRefreshDataList = 1; // as the Resolution page raises it
    doc.m_nXDecimals = 1;
    doc.BuildFormats();
    ASSERT_TRUE(sheet->SetActivePage(1));
    EXPECT_EQ(Line(0), Pair("0.0", "0.00000"));
    EXPECT_EQ(sheet->m_bRefreshDataList, 0);
}

// A user's first session: New Data, the Curve page, five pairs typed on the Data page, OK; the
// window shows the fit and the data set is saved.
using TypedSession = test::AppFixture;

TEST_F(TypedSession, FivePairsTypedFromScratchAreFittedAndSaved) {
    sheetAnswer = [this](CMySheet& sheet) {
        sheet.show();
        auto& curve = *dynamic_cast<CCurveType*>(sheet.Pages()[0]);
        curve.m_editDataTitle->setText("Spring");
        curve.m_editXTitle->setText("Load");
        curve.m_editYTitle->setText("Length");
        if (!sheet.SetActivePage(1))
            return false;
        auto& data = *dynamic_cast<CData*>(sheet.Pages()[1]);
        EXPECT_EQ(data.m_labelX->text(), "Load:");
        const char* pairs[5][2] = {{"1", "3"}, {"2", "5"}, {"3", "7"}, {"4", "9"}, {"5", "11"}};
        for (auto& p : pairs) {
            data.m_editX->setText(p[0]);
            data.m_editY->setText(p[1]);
            data.m_btnAdd->click();
        }
        EXPECT_EQ(data.m_editPoints->text(), "5/5");
        sheet.accept();
        return sheet.result() == QDialog::Accepted;
    };
    ASSERT_TRUE(Start());
    EXPECT_TRUE(ui.messages.empty());
    CLumetraDoc& doc = ActiveListing()->GetDocument();
    EXPECT_EQ(doc.m_nPairs, 5);
    EXPECT_EQ(Row(1), "         Data Title:  Spring");
    bool coefficient = false;
    for (int r = 0; r < ActiveListing()->List()->model()->rowCount(); ++r)
        coefficient = coefficient || Row(r) == "              C[1] = 2.00000         ";
    EXPECT_TRUE(coefficient);
    const std::string path = dir.Path("spring.dat");
    ui.fileChoices.push_back({true, path});
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFileSave));
    const std::string saved = test::TempDir::Read(path);
    EXPECT_EQ(saved.substr(0, 23), "@Spring\r\nLoad\r\nLength\r\n");
    EXPECT_NE(saved.find("5.00000         \t11.00000        \t11.00000"), std::string::npos);
}

} // namespace
} // namespace lumetra
