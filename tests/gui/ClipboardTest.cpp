#include "AppFixture.h"

#include "app/CommandMenu.h"
#include "data/LumetraDoc.h"
#include "framework/CommandIds.h"
#include "plot/PlotView.h"
#include "report/ReportText.h"
#include "report/TableExport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>

namespace lumetra {
namespace {

using Clipboard = test::AppFixture;

std::string ClipboardText() {
    return QGuiApplication::clipboard()->text().toStdString();
}

QStringList MenuTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* a : menu.actions())
        if (a->isVisible())
            texts << (a->isSeparator() ? QString("-") : a->text() + "|" + a->shortcut().toString());
    return texts;
}

QMenu* MenuNamed(CMainFrame& frame, const QString& title) {
    for (QAction* a : frame.menuBar()->actions())
        if (a->text() == title)
            return a->menu();
    return nullptr;
}

TEST_F(Clipboard, TheEditMenuStandsBetweenFileAndOptionsInBothMenus) {
    ASSERT_TRUE(Start());
    QStringList titles;
    for (const QAction* a : Frame().menuBar()->actions())
        if (a->isVisible())
            titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&Options", "&View", "&Window", "&Help"}));
    QMenu* edit = MenuNamed(Frame(), "&Edit");
    ASSERT_NE(edit, nullptr);
    Frame().UpdateCommandUI();
    EXPECT_EQ(MenuTexts(*edit), (QStringList{"&Undo|Ctrl+Z", "&Redo|Ctrl+Y", "-", "&Copy|Ctrl+C",
                                             "Select &All|Ctrl+A", "-", "Copy &Plot|"}));
    EXPECT_EQ(Frame().Action(cmd::kEditCopy)->statusTip(),
              "Copy the selection and put it on the Clipboard");
    EXPECT_EQ(Frame().Action(cmd::kEditCopy)->toolTip(), "Copy");
    EXPECT_EQ(Frame().Action(cmd::kCopyPlot)->statusTip(),
              "Copy the plot to the Clipboard as a picture");
    // Nothing to copy in an empty listing; Copy Plot only in a plot window.
    EXPECT_FALSE(Enabled(cmd::kEditCopy));
    EXPECT_FALSE(Enabled(cmd::kEditSelectAll));
    EXPECT_FALSE(Enabled(cmd::kCopyPlot));

    // Without a document: Copy and Select All stay, greyed.
    ActiveListing()->GetDocument().SetModifiedFlag(false);
    Frame().MdiArea()->closeAllSubWindows();
    Settle();
    ASSERT_EQ(WindowCount(), 0);
    Frame().UpdateCommandUI();
    titles.clear();
    for (const QAction* a : Frame().menuBar()->actions())
        if (a->isVisible())
            titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "&Help"}));
    EXPECT_EQ(MenuTexts(*edit), (QStringList{"&Undo|Ctrl+Z", "&Redo|Ctrl+Y", "-", "&Copy|Ctrl+C",
                                             "Select &All|Ctrl+A"}));
    EXPECT_FALSE(Enabled(cmd::kEditCopy));
}

TEST_F(Clipboard, CopyGivesTheSelectedLinesOrTheWholeReportByteForByte) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    CLumetraView* view = ActiveListing();
    const std::vector<std::string>& lines = view->GetDocument().m_pReportLines;
    ASSERT_GT(lines.size(), 20u);
    ASSERT_TRUE(Enabled(cmd::kEditCopy));

    // Nothing selected: the whole report, as lumetra-cli report prints it.
    view->List()->clearSelection();
    ASSERT_TRUE(Frame().RouteCommand(cmd::kEditCopy));
    EXPECT_EQ(ClipboardText(), ReportText(lines));

    // A range with Shift, and one more line with Ctrl: in report order, TABs kept.
    QItemSelectionModel* s = view->List()->selectionModel();
    s->select(
        QItemSelection(view->List()->model()->index(16, 0), view->List()->model()->index(18, 0)),
        QItemSelectionModel::ClearAndSelect);
    s->select(view->List()->model()->index(2, 0), QItemSelectionModel::Select);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kEditCopy));
    const std::string expected =
        lines[2] + "\n" + lines[16] + "\n" + lines[17] + "\n" + lines[18] + "\n";
    EXPECT_EQ(ClipboardText(), expected);
    EXPECT_NE(expected.find('\t'), std::string::npos);
}

