#include "report/ListingView.h"

#include "data/LumetraDoc.h"
#include "framework/AppHost.h"
#include "framework/CommandIds.h"
#include "framework/HelpContexts.h"
#include "platform/BusyScope.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"
#include "report/DisplayPage.h"
#include "report/GoToPageDlg.h"
#include "report/ListingPrint.h"
#include "report/PrintToFile.h"
#include "report/ReportItemDelegate.h"
#include "report/ReportPageModel.h"
#include "report/ReportPrinting.h"
#include "report/ReportText.h"
#include "report/TableFile.h"

#include <QFontMetrics>
#include <QListView>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace lumetra {

CLumetraView::CLumetraView(CAppHost& app, CLumetraDoc& doc)
    : CDocumentView(app, doc, *this, help::kListingWindow), m_engine(doc),
      m_report(doc, app.LinesPerDisplayPage(), this), m_listReport(new QListView(this)),
      m_model(new ReportPageModel(doc.m_pReportLines, this)) {
    QFont font("Courier New");
    font.setPointSize(8);
    font.setStyleHint(QFont::TypeWriter);
    m_listReport->setFont(font);
    // The font is measured once: every item has the same height.
    const QFontMetrics metrics(font);
    m_nItemHeight = metrics.height() + metrics.leading() + 3;
    m_nCharWidth = metrics.averageCharWidth();
    m_bMeasureFont = 0;
    m_delegate = new ReportItemDelegate(m_nItemHeight, m_nCharWidth, this);
    m_listReport->setModel(m_model);
    m_listReport->setItemDelegate(m_delegate);
    m_listReport->setUniformItemSizes(true);
    // Lines are selected to be copied: a range with Shift, single lines with Ctrl.
    m_listReport->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(m_listReport->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_bSelecting)
            m_bAllSelected = false;
    });
    m_listReport->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_listReport->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_listReport->setFrameShape(QFrame::StyledPanel);
    m_listReport->setFrameShadow(QFrame::Sunken);
    m_listReport->setGeometry(0, 2, 372, 148); // where the form puts it until the first drawing
    m_askPage = [this](int current) -> std::optional<int> {
        CGoToPageDlg dialog(m_app.GetUi(), this);
        dialog.m_nPage = current;
        if (!dialog.Run())
            return std::nullopt;
        return dialog.m_nPage;
    };
    RegisterCommands();
}

void CLumetraView::RegisterCommands() {
    Handle(cmd::kNextPage, [this] { OnNextDisplayPage(); });
    Handle(cmd::kPrevPage, [this] { OnPrevDisplayPage(); });
    Handle(cmd::kGoToPage, [this] { OnGoToDisplayPage(); });
    // The enabling of Print is where the page texts follow the active listing.
    Handle(cmd::kFilePrint, [this] { OnFilePrint(false); }).OnUpdate([this] { ShowPageStatus(); });
    Handle(cmd::kFilePrintDirect, [this] { OnFilePrint(true); });
    Handle(cmd::kPrintPreview, [this] { OnFilePrintPreview(); });
    Handle(cmd::kEditSelectAll, [this] { OnSelectAll(); });
    Handle(cmd::kExportTable, [this] { OnExportTable(); });
    const ReportBuilder& r = m_report;
    Answer(EnableRule::NextPage,
           [&r] { return r.m_nDisplayPages > 1 && r.m_nCurPage < r.m_nDisplayPages; });
    Answer(EnableRule::PrevPage, [&r] { return r.m_nDisplayPages > 1 && r.m_nCurPage > 1; });
    Answer(EnableRule::SeveralPages, [&r] { return r.m_nDisplayPages > 1; });
}

CLumetraView::~CLumetraView() = default;

void CLumetraView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The first drawing starts the work; queued, so no dialog opens inside a paint.
    if (!m_bStarted)
        QTimer::singleShot(0, this, &CLumetraView::OnDraw);
}

void CLumetraView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_bStarted)
        FitListToView();
}

void CLumetraView::OnDraw() {
    if (m_doc.m_bClosing || m_report.m_bBuilding || m_bStarted)
        return;
    m_bStarted = 1;
    if (m_doc.m_nPairs < 1) {
        StartNewOrOpen();
        return;
    }
    FitListToView();
    BuildReport();
}

