#include "AppFixture.h"

#include "app/ChildFrame.h"
#include "data/LumetraDoc.h"
#include "dataentry/DataPage.h"
#include "framework/CommandIds.h"
#include "options/ComputePages.h"
#include "options/CurvePage.h"
#include "options/ResolutionPage.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

#include <array>
#include <tuple>

namespace lumetra {
namespace {

using Options = test::AppFixture;

// Works an Options sheet the way a user does, then says how it closed.
template <class Page> Page& PageOf(CMySheet& sheet, int index) {
    return *dynamic_cast<Page*>(sheet.Pages()[size_t(index)]);
}

struct OptionsWithFile : Options {
    CLumetraDoc* doc = nullptr;
    void SetUp() override {
        ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
        doc = &ActiveListing()->GetDocument();
    }
    // Opens Options > Data and lets `work` act on the shown sheet.
    void Data(const std::function<bool(CMySheet&)>& work) {
        sheetAnswer = [work](CMySheet& sheet) {
            sheet.show();
            return work(sheet);
        };
        ASSERT_TRUE(Frame().RouteCommand(cmd::kOptionsData));
        Settle();
    }
};

TEST_F(OptionsWithFile, SemilogGreysTheOrderFieldAtOne) {
    Data([](CMySheet& sheet) {
        auto& curve = PageOf<CCurveType>(sheet, 0);
        EXPECT_TRUE(curve.m_editOrder->isEnabled());
        curve.m_radioType[2]->click();
        EXPECT_EQ(curve.m_editOrder->text(), "1");
        EXPECT_FALSE(curve.m_editOrder->isEnabled());
        curve.m_radioType[0]->click();
        EXPECT_TRUE(curve.m_editOrder->isEnabled());
        EXPECT_EQ(curve.m_editOrder->text(), "1");
        return false;
    });
}

TEST_F(OptionsWithFile, TheCurvePageRefusesBadOrdersAndEmptyAxisTitles) {
    Data([this](CMySheet& sheet) {
        auto& curve = PageOf<CCurveType>(sheet, 0);
        curve.m_editOrder->setText("0");
        EXPECT_FALSE(sheet.SetActivePage(2));
        curve.m_editOrder->setText("11");
        EXPECT_FALSE(sheet.SetActivePage(2));
        curve.m_editOrder->setText("2x");
        EXPECT_FALSE(sheet.SetActivePage(2)); // the order stays 11 after the integer message
        curve.m_editOrder->setText("10");
        curve.m_editXTitle->clear();
        curve.m_editYTitle->clear();
        EXPECT_FALSE(sheet.SetActivePage(2));
        curve.m_editXTitle->setText("Time");
        EXPECT_FALSE(sheet.SetActivePage(2));
        EXPECT_EQ(sheet.ActiveIndex(), 0);
        curve.m_editYTitle->setText("Temp");
        EXPECT_TRUE(sheet.SetActivePage(2));
        std::vector<std::string> texts;
        for (const auto& m : ui.messages)
            texts.push_back(m.text);
        EXPECT_EQ(texts, (std::vector<std::string>{
                             "Order must be at least 1!", "Order must not exceed 10!",
                             "Please enter an integer.", "Order must not exceed 10!",
                             "X-Axis Title must not be left empty!",
                             "Y-Axis Title must not be left empty!"}));
        // The Resolution caption follows the renamed X title.
        auto& resolution = PageOf<CCurveData>(sheet, 2);
        EXPECT_EQ(resolution.m_labelXCaption->text(), "Time-Data");
        EXPECT_EQ(resolution.m_labelYCaption->text(), "Temp-Data");
        return false;
    });
    EXPECT_EQ(doc->m_strXTitle, "X"); // cancelled
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(OptionsWithFile, DecimalPlacesUpToFourteenPerAxis) {
    Data([this](CMySheet& sheet) {
        EXPECT_TRUE(sheet.SetActivePage(2));
        auto& resolution = PageOf<CCurveData>(sheet, 2);
        EXPECT_EQ(resolution.m_editXDecimals->text(), "5");
        EXPECT_TRUE(resolution.m_radioXStandard->isChecked());
        resolution.m_editXDecimals->setText("15");
        EXPECT_FALSE(sheet.SetActivePage(0));
        resolution.m_editXDecimals->setText("14");
        resolution.m_editYDecimals->setText("15");
        EXPECT_FALSE(sheet.SetActivePage(0));
        resolution.m_editYDecimals->setText("14");
        EXPECT_TRUE(sheet.SetActivePage(0));
        EXPECT_EQ(ui.messages.size(), 2u);
        EXPECT_EQ(ui.messages[0].text,
                  "Can't have more than 14 digits to right of X decimal point!");
        EXPECT_EQ(ui.messages[1].text,
                  "Can't have more than 14 digits to right of Y decimal point!");
        EXPECT_EQ(sheet.m_bRefreshDataList, 1);
        return false;
    });
    // Leaving the page wrote the values; Cancel puts them back.
    EXPECT_EQ(doc->m_nXDecimals, 5);
    EXPECT_EQ(doc->m_szXFormat, "%-16.5lf");
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(OptionsWithFile, ARefusedTabClickNeverShowsTheClickedPage) {
    Data([this](CMySheet& sheet) {
        auto* tabs = sheet.findChild<QTabBar*>();
        EXPECT_NE(tabs, nullptr);
        if (!tabs)
            return false;
        std::vector<std::string> behind;
        ui.onMessage = [&](const std::string&) {
            for (CPropertyPage* page : sheet.Pages())
                if (page->isVisible())
                    behind.push_back(page->windowTitle().toStdString() + "/" +
                                     tabs->tabText(tabs->currentIndex()).toStdString());
        };
        auto& curve = PageOf<CCurveType>(sheet, 0);
        curve.m_editOrder->setText("11");
        tabs->setCurrentIndex(2); // as a click on the Resolution tab
        EXPECT_EQ(sheet.ActiveIndex(), 0);
        curve.m_editOrder->setText("3");
        tabs->setCurrentIndex(2);
        EXPECT_EQ(sheet.ActiveIndex(), 2);
        PageOf<CCurveData>(sheet, 2).m_editXDecimals->setText("15");
        tabs->setCurrentIndex(1);
        EXPECT_EQ(sheet.ActiveIndex(), 2);
        EXPECT_EQ(tabs->currentIndex(), 2);
        EXPECT_TRUE(sheet.Pages()[2]->isVisible());
        EXPECT_FALSE(sheet.Pages()[1]->isVisible());
        ui.onMessage = nullptr;
        EXPECT_EQ(behind, (std::vector<std::string>{"Curve/Curve", "Resolution/Resolution"}));
        // Ctrl+Page Down and Ctrl+Shift+Tab walk the pages as the tabs do.
        PageOf<CCurveData>(sheet, 2).m_editXDecimals->setText("5");
        QTest::keyClick(&sheet, Qt::Key_PageDown, Qt::ControlModifier);
        EXPECT_EQ(sheet.ActiveIndex(), 0);
        QTest::keyClick(&sheet, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(sheet.ActiveIndex(), 2);
        return false;
    });
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(OptionsWithFile, TextAPageDidNotTakeGivesWayToItsValuesOnAPageChange) {
    Data([this](CMySheet& sheet) {
        auto& curve = PageOf<CCurveType>(sheet, 0);
        curve.m_editOrder->setText("2x");
        curve.m_editXTitle->setText("Time"); // typed with it, not taken either
        EXPECT_TRUE(sheet.SetActivePage(2)); // the order and titles it had are valid
        EXPECT_EQ(ui.OnlyMessage(), "Please enter an integer.");
        EXPECT_EQ(curve.m_editOrder->text(), QString::number(doc->m_nOrder));
        EXPECT_EQ(curve.m_editXTitle->text(), "X");
        auto& resolution = PageOf<CCurveData>(sheet, 2);
        resolution.m_editYDecimals->setText("3.7");
        EXPECT_TRUE(sheet.SetActivePage(0));
        EXPECT_EQ(curve.m_editOrder->text(), QString::number(doc->m_nOrder));
        EXPECT_TRUE(sheet.SetActivePage(2));
        EXPECT_EQ(resolution.m_editYDecimals->text(), "3"); // what the page read of it
        return false;
    });
}

// Cancel leaves the data set as the sheet found it, whatever was typed, pasted, imported or set
// and whichever pages were left meanwhile, so nothing is left for the close prompt to ask about.
TEST_F(OptionsWithFile, CancelLeavesTheDataSetAsTheSheetFoundIt) {
    const std::string more = dir.Write("more.txt", "7 8\r\n9.123456789 10\r\n");
    auto data = [](CMySheet& sheet) -> CData& {
        EXPECT_TRUE(sheet.SetActivePage(1));
        return PageOf<CData>(sheet, 1);
    };
    struct Case {
        const char* what;
        std::function<void(CMySheet&)> change;
    } cases[] = {
        {"typed",
         [&](CMySheet& sheet) {
             CData& page = data(sheet);
             page.m_editX->setText("9.87654");
             page.m_editY->setText("4");
             page.m_btnAdd->click();
         }},
        {"pasted",
         [&](CMySheet& sheet) {
             QGuiApplication::clipboard()->setText("5\t6\n7\t8\n");
             data(sheet).OnPastePairs();
         }},
        {"imported", [&](CMySheet& sheet) { data(sheet).ImportFromFile(more); }},
        {"deleted",
         [&](CMySheet& sheet) {
             CData& page = data(sheet);
             page.m_list->selectAll();
             page.m_btnDelete->click();
         }},
        {"resolution",
         [](CMySheet& sheet) {
             EXPECT_TRUE(sheet.SetActivePage(2));
             PageOf<CCurveData>(sheet, 2).m_editYDecimals->setText("2");
             PageOf<CCurveData>(sheet, 2).m_radioXExponential->click();
         }},
        {"curve",
         [](CMySheet& sheet) {
             PageOf<CCurveType>(sheet, 0).m_editXTitle->setText("Time");
             PageOf<CCurveType>(sheet, 0).m_radioType[1]->click();
             PageOf<CCurveType>(sheet, 0).m_comboWeights->setCurrentIndex(3);
         }},
        {"sigma",
         [&](CMySheet& sheet) {
             CData& page = data(sheet);
             page.m_checkSigma->click();
             page.m_list->selectAll();
             page.m_btnDelete->click();
             page.m_editX->setText("1");
             page.m_editY->setText("2");
             page.m_editSigma->setText("0.5");
             page.m_btnAdd->click();
         }},
    };
    auto state = [this] {
        std::vector<std::array<double, 5>> pairs;
        for (const CXYdata& p : doc->m_pPairs)
            pairs.push_back({p.m_dX, p.m_dY, p.m_dComputed, p.m_dDifference, p.m_dSigma});
        return std::tuple(pairs, doc->m_nPairs, doc->m_eWeights, doc->m_strDataTitle,
                          doc->m_strXTitle, doc->m_nCurveType, doc->m_nOrder, doc->m_nXDecimals,
                          doc->m_nYDecimals, doc->m_bXFixed, doc->m_bYFixed, doc->m_szRowFormat,
                          doc->m_dCoef[0], doc->IsModified());
    };
    const auto before = state();
    for (const Case& c : cases) {
        Data([&](CMySheet& sheet) {
            c.change(sheet);
            EXPECT_TRUE(sheet.SetActivePage(0)); // the page left stores what it holds
            EXPECT_TRUE(sheet.SetActivePage(2));
            sheet.reject();
            return sheet.result() == QDialog::Accepted;
        });
        EXPECT_TRUE(ui.messages.empty()) << c.what;
        EXPECT_TRUE(state() == before) << c.what;
    }
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFileClose));
    Settle();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(WindowCount(), 0);
}

// Weights from standard deviations are refused on OK while a pair has none, on the Curve page
// with the focus on the choice; once every pair has one, OK keeps them.
TEST_F(OptionsWithFile, StandardDeviationsAsWeightsNeedOneOnEveryPair) {
    Data([this](CMySheet& sheet) {
        auto& curve = PageOf<CCurveType>(sheet, 0);
        EXPECT_FALSE(curve.m_checkAbsolute->isEnabled());
        curve.m_comboWeights->setCurrentIndex(1);
        emit curve.m_comboWeights->activated(1);
        EXPECT_TRUE(curve.m_checkAbsolute->isEnabled());
        curve.m_checkAbsolute->setChecked(true);
        EXPECT_TRUE(sheet.SetActivePage(1));
        auto& data = PageOf<CData>(sheet, 1);
        EXPECT_FALSE(data.m_editSigma->isVisible());
        data.m_checkSigma->click();
        EXPECT_TRUE(data.m_editSigma->isVisible());
        for (const char* sigma : {"0.5", "0.25"}) {
            data.m_editX->setText(sigma);
            data.m_editY->setText("2");
            data.m_editSigma->setText(sigma);
            data.m_btnAdd->click();
        }
        sheet.accept();
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(sheet.ActiveIndex(), 0);
        EXPECT_EQ(sheet.focusWidget(), curve.m_comboWeights);
        EXPECT_NE(ui.OnlyMessage().find("but " + std::to_string(doc->m_pPairs.size() - 2) +
                                        " of the " + std::to_string(doc->m_pPairs.size()) +
                                        " pairs have none!"),
                  std::string::npos);
        ui.messages.clear();
        EXPECT_TRUE(sheet.SetActivePage(1));
        for (int row = 0; row + 2 < int(data.Rules().Lines().size()); ++row)
            data.m_list->selectionModel()->select(data.m_list->model()->index(row, 0),
                                                  QItemSelectionModel::Select);
        data.m_btnDelete->click();
        sheet.accept();
        return sheet.result() == QDialog::Accepted;
    });
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
    ASSERT_EQ(doc->m_pPairs.size(), 2u);
    EXPECT_EQ(doc->m_pPairs[1].m_dSigma, 0.25);
    EXPECT_EQ(doc->m_eWeights, WeightScheme::Sigma);
    EXPECT_EQ(doc->m_bSigmaAbsolute, 1);
    EXPECT_TRUE(doc->IsModified());
}

// What OK keeps is marked, and closing asks about it.
TEST_F(OptionsWithFile, AChangeKeptByOkIsAskedAboutOnClose) {
    Data([](CMySheet& sheet) {
        EXPECT_TRUE(sheet.SetActivePage(1));
        auto& page = PageOf<CData>(sheet, 1);
        page.m_editX->setText("9.87654");
        page.m_editY->setText("4");
        page.m_btnAdd->click();
        EXPECT_TRUE(sheet.SetActivePage(0));
        sheet.accept();
        return sheet.result() == QDialog::Accepted;
    });
    ASSERT_EQ(doc->m_pPairs.size(), 3u);
    EXPECT_EQ(doc->m_pPairs[2].m_dX, 9.87654);
    EXPECT_TRUE(doc->IsModified());
    ui.answers.push_back(Ui::Answer::Cancel);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kFileClose));
    Settle();
    EXPECT_EQ(ui.OnlyMessage(), "The data \"Test\" in " + doc->m_strFileName +
                                    " has been modified!\nSave the modifications?");
    EXPECT_EQ(WindowCount(), 1);
}

TEST_F(OptionsWithFile, OkWithoutAChangeStartsNoFit) {
    doc->SetModifiedFlag(true);
    doc->m_dCoef[0] = 99.0; // a fit would replace it
    Data([](CMySheet& sheet) {
        sheet.accept();
        return true;
    });
    EXPECT_EQ(doc->m_dCoef[0], 99.0);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(OptionsWithFile, AYDecimalsChangeRefitsEveryView) {
    ASSERT_TRUE(Frame().RouteCommand(cmd::kNewListWindow));
    Settle();
    ASSERT_EQ(WindowCount(), 2);
    doc->m_dCoef[0] = 99.0;
    Data([](CMySheet& sheet) {
        EXPECT_TRUE(sheet.SetActivePage(2));
        PageOf<CCurveData>(sheet, 2).m_editYDecimals->setText("2");
        sheet.accept();
        return true;
    });
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->m_szYFormat, "%-16.2lf");
    EXPECT_NEAR(doc->m_dCoef[0], 2.0, 1e-12); // refitted
    for (QMdiSubWindow* w : Frame().MdiArea()->subWindowList()) {
        auto& view = dynamic_cast<CLumetraView&>(dynamic_cast<CChildFrame*>(w)->View());
        const QString row =
            view.List()->model()->index(view.GetDocument().m_nLineCount - 1, 0).data().toString();
        EXPECT_TRUE(row.startsWith("2.00000         \t5.00            \t5.00"))
            << row.toStdString();
    }
}

// The sample's two pairs are too few for a semilog model.
TEST_F(OptionsWithFile, AFailedFitIsNotedInTheListingAndTheStatusBar) {
    Data([](CMySheet& sheet) {
        PageOf<CCurveType>(sheet, 0).m_radioType[2]->click();
        sheet.accept();
        return true;
    });
    EXPECT_EQ(ui.OnlyMessage(),
              "Must have a minimum of 3 data points to fit the curve!\nCan't Fit the Curve");
    EXPECT_EQ(Row(4),
              "         Fit Failed:  Must have a minimum of 3 data points to fit the curve!");
    EXPECT_EQ(Row(5), QString(80, '-'));
    EXPECT_EQ(ui.status[0].back(), "Fit Failed:  Must have a minimum of 3 data points to fit the "
                                   "curve!");
    // A fit that goes well takes the note away.
    ui.messages.clear();
    Data([](CMySheet& sheet) {
        PageOf<CCurveType>(sheet, 0).m_radioType[0]->click();
        sheet.accept();
        return true;
    });
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Row(4), "         Curve Type:  Polynomial");
    EXPECT_EQ(ui.status[0].back(), "Ready");
}

TEST_F(OptionsWithFile, EnterInAComputeFieldComputes) {
    doc->m_dCoef[0] = 2.0;
    doc->m_dCoef[1] = 3.0;
    sheetAnswer = [](CMySheet& sheet) {
        sheet.show();
        sheet.activateWindow();
        auto& y = PageOf<CCompY>(sheet, 0);
        y.m_editInput->setFocus();
        y.m_editInput->setText("2");
        QTest::keyClick(y.m_editInput, Qt::Key_Return);
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(y.m_labelResult->text(), "         7.00000");
        return false;
    };
    ASSERT_TRUE(Frame().RouteCommand(cmd::kOptionsCompute));
}

TEST_F(OptionsWithFile, ComputePagesGiveTheirResults) {
    doc->m_dCoef[0] = 2.0;
    doc->m_dCoef[1] = 3.0;
    sheetAnswer = [this](CMySheet& sheet) {
        sheet.show();
        auto& y = PageOf<CCompY>(sheet, 0);
        EXPECT_EQ(sheet.ActivePage(), &y);
        EXPECT_TRUE(y.m_editInput->isEnabled());
        y.m_editInput->setText(" 2 ");
        y.m_buttonCompute->click();
        EXPECT_EQ(y.m_labelResult->text(), "         7.00000");
        EXPECT_EQ(y.m_editInput->text(), "2");
        y.m_editInput->setText("-1.5");
        y.m_buttonCompute->click();
        EXPECT_EQ(y.m_labelResult->text(), "0.0000000E+000");
        y.m_editInput->setText(""); // refused, as on the Data page: the result stays
        y.m_buttonCompute->click();
        EXPECT_EQ(ui.messages.back().text, "X value may NOT be empty!");
        EXPECT_EQ(y.m_labelResult->text(), "0.0000000E+000");
        EXPECT_EQ(sheet.focusWidget(), y.m_editInput);
        EXPECT_TRUE(sheet.SetActivePage(1));
        EXPECT_FALSE(PageOf<CCompX>(sheet, 1).m_editInput->isEnabled());
        return false;
    };
    ASSERT_TRUE(Frame().RouteCommand(cmd::kOptionsCompute));

    doc->m_nCurveType = 1;
    sheetAnswer = [this](CMySheet& sheet) {
        sheet.show();
        auto& y = PageOf<CCompY>(sheet, 0);
        y.m_editInput->setText("0");
        y.m_buttonCompute->click();
        EXPECT_EQ(ui.messages.back().text,
                  "X may not be <= 0.0!\nCan't compute Y from X (Log-Log)");
        EXPECT_EQ(y.m_labelResult->text(), " Y = "); // nothing computed yet
        return false;
    };
    Frame().RouteCommand(cmd::kOptionsCompute);

    doc->m_nCurveType = 3;
    sheetAnswer = [](CMySheet& sheet) {
        sheet.show();
        EXPECT_FALSE(PageOf<CCompY>(sheet, 0).m_editInput->isEnabled());
        EXPECT_FALSE(PageOf<CCompY>(sheet, 0).m_buttonCompute->isEnabled());
        EXPECT_TRUE(sheet.SetActivePage(1));
        auto& x = PageOf<CCompX>(sheet, 1);
        EXPECT_TRUE(x.m_editInput->isEnabled());
        x.m_editInput->setText("0");
        x.m_buttonCompute->click();
        EXPECT_EQ(x.m_labelResult->text(), "         2.00000");
        return false;
    };
    Frame().RouteCommand(cmd::kOptionsCompute);
}

} // namespace
} // namespace lumetra
