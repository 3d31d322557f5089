#include "AppFixture.h"

#include "data/LumetraDoc.h"
#include "fit/FitEngine.h"
#include "fit/Prediction.h"
#include "framework/CommandIds.h"
#include "framework/CommandTable.h"
#include "framework/HelpViewer.h"
#include "options/CurvePage.h"
#include "stats/InfluencePage.h"
#include "stats/LimitsText.h"
#include "stats/PredictionText.h"
#include "stats/StatisticsView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>

#include <cmath>
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

TEST_F(StatisticsWindow, ANarrowedWindowKeepsEveryControlWhole) {
    CStatisticsView* view = OpenStatistics();
    ASSERT_NE(view, nullptr);
    QMdiSubWindow* frame = Frame().MdiArea()->currentSubWindow();
    frame->resize(120, 400);
    Settle();
    EXPECT_GT(frame->width(), 120);
    const QList<QWidget*> controls = view->findChildren<QWidget*>();
    int checked = 0;
    for (QWidget* w : controls)
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QLabel*>(w)) {
            ++checked;
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->metaObject()->className();
            // A choice shows its whole name as the model gives it, not the least a box can be.
            if (auto* box = qobject_cast<QComboBox*>(w)) {
                QComboBox whole;
                whole.setFont(box->font());
                whole.addItem(box->currentText());
                EXPECT_GE(box->width(), whole.sizeHint().width())
                    << box->currentText().toStdString();
            }
        }
    EXPECT_GE(checked, 6);
}

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
    const QString text = view->StatisticsText()->toPlainText();
    EXPECT_TRUE(text.contains("         Method:      Classic\n"));
    EXPECT_TRUE(text.contains("         Pairs: 40   Degrees of freedom: 37"));
    // The stable least-squares estimate and NIST's certified standard deviation
    // (1.07938612033077E-004), not those of the file's rounded coefficients.
    EXPECT_TRUE(text.contains("\nC[3]        6.73565789E-004  1.07938612E-004"));
    EXPECT_TRUE(view->StatisticsText()->isReadOnly());
    // Its text is the user's to copy.
    view->StatisticsText()->selectAll();
    view->StatisticsText()->copy();
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
    EXPECT_TRUE(view->StatisticsText()->toPlainText().contains("         Method:      Accurate\n"));
    EXPECT_TRUE(view->StatisticsText()->toPlainText().contains("\nC[3]        6.73565789E-004"));
    EXPECT_TRUE(ui.messages.empty());

    // A new data set starts with the remembered method.
    CLumetraDoc fresh(ui, settings);
    EXPECT_EQ(fresh.m_eFitMethod, FitMethod::Accurate);

    ChooseMethod(false);
    EXPECT_EQ(doc->m_eFitMethod, FitMethod::Classic);
    EXPECT_EQ(settings.GetString("Preferences", "FitMethod"), "classic");
    EXPECT_TRUE(view->StatisticsText()->toPlainText().contains("         Method:      Classic\n"));
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

