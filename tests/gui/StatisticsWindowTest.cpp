#include "AppFixture.h"

#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "data/LumetraDoc.h"
#include "options/CurvePage.h"
#include "stats/StatisticsView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPrinter>
#include <QRadioButton>

#include <fstream>

namespace lumetra {
namespace {

struct StatisticsWindow : test::AppFixture {
    CLumetraDoc* doc = nullptr;
    void SetUp() override {
        ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
        doc = &ActiveListing()->GetDocument();
    }
    CStatisticsView* OpenStatistics() {
        EXPECT_TRUE(Frame().RouteCommand(cmd::kStatisticsWindow));
        Settle();
        return dynamic_cast<CStatisticsView*>(Frame().ActiveView());
    }
    // Options > Data with the method chosen on the Curve page, then OK.
    void ChooseMethod(bool accurate) {
        sheetAnswer = [accurate](CMySheet& sheet) {
            sheet.show();
            auto& curve = *dynamic_cast<CCurveType*>(sheet.Pages()[0]);
            EXPECT_EQ(curve.m_radioClassic->isChecked(), accurate); // the other one so far
            (accurate ? curve.m_radioAccurate : curve.m_radioClassic)->click();
            sheet.accept();
            return true;
        };
        ASSERT_TRUE(Frame().RouteCommand(cmd::kOptionsData));
        Settle();
    }
};

TEST_F(StatisticsWindow, OpensFromTheViewMenuAndTheToolbar) {
    EXPECT_EQ(CommandMenuText(cmd::kStatisticsWindow), "Stat&istics Window");
    EXPECT_EQ(CommandToolTip(cmd::kStatisticsWindow), "Statistics");
    const std::vector<int>& bar = ToolbarLayout();
    EXPECT_NE(std::find(bar.begin(), bar.end(), cmd::kStatisticsWindow), bar.end());
    EXPECT_TRUE(Enabled(cmd::kStatisticsWindow));

    CStatisticsView* view = OpenStatistics();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(WindowCount(), 2);
    EXPECT_EQ(&view->GetDocument(), doc);
    const QString text = view->toPlainText();
    EXPECT_TRUE(text.contains("         Method:      Classic\n"));
    EXPECT_TRUE(text.contains("         Pairs: 40   Degrees of freedom: 37"));
    EXPECT_TRUE(text.contains("\nC[3]        6.73566000E-004  1.07938731E-004"));
    EXPECT_TRUE(view->isReadOnly());
    // Its text is the user's to copy.
    view->selectAll();
    view->copy();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("-----"));
    EXPECT_TRUE(copied.contains("         Digits kept by the classic method:"));
}

TEST_F(StatisticsWindow, TheMethodChosenOnTheCurvePageRefitsAndIsRemembered) {
    CStatisticsView* view = OpenStatistics();
    ASSERT_NE(view, nullptr);
    ChooseMethod(true);
    EXPECT_EQ(doc->m_eFitMethod, FitMethod::Accurate);
    EXPECT_TRUE(doc->IsModified()); // the method alone is a change
    EXPECT_EQ(settings.GetString("Preferences", "FitMethod"), "accurate");
    // Certified by NIST: B0 = 0.673565789473684E-03; the file kept six digits.
    EXPECT_NEAR(doc->m_dCoef[2], 0.673565789473684e-03, 1e-12);
    // Refreshed after the fit.
    EXPECT_TRUE(view->toPlainText().contains("         Method:      Accurate\n"));
    EXPECT_TRUE(view->toPlainText().contains("\nC[3]        6.73565789E-004"));
    EXPECT_TRUE(ui.messages.empty());

    // A new data set starts with the remembered method.
    CLumetraDoc fresh(ui, settings);
    EXPECT_EQ(fresh.m_eFitMethod, FitMethod::Accurate);

    ChooseMethod(false);
    EXPECT_EQ(doc->m_eFitMethod, FitMethod::Classic);
    EXPECT_EQ(settings.GetString("Preferences", "FitMethod"), "classic");
    EXPECT_TRUE(view->toPlainText().contains("         Method:      Classic\n"));
}

TEST_F(StatisticsWindow, PrintsItsText) {
    const std::string pdf = dir.Path("statistics.pdf");
    app->Printer().setOutputFormat(QPrinter::PdfFormat);
    app->Printer().setOutputFileName(QString::fromStdString(pdf));
    dialogAnswer = [](QDialog&) { return int(QDialog::Accepted); };
    CStatisticsView* view = OpenStatistics();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(Enabled(cmd::kFilePrint));
    EXPECT_FALSE(Enabled(cmd::kPrintPreview));
    ASSERT_TRUE(view->OnFilePrint());
    const std::string text = dir.Path("statistics.txt");
    ASSERT_EQ(std::system(("pdftotext '" + pdf + "' '" + text + "'").c_str()), 0);
    std::ifstream in(text);
    const std::string printed((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(printed.find("Residual standard deviation:"), std::string::npos) << printed;
    EXPECT_NE(printed.find("Pontius load cell calibration"), std::string::npos);
}

} // namespace
} // namespace lumetra