void CLumetraView::StartNewOrOpen() {
    FitListToView();
    if (!m_strStartImport.empty()) {
        m_app.RunOptionsData(*this, m_strStartImport);
        return;
    }
    const std::string path = m_doc.m_bHasFile ? m_doc.m_strFileName : m_doc.PromptForDataFile();
    if (path.empty()) {
        OnOptionsData();
        return;
    }
    if (!m_doc.OnOpenDocument(path)) {
        m_doc.m_strFileName = kUnNamedFile;
        OnOptionsData();
        return;
    }
    m_app.NoteFileUsed(path);
    BuildReport();
}

void CLumetraView::BuildReport() {
    m_report.BuildReport();
    FlushShownLines();
    // Every other listing window of the document refers to the lines just rebuilt.
    m_app.UpdateAllViews(m_doc, this, kHintReportRebuilt);
}

void CLumetraView::OnUpdate(CView*, int hint) {
    if (hint == kHintRefit) {
        // The window that fits rebuilds the report and tells the others with hint 2.
        if (!m_app.ClaimRefit(m_doc))
            return;
        m_engine.RefitDocument();
        BuildReport();
    } else if (hint == kHintReportRebuilt) {
        m_report.m_nDisplayPages =
            DisplayPageCount(m_doc.m_nLineCount, m_report.m_nLinesPerDisplayPage);
        m_report.m_nCurPage = ClampDisplayPage(m_report.m_nCurPage, m_report.m_nDisplayPages);
        const PageRange r = DisplayPageRange(m_report.m_nCurPage, m_report.m_nLinesPerDisplayPage,
                                             m_doc.m_nLineCount);
        BuildDisplayPage(r.first, r.last);
    }
}

void CLumetraView::OnLineShown(int) {
    // Builds show the lines of page 1 in order, into a list emptied before.
    ++m_nPendingRows;
    // Shown in batches: at the next pump of the build, or when it ends.
    if (m_nPendingRows == 1)
        QTimer::singleShot(0, this, &CLumetraView::FlushShownLines);
}

void CLumetraView::FlushShownLines() {
    const int rows = m_nPendingRows;
    m_nPendingRows = 0;
    m_model->Append(rows);
}

void CLumetraView::OnShownListEmptied() {
    m_nPendingRows = 0;
    m_bAllSelected = false;
    m_model->Reset(0);
}

void CLumetraView::OnHorizontalExtent(int chars) {
    m_delegate->SetExtentChars(chars);
    m_listReport->doItemsLayout();
}

void CLumetraView::SelectLine(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row);
    if (m_bAllSelected) // the line is framed among the others, all still selected
        m_listReport->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    else
        m_listReport->setCurrentIndex(index);
    m_listReport->scrollTo(index);
}

void CLumetraView::BuildDisplayPage(int first, int last) {
    BusyScope building(m_app.GetUi(), &m_report.m_bBuilding);
    m_report.ShowBuildProgress(m_doc.m_strFileName, 0);
    m_nPendingRows = 0;
    m_model->Reset(first);
    int shown = first;
    for (const PageStep& step : DisplayPageSteps(first, last)) {
        if (m_doc.m_bClosing)
            break;
        m_model->Append(step.after + 1 - shown);
        shown = step.after + 1;
        m_report.ShowBuildProgress(m_doc.m_strFileName, step.percent);
    }
    if (m_doc.m_bClosing) {
        building.KeepFlagUp(); // the closing document's page is left as it is
        return;
    }
    m_model->Append(last - shown);
    m_report.ShowBuildProgress(m_doc.m_strFileName, 110);
    building.End();
    if (m_bAllSelected)
        SelectShownLines();
}

void CLumetraView::SelectShownLines() {
    m_bSelecting = true;
    m_listReport->selectAll();
    m_bSelecting = false;
}

void CLumetraView::OnSelectAll() {
    m_bAllSelected = true;
    SelectShownLines();
}

bool CLumetraView::CanCopyText() const {
    return m_doc.m_nLineCount > 0;
}

std::string CLumetraView::CopyText() const {
    const QModelIndexList selected = m_listReport->selectionModel()->selectedIndexes();
    if (m_bAllSelected || selected.isEmpty())
        return ReportText(m_doc.m_pReportLines);
    std::vector<int> lines;
    for (const QModelIndex& index : selected)
        lines.push_back(m_model->First() + index.row());
    std::sort(lines.begin(), lines.end());
    return ReportLinesText(m_doc.m_pReportLines, lines);
}

std::vector<int> CLumetraView::ContextCommands() const {
    return {cmd::kEditCopy, cmd::kEditSelectAll, 0, cmd::kExportTable};
}

void CLumetraView::OnExportTable() {
    AskAndExportTable(m_doc, m_app.GetUi(), m_app.Settings());
}