// The pontius fit: Y = C[1]X^2 + C[2]X + C[3], deflection against load, loads 0 to 3,000,000.
TEST_F(StatisticsWindow, TheTablePredictsAndCalibratesTheValuesTypedAndCopiesThem) {
    CStatisticsView* view = OpenStatistics();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->HelpContext(), help::kStatisticsWindow);
    EXPECT_EQ(view->Direction()->itemText(0), "Prediction: Y from X");
    EXPECT_EQ(view->Direction()->itemText(1), "Calibration: X from Y");
    EXPECT_FALSE(view->Interval()->isEnabled()); // a calibration's choices only
    EXPECT_EQ(view->Table()->rowCount(), 0);

    // Pasted as a column from a spreadsheet.
    view->Values()->setPlainText("1500000\r\n2500000\r\n");
    ASSERT_EQ(view->Table()->rowCount(), 2);
    EXPECT_EQ(view->Table()->columnCount(), 8);
    EXPECT_EQ(view->Table()->horizontalHeaderItem(3)->text(), "Mean low 95 %");
    EXPECT_EQ(view->Table()->item(0, 0)->text(), "1500000");
    const CurveOutcome outcome = DocumentCurve(*doc);
    ASSERT_TRUE(outcome.curve);
    const Prediction p = Predict(*outcome.curve, 1500000.0, 0.95);
    EXPECT_EQ(view->Table()->item(0, 1)->text().toStdString(), StatisticText(p.output));
    EXPECT_EQ(view->Table()->item(0, 5)->text().toStdString(), StatisticText(p.predLow));

    // The deflection at 1,500,000 read back gives that load inside its interval.
    const QString deflection = view->Table()->item(0, 1)->text();
    view->Direction()->setCurrentIndex(1);
    EXPECT_TRUE(view->Interval()->isEnabled());
    EXPECT_TRUE(view->MeanResponse()->isEnabled());
    view->Values()->setPlainText(deflection + "\nx");
    ASSERT_EQ(view->Table()->rowCount(), 2) << TableTabText(view->Results());
    EXPECT_EQ(view->Table()->horizontalHeaderItem(3)->text(), "Inversion lower 95 %");
    EXPECT_EQ(view->Table()->item(0, 1)->text(), "1");
    const double load = view->Table()->item(0, 2)->text().toDouble();
    EXPECT_NEAR(load, 1500000.0, 1.0);
    EXPECT_LT(view->Table()->item(0, 3)->text().toDouble(), load);
    EXPECT_GT(view->Table()->item(0, 4)->text().toDouble(), load);
    EXPECT_EQ(view->Table()->item(1, 5)->text(), "\"x\" is not a number.");
    view->Interval()->setCurrentIndex(1);
    EXPECT_EQ(view->Table()->horizontalHeaderItem(3)->text(), "Wald lower 95 %");

    // Copy Table, and Edit > Copy with the table in front: TABs for a spreadsheet.
    const std::string tabs = TableTabText(view->Results());
    EXPECT_EQ(tabs.substr(0, 43), "Y\tm\tX\tWald lower 95 %\tWald upper 95 %\tNote\n");
    view->window()->activateWindow();
    view->Table()->setFocus();
    Settle();
    ASSERT_TRUE(view->Table()->hasFocus());
    ASSERT_TRUE(Frame().RouteCommand(cmd::kEditCopy));
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), tabs);
    QApplication::clipboard()->clear();
    for (QPushButton* button : view->findChildren<QPushButton*>())
        if (button->text() == "&Copy Table")
            button->click();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), tabs);

    // A level that is none says so instead of numbers.
    view->Level()->setText("95");
    ASSERT_EQ(view->Table()->rowCount(), 1);
    EXPECT_EQ(view->Table()->item(0, 0)->text(),
              "The level must be a number between 0 and 1, such as 0.95.");
    view->Level()->setText("0.9");
    EXPECT_EQ(view->Table()->horizontalHeaderItem(3)->text(), "Wald lower 90 %");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StatisticsWindow, TheTableFollowsEveryFitAndSaysWhenThereIsNoCurve) {
    CStatisticsView* view = OpenStatistics();
    ASSERT_NE(view, nullptr);
    view->Values()->setPlainText("2000000");
    const QString classic = view->Table()->item(0, 2)->text();
    ChooseMethod(true); // a refit: the table is made again from the new curve
    ASSERT_EQ(view->Table()->rowCount(), 1);
    // Both methods' intervals describe the same stable least-squares solution.
    EXPECT_EQ(view->Table()->item(0, 2)->text(), classic);

    doc->m_bFitFailed = true;
    view->Refresh();
    ASSERT_EQ(view->Table()->rowCount(), 1);
    EXPECT_EQ(view->Table()->item(0, 0)->text(),
              "The fit failed: there is no curve to read values from.");
}