TEST_F(Clipboard, SelectAllTakesEveryLineOfEveryDisplayPage) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}, 10));
    CLumetraView* view = ActiveListing();
    const std::vector<std::string>& lines = view->GetDocument().m_pReportLines;
    ASSERT_GT(lines.size(), 30u);
    ASSERT_EQ(view->List()->model()->rowCount(), 10);
    ASSERT_TRUE(Frame().RouteCommand(cmd::kEditSelectAll));
    EXPECT_EQ(view->List()->selectionModel()->selectedIndexes().size(), 10);
    Frame().RouteCommand(cmd::kEditCopy);
    EXPECT_EQ(ClipboardText(), ReportText(lines));
    // Still all of it on the next page, selected there too.
    Frame().RouteCommand(cmd::kNextPage);
    Settle();
    QGuiApplication::clipboard()->clear();
    Frame().RouteCommand(cmd::kEditCopy);
    EXPECT_EQ(ClipboardText(), ReportText(lines));
    // A line chosen by hand ends it.
    view->List()->selectionModel()->select(view->List()->model()->index(3, 0),
                                           QItemSelectionModel::ClearAndSelect);
    Frame().RouteCommand(cmd::kEditCopy);
    EXPECT_EQ(ClipboardText(), lines[13] + "\n");
}

TEST_F(Clipboard, CopyPlotPutsAPictureAndSvgAtTheWindowsZoom) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    ASSERT_TRUE(Frame().RouteCommand(cmd::kNewPlotWindow));
    Settle();
    auto* plot = dynamic_cast<CPlotView*>(Frame().ActiveView());
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(Enabled(cmd::kCopyPlot));
    EXPECT_TRUE(Enabled(cmd::kEditCopy));
    EXPECT_FALSE(Enabled(cmd::kEditSelectAll));
    EXPECT_TRUE(Enabled(cmd::kExportTable)); // the document's report, from its plot window too
    QGuiApplication::clipboard()->clear();
    ASSERT_TRUE(Frame().RouteCommand(cmd::kCopyPlot));
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    ASSERT_TRUE(mime->hasImage());
    const QImage half = qvariant_cast<QImage>(mime->imageData());
    EXPECT_EQ(half.size(), QSize(5750 * 96 / 1000, 3750 * 96 / 1000));
    // Red markers and a green curve on white: the plot itself, not a blank picture.
    bool red = false, green = false;
    for (int y = 0; y < half.height(); ++y)
        for (int x = 0; x < half.width(); ++x) {
            const QRgb c = half.pixel(x, y);
            red = red || c == qRgb(255, 0, 0);
            green = green || c == qRgb(0, 255, 0);
        }
    EXPECT_TRUE(red);
    EXPECT_TRUE(green);
    ASSERT_TRUE(mime->hasFormat("image/svg+xml"));
    const QByteArray svg = mime->data("image/svg+xml");
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("</svg>"));

    Frame().RouteCommand(cmd::kZoomPlot);
    Frame().RouteCommand(cmd::kEditCopy); // Copy in a plot window copies the plot
    const QImage full =
        qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
    EXPECT_EQ(full.size(), QSize(11500 * 96 / 1000, 7500 * 96 / 1000));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Clipboard, CopyPlotOfAPlotThatCannotBeDrawnSaysWhyAndCopiesNothing) {
    const std::string flat = dir.Write("flat.dat", "@T\r\nX\r\nY\r\n0\r\n1\r\n0.000000 0.000000\r\n"
                                                   "0.000000 0.000000\r\n5 5 1 1\r\n1.0\r\n1.0\r\n"
                                                   "1\t2\t2\t0\r\n2\t2\t2\t0\r\n");
    ASSERT_TRUE(Start({QString::fromStdString(flat)}));
    Frame().RouteCommand(cmd::kNewPlotWindow);
    Settle();
    ui.messages.clear();
    QGuiApplication::clipboard()->setText("before");
    Frame().RouteCommand(cmd::kCopyPlot);
    Settle();
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages[0].text,
              "Maximum value for Y equals Minimum!\nCan't plot if no range in Y!");
    EXPECT_EQ(ClipboardText(), "before");
}