void CLumetraView::ShowPageStatus() {
    Ui& ui = m_app.GetUi();
    ui.SetStatusText(1, PageLinesText(m_report.m_nCurPage, m_report.m_nDisplayPages,
                                      m_report.m_nLinesPerDisplayPage, m_doc.m_nLineCount));
    ui.SetStatusText(2, PageNumberText(m_report.m_nCurPage, m_report.m_nDisplayPages));
}

void CLumetraView::FitListToView() {
    const int inset = m_doc.m_nBorder; // three times a one-pixel border
    m_listReport->setGeometry(rect().adjusted(inset, inset, -inset, -inset));
    m_delegate->SetExtentChars(m_doc.m_nMaxLineLen + 5);
    m_listReport->doItemsLayout();
    m_listReport->viewport()->update();
}

void CLumetraView::OnNextDisplayPage() {
    const BusyScope wait(m_app.GetUi());
    m_report.m_nCurPage += 1;
    const PageRange r =
        DisplayPageRange(m_report.m_nCurPage, m_report.m_nLinesPerDisplayPage, m_doc.m_nLineCount);
    BuildDisplayPage(r.first, r.last);
    update();
    SelectLine(0);
}

void CLumetraView::OnPrevDisplayPage() {
    const BusyScope wait(m_app.GetUi());
    m_report.m_nCurPage -= 1;
    const int P = m_report.m_nLinesPerDisplayPage;
    BuildDisplayPage((m_report.m_nCurPage - 1) * P, m_report.m_nCurPage * P);
    update();
    SelectLine(P - 1);
}

void CLumetraView::OnGoToDisplayPage() {
    const BusyScope wait(m_app.GetUi());
    const std::optional<int> asked = m_askPage(m_report.m_nCurPage);
    if (!asked)
        return;
    m_report.m_nCurPage = ClampDisplayPage(*asked, m_report.m_nDisplayPages);
    const PageRange r =
        DisplayPageRange(m_report.m_nCurPage, m_report.m_nLinesPerDisplayPage, m_doc.m_nLineCount);
    BuildDisplayPage(r.first, r.last);
    update();
    SelectLine(m_report.m_nLinesPerDisplayPage - 1);
}

bool CLumetraView::OnPreparePrinting() {
    return PreparePrinting(m_doc) > 0;
}

bool CLumetraView::OnFilePrint(bool direct) {
    if (!OnPreparePrinting())
        return false;
    QPrinter& printer = m_app.Printer();
    if (direct) {
        printer.setPrintRange(QPrinter::AllPages);
        if (!PrinterAvailable(printer)) {
            m_app.GetUi().MessageBox(NoPrinterMessage(m_doc.m_strFileName));
            return false;
        }
    } else {
        QPrintDialog dialog(&printer, this);
        dialog.setMinMax(1, m_doc.m_nPageCount);
        if (m_app.RunDialog(dialog) != QDialog::Accepted)
            return false;
    }
    const BusyScope wait(m_app.GetUi());
    return PrintSafely(printer, m_app.GetUi(), PrintFailedMessage(m_doc.m_strFileName),
                       [this](QPrinter& target) { return PrintReport(m_doc, target); });
}

namespace {

QPrintPreviewWidget::ViewMode PreviewMode(int pages) {
    return pages == 0   ? QPrintPreviewWidget::AllPagesView
           : pages == 2 ? QPrintPreviewWidget::FacingPagesView
                        : QPrintPreviewWidget::SinglePageView;
}

int PreviewPages(QPrintPreviewWidget::ViewMode mode) {
    return mode == QPrintPreviewWidget::AllPagesView      ? 0
           : mode == QPrintPreviewWidget::FacingPagesView ? 2
                                                          : 1;
}

} // namespace

void CLumetraView::OnFilePrintPreview() {
    if (!OnPreparePrinting())
        return;
    QPrinter& printer = m_app.Printer();
    printer.setPrintRange(QPrinter::AllPages);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle("Lumetra");
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { PrintReport(m_doc, *target); });
    SettingsStore& settings = m_app.Settings();
    auto* pages = preview.findChild<QPrintPreviewWidget*>();
    if (pages)
        pages->setViewMode(
            PreviewMode(ReadPreviewPages(settings.GetString("Settings", "PreviewPages", "1"))));
    m_app.RunDialog(preview);
    if (pages)
        settings.SetString("Settings", "PreviewPages",
                           std::to_string(PreviewPages(pages->viewMode())));
}

} // namespace lumetra