// Which weights: every scheme that applies, fitted and compared under the statistics; and the σ
// of a new observation, taken only by a weighted fit and checked.
TEST_F(StatisticsWindow, ComparesTheWeightingsAndTakesTheSigmaOfANewObservation) {
    CStatisticsView* view = OpenStatistics();
    ASSERT_NE(view, nullptr);
    const QString text = view->StatisticsText()->toPlainText();
    EXPECT_TRUE(text.contains("         Which weights? Each weighting fitted, its standards' X "
                              "taken back through the curve:\n"))
        << text.toStdString();
    EXPECT_EQ(text.count("<- smallest"), 1);
    EXPECT_TRUE(text.contains("\n         1/X^2     "));
    EXPECT_FALSE(view->NewSigma()->isEnabled()); // the fit is not weighted
    // Kept through the updates of one fit, made again for the next fit of changed pairs.
    auto comparison = [view] {
        const QString all = view->StatisticsText()->toPlainText();
        return all.mid(all.indexOf("Which weights?"));
    };
    const QString first = comparison();
    view->Refresh();
    EXPECT_EQ(comparison(), first);
    doc->m_pPairs[0].m_dY *= 1.5;
    ASSERT_EQ(CFitEngine(*doc).RefitDocument(), 1);
    view->Refresh();
    EXPECT_NE(comparison(), first);

    doc->m_eWeights = WeightScheme::InverseX;
    ASSERT_EQ(CFitEngine(*doc).RefitDocument(), 1);
    view->Refresh();
    EXPECT_TRUE(view->NewSigma()->isEnabled());
    view->Values()->setPlainText("2000000");
    const QString byWeights = view->Table()->item(0, 5)->text();
    view->NewSigma()->setText("-1");
    ASSERT_EQ(view->Table()->rowCount(), 1);
    EXPECT_EQ(view->Table()->item(0, 0)->text(), "The standard deviation of a new observation "
                                                 "must be a number above 0, or left empty.");
    view->NewSigma()->setText("0.5");
    ASSERT_EQ(view->Table()->rowCount(), 1);
    EXPECT_NE(view->Table()->item(0, 5)->text(), byWeights);
}

// The lack of fit and the Orders section follow each fit, and the copy of the text holds them.
TEST_F(StatisticsWindow, ShowsTheLackOfFitAndTheOrdersOfEachFit) {
    CStatisticsView* view = OpenStatistics();
    ASSERT_NE(view, nullptr);
    auto orders = [view] {
        const QString all = view->StatisticsText()->toPlainText();
        return all.mid(all.indexOf("         Orders\n"));
    };
    const QString first = orders();
    EXPECT_TRUE(first.contains("\nOrder       n   dof            SSE     Residual SD"))
        << first.toStdString();
    EXPECT_TRUE(view->StatisticsText()->toPlainText().contains("\n         Lack of fit: 40 pairs"));
    view->StatisticsText()->setFocus();
    EXPECT_NE(view->CopyText().find("         Orders\n"), std::string::npos);
    doc->m_pPairs[0].m_dY *= 1.5;
    ASSERT_EQ(CFitEngine(*doc).RefitDocument(), 1);
    view->Refresh();
    EXPECT_NE(orders(), first);
}

// Typing into the table and copying it while a refit of its document dispatches messages: the
// table is made from the curve of the fit before, and after the fit from the new one.
TEST_F(StatisticsWindow, TheTableWorksInsideTheMessagesOfARefit) {
    CStatisticsView* view = OpenStatistics();
    ASSERT_NE(view, nullptr);
    view->Values()->setPlainText("2000000");
    const QString before = view->Table()->item(0, 1)->text();
    int pumps = 0;
    ui.onPump = [&] {
        ++pumps;
        view->Values()->setPlainText(pumps % 2 ? "2000000 1000000" : "2000000");
        QApplication::clipboard()->setText(QString::fromStdString(view->CopyText()));
        EXPECT_EQ(view->Table()->item(0, 1)->text(), before); // the old curve, whole
    };
    ChooseMethod(true);
    ui.onPump = nullptr;
    EXPECT_GT(pumps, 0);
    view->Values()->setPlainText("2000000");
    ASSERT_EQ(view->Table()->rowCount(), 1);
    // The accurate curve now, which the classic fit's intervals already described.
    EXPECT_EQ(view->Table()->item(0, 1)->text(), before);
}