TEST_F(Clipboard, ContextMenusOfferTheEditCommands) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    std::unique_ptr<QMenu> listing(
        MakeCommandMenu(Frame(), ActiveListing()->ContextCommands(), ActiveListing()));
    EXPECT_EQ(MenuTexts(*listing),
              (QStringList{"&Copy|Ctrl+C", "Select &All|Ctrl+A", "-", "Export &Table...|"}));
    for (QAction* a : listing->actions())
        EXPECT_TRUE(a->isSeparator() || a->isEnabled()) << a->text().toStdString();
    // The entries are the menu bar's: choosing one runs the command.
    listing->actions()[1]->trigger();
    EXPECT_EQ(ActiveListing()->List()->selectionModel()->selectedIndexes().size(),
              ActiveListing()->List()->model()->rowCount());

    Frame().RouteCommand(cmd::kNewPlotWindow);
    Settle();
    std::unique_ptr<QMenu> plot(MakeCommandMenu(Frame(), Frame().ActiveView()->ContextCommands(),
                                                Frame().ActiveView()->Widget()));
    EXPECT_EQ(MenuTexts(*plot), (QStringList{"Copy &Plot|", "-", "Export Plot...|"}));
    EXPECT_TRUE(plot->actions()[0]->isEnabled());
}

// A right click as the toolkit delivers it, to the widget under the pointer; the texts of the
// menu that opens (closed again at once), or nothing when none opens.
QStringList RightClick(QWidget* target, QPoint at) {
    QStringList shown;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            shown = MenuTexts(*menu);
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QCoreApplication::sendEvent(target, &event);
    test::AppFixture::Settle();
    return shown;
}

TEST_F(Clipboard, ARightClickInAWindowOpensItsMenu) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    QWidget* list = ActiveListing()->List()->viewport();
    EXPECT_EQ(RightClick(list, {40, 20}),
              (QStringList{"&Copy|Ctrl+C", "Select &All|Ctrl+A", "-", "Export &Table...|"}));
    Frame().RouteCommand(cmd::kNewPlotWindow);
    Settle();
    auto* plot = dynamic_cast<CPlotView*>(Frame().ActiveView());
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(RightClick(plot->viewport(), {60, 60}),
              (QStringList{"Copy &Plot|", "-", "Export Plot...|"}));
    // The listing's window comes to the front with its menu (clicked left of the plot window,
    // which opened a step down and right of it).
    EXPECT_EQ(RightClick(list, {5, 20}).size(), 4);
    EXPECT_EQ(Frame().ActiveView(), ActiveListing());
}

TEST_F(Clipboard, ExportTableWritesCsvOrTheReportTextByTheSuffix) {
    ASSERT_TRUE(Start({LUMETRA_SOURCE_DIR "/samples/pontius.dat"}));
    const CLumetraDoc& doc = ActiveListing()->GetDocument();
    ASSERT_TRUE(Enabled(cmd::kExportTable));
    const std::string csv = dir.Path("table.csv"), txt = dir.Path("report.txt");
    ui.fileChoices.push_back({true, csv});
    ui.fileChoices.push_back({true, txt});
    ui.fileChoices.push_back({true, dir.Path("table.ods")});
    Frame().RouteCommand(cmd::kExportTable);
    Frame().RouteCommand(cmd::kExportTable);
    ASSERT_EQ(ui.fileRequests.size(), 2u);
    EXPECT_EQ(ui.fileRequests[0].title, "Export Table");
    EXPECT_TRUE(ui.fileRequests[0].saving);
    EXPECT_EQ(ui.fileRequests[0].defaultSuffix, "csv");
    EXPECT_TRUE(ui.messages.empty());
    const std::string table = test::TempDir::Read(csv);
    EXPECT_EQ(size_t(std::count(table.begin(), table.end(), '\n')), doc.m_pPairs.size() + 1);
    EXPECT_EQ(test::TempDir::Read(csv).rfind("Load,Deflection,Computed Value,Difference\r\n"
                                             "150000,0.11019,0.110411,-0.000221321\r\n",
                                             0),
              0u);
    EXPECT_EQ(test::TempDir::Read(txt), ReportText(doc.m_pReportLines));
    Frame().RouteCommand(cmd::kExportTable);
    EXPECT_EQ(ui.OnlyMessage(), TableSuffixMessage(dir.Path("table.ods")));
}

} // namespace
} // namespace lumetra