TEST_F(StatisticsWindow, PrintsTheTableAfterTheStatistics) {
    const std::string pdf = dir.Path("table.pdf");
    app->Printer().setOutputFormat(QPrinter::PdfFormat);
    app->Printer().setOutputFileName(QString::fromStdString(pdf));
    dialogAnswer = [](QDialog&) { return int(QDialog::Accepted); };
    CStatisticsView* view = OpenStatistics();
    ASSERT_NE(view, nullptr);
    view->Values()->setPlainText("1234567");
    ASSERT_TRUE(view->OnFilePrint());
    const std::string text = dir.Path("table.txt");
    ASSERT_EQ(std::system(("pdftotext -layout '" + pdf + "' '" + text + "'").c_str()), 0);
    std::ifstream in(text);
    const std::string printed((std::istreambuf_iterator<char>(in)), {});
    const size_t stats = printed.find("Residual standard deviation:");
    const size_t table = printed.find("Prediction high 95 %");
    ASSERT_NE(stats, std::string::npos) << printed;
    ASSERT_NE(table, std::string::npos) << printed;
    EXPECT_LT(stats, table);
    EXPECT_NE(printed.find("1234567 "), std::string::npos);
    EXPECT_GT(printed.find("Influence of each pair: 3 of 40 flagged"), table);
}

// The pontius quadratic flags pairs 1 and 2 (Cook's distance) and 39; the page is made again
// after every fit, its flagged rows tinted, and copies as TAB text.
TEST_F(StatisticsWindow, TheInfluencePageFlagsPairsAndCopiesThem) {
    CStatisticsView* view = OpenStatistics();
    ASSERT_NE(view, nullptr);
    CInfluencePage& page = *view->Influence();
    const QAbstractItemModel& rows = *page.Table()->model();
    auto cell = [&rows](int r, int c, int role = Qt::DisplayRole) {
        return rows.data(rows.index(r, c), role);
    };
    EXPECT_EQ(rows.rowCount(), 40);
    EXPECT_TRUE(page.Summary()->text().contains(
        "Durbin-Watson statistic (residuals ordered by X): 2.4904228"));
    page.FlaggedOnly()->setChecked(true);
    ChooseMethod(true); // a refit keeps the choice and remakes the rows
    ASSERT_EQ(rows.rowCount(), 3);
    QStringList pairs;
    for (int r = 0; r < 3; ++r) {
        pairs << cell(r, 0).toString();
        EXPECT_TRUE(cell(r, 4, Qt::BackgroundRole).isValid());
    }
    EXPECT_EQ(pairs, QStringList({"1", "2", "39"}));
    EXPECT_EQ(cell(0, 8).toString(), "influential");
    page.FlaggedOnly()->setChecked(false);
    EXPECT_EQ(cell(2, 8).toString(), "");
    EXPECT_FALSE(cell(2, 4, Qt::BackgroundRole).isValid());
    EXPECT_EQ(rows.headerData(6, Qt::Horizontal).toString(), "Cook's D");

    view->findChild<QTabWidget*>()->setCurrentWidget(&page);
    view->window()->activateWindow();
    page.Table()->setFocus();
    Settle();
    ASSERT_TRUE(page.Table()->hasFocus());
    ASSERT_TRUE(Frame().RouteCommand(cmd::kEditCopy));
    const std::string copied = QApplication::clipboard()->text().toStdString();
    EXPECT_EQ(copied.substr(0, copied.find('\n')),
              "Pair\tX\tY\tLeverage\tStandardized\tStudentized\tCook's D\tDFFITS\tFlag");
    EXPECT_EQ(std::count(copied.begin(), copied.end(), '\n'), 41);
}

// A pair excluded from the influence page leaves the fit at once, as one step that Edit > Undo
// takes back; its row stays, greyed, and Include in Fit takes it back in.
TEST_F(StatisticsWindow, TheInfluencePageExcludesAndIncludesPairs) {
    CStatisticsView* view = OpenStatistics();
    ASSERT_NE(view, nullptr);
    CInfluencePage& page = *view->Influence();
    const QAbstractItemModel& rows = *page.Table()->model();
    const double c1 = doc->m_dCoef[0];
    auto select = [&](int row) {
        page.Table()->clearSelection();
        page.Table()->selectRow(row);
    };
    EXPECT_FALSE(page.ExcludeButton()->isEnabled());
    select(38);
    ASSERT_TRUE(page.ExcludeButton()->isEnabled());
    EXPECT_FALSE(page.IncludeButton()->isEnabled());
    page.ExcludeButton()->click();
    Settle();
    EXPECT_TRUE(doc->m_pPairs[38].m_bExcluded);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_NE(doc->m_dCoef[0], c1);
    EXPECT_TRUE(page.Summary()->text().contains("of 39 flagged"))
        << page.Summary()->text().toStdString();
    ASSERT_EQ(rows.rowCount(), 40);
    EXPECT_EQ(rows.data(rows.index(38, 8)).toString(), "excluded");
    EXPECT_EQ(rows.data(rows.index(38, 3)).toString(), "");
    EXPECT_TRUE(rows.data(rows.index(38, 3), Qt::BackgroundRole).isValid());

    ASSERT_TRUE(Frame().RouteCommand(cmd::kEditUndo));
    Settle();
    EXPECT_FALSE(doc->m_pPairs[38].m_bExcluded);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_NEAR(doc->m_dCoef[0], c1, 1e-5 * std::fabs(c1)); // the file keeps six digits
    EXPECT_TRUE(page.Summary()->text().contains("of 40 flagged"));

    select(38);
    page.ExcludeButton()->click();
    Settle();
    select(38);
    ASSERT_TRUE(page.IncludeButton()->isEnabled());
    page.IncludeButton()->click();
    Settle();
    EXPECT_FALSE(doc->m_pPairs[38].m_bExcluded);
    EXPECT_NEAR(doc->m_dCoef[0], c1, 1e-5 * std::fabs(c1)); // the file keeps six digits
    EXPECT_EQ(doc->m_history.UndoName(), "Include in Fit");
}

} // namespace
} // namespace lumetra

namespace lumetra {
namespace {

// The Limits section follows the fit and the options typed, and remembers usable options; a line
// of several values in the calibration table is one sample.
TEST_F(StatisticsWindow, ShowsTheLimitsOfAStraightLineAndCalibratesASampleOfReadings) {
    CStatisticsView* view = OpenStatistics();
    ASSERT_NE(view, nullptr);
    auto text = [&] { return view->StatisticsText()->toPlainText().toStdString(); };
    EXPECT_NE(text().find("\n         Limits of detection and quantification belong to a "
                          "straight-line calibration (Polynomial of order 1): this fit is of "
                          "order 2.\n"),
              std::string::npos);

    doc->m_nOrder = 1;
    ASSERT_EQ(CFitEngine(*doc).RefitDocument(), 1);
    view->Refresh();
    const CurveOutcome curve = DocumentCurve(*doc);
    ASSERT_TRUE(curve.curve);
    auto shows = [&](const LimitsRequest& request) {
        std::string section;
        for (const std::string& line : LimitsLines(ComputeLimits(*curve.curve, request)))
            section += line + '\n';
        return text().find(section) != std::string::npos;
    };
    EXPECT_TRUE(shows({}));
    view->Alpha()->setText("0.5");
    EXPECT_NE(text().find("\n         alpha, the error probability of the decision, must be a "
                          "number above 0 and below 0.5, such as 0.05.\n"),
              std::string::npos);
    EXPECT_EQ(settings.GetString("Limits", "Alpha", ""), "0.05"); // the last usable one
    view->Alpha()->setText("0.01");
    view->LimitsK()->setText("10");
    view->Replicates()->setValue(3);
    EXPECT_TRUE(shows({0.01, 0.05, 10, 3}));
    EXPECT_EQ(settings.GetString("Limits", "Alpha", ""), "0.01");
    EXPECT_EQ(settings.GetString("Limits", "Replicates", ""), "3");

    view->Direction()->setCurrentIndex(1);
    view->Values()->setPlainText("1.5 1.6 1.7\n1.6");
    ASSERT_EQ(view->Table()->rowCount(), 2) << TableTabText(view->Results());
    const Calibration sample = CalibrateReadings(*curve.curve, {1.5, 1.6, 1.7}, {});
    ASSERT_EQ(sample.estimates.size(), 1u) << sample.message;
    EXPECT_EQ(view->Table()->item(0, 0)->text().toStdString(), StatisticText(sample.observed));
    EXPECT_EQ(view->Table()->item(0, 1)->text(), "3");
    EXPECT_EQ(view->Table()->item(0, 3)->text().toStdString(),
              StatisticText(sample.estimates[0].lower));
    EXPECT_EQ(view->Table()->item(1, 1)->text(), "1");
    // One reading of the same mean has the wider interval.
    EXPECT_LT(view->Table()->item(1, 3)->text().toDouble(), *sample.estimates[0].lower);
}

} // namespace
} // namespace lumetra
