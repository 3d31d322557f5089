#include "plot/PlotView.h"

#include "data/LumetraDoc.h"
#include "framework/AppHost.h"
#include "framework/CommandIds.h"
#include "framework/HelpContexts.h"
#include "platform/BusyScope.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"
#include "plot/PainterSurface.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotExport.h"
#include "plot/PlotFile.h"
#include "report/PrintJob.h"
#include "report/TableFile.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QTimer>

namespace lumetra {
CPlotView::CPlotView(CAppHost& app, CLumetraDoc& doc)
    : CDocumentView(app, doc, *this, help::kPlotWindow),
      m_bFitToWindow(ReadPlotFlag(app.Settings(), kFitToWindowEntry)),
      m_options(NewPlotOptions(app.Settings(), doc.m_nCurveType)) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    QPalette white = viewport()->palette();
    white.setColor(QPalette::Base, Qt::white);
    viewport()->setPalette(white);
    Handle(cmd::kZoomPlot, [this] { OnZoomPlot(); });
    Handle(cmd::kExportPlot, [this] { OnExportPlot(); });
    for (int id : {cmd::kConfidenceBand, cmd::kPredictionBand, cmd::kResidualPlot, cmd::kLogXAxis,
                   cmd::kLogYAxis, cmd::kReadableAxes})
        Handle(id, [this, id] { OnTogglePlotOption(id); }).Checked([this, id] {
            return PlotOption(id);
        });
    Handle(cmd::kLogAxesForLogModels, [this] { OnLogAxesForLogModels(); }).Checked([this] {
        return ReadPlotFlag(m_app.Settings(), kLogForLogModelsEntry);
    });
    Handle(cmd::kFitToWindow, [this] { OnFitToWindow(); }).Checked([this] {
        return m_bFitToWindow != 0;
    });
    Handle(cmd::kCopyPlot, [this] { OnCopyPlot(); });
    // Edit > Copy in a plot copies the plot, whatever is selected.
    Handle(cmd::kEditCopy, [this] { OnCopyPlot(); }).EnabledBy(EnableRule::Always);
    Handle(cmd::kExportTable,
           [this] { AskAndExportTable(m_doc, m_app.GetUi(), m_app.Settings()); });
    // A plot prints as soon as it has pairs to show, report or not.
    Handle(cmd::kFilePrint, [this] { OnFilePrint(false); }).EnabledBy(EnableRule::HavePairs);
    Handle(cmd::kFilePrintDirect, [this] { OnFilePrint(true); }).EnabledBy(EnableRule::HavePairs);
    Handle(cmd::kPrintPreview, [this] { OnFilePrintPreview(); }).EnabledBy(EnableRule::HavePairs);
    Answer(EnableRule::HavePairs, [this] { return m_doc.m_nPairs > 0; });
    // The plot computes from the curve it shows, report or not.
    Handler(cmd::kOptionsCompute).EnabledBy(EnableRule::Always);
}

void CPlotView::OnInitialUpdate() {
    m_nZoomDiv = m_bFullSize ? 1 : 2; // a new plot window opens at 50 %
    SetScrollSizes();
}

QSize CPlotView::LogicalSize() const {
    const PlotLayout layout(m_nZoomDiv);
    return {layout.ScrollWidth(), layout.ScrollHeight()};
}

void CPlotView::SetScrollSizes() {
    // Fitted to the window, the whole drawing is in sight: nothing to scroll.
    const Qt::ScrollBarPolicy bars =
        m_bFitToWindow ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    setHorizontalScrollBarPolicy(bars);
    setVerticalScrollBarPolicy(bars);
    const QSize logical = LogicalSize();
    const int w = m_bFitToWindow ? 0 : int(logical.width() * logicalDpiX() / 1000.0);
    const int h = m_bFitToWindow ? 0 : int(logical.height() * logicalDpiY() / 1000.0);
    const QSize page = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, w - page.width()));
    verticalScrollBar()->setRange(0, std::max(0, h - page.height()));
    // A page is a tenth of the drawing, a line a tenth of a page.
    horizontalScrollBar()->setPageStep(std::max(1, w / 10));
    verticalScrollBar()->setPageStep(std::max(1, h / 10));
    horizontalScrollBar()->setSingleStep(std::max(1, w / 100));
    verticalScrollBar()->setSingleStep(std::max(1, h / 100));
}

void CPlotView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    SetScrollSizes();
}

void CPlotView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    std::optional<std::string> refusal;
    if (m_bFitToWindow) {
        refusal = PaintPlotInto(painter, viewport()->rect(), m_doc, m_options);
    } else {
        PainterSurface surface(painter, logicalDpiX(), logicalDpiY(),
                               {horizontalScrollBar()->value(), verticalScrollBar()->value()});
        refusal = PaintPlot(m_doc, surface, m_bFullSize != 0, m_options);
        if (refusal)
            PaintPlotRefusal(surface, m_bFullSize != 0, *refusal);
    }
    // Said once for each data set and choice of options; the window keeps showing why. A
    // message box cannot open inside a paint: it is shown after it.
    if (refusal && !m_bRefusalSaid && !m_bMessageShowing) {
        m_bRefusalSaid = true;
        m_strPendingMessage = *refusal;
        m_bMessageShowing = true;
        QTimer::singleShot(0, this, &CPlotView::ShowPendingMessage);
    }
}

void CPlotView::Redraw() {
    m_bRefusalSaid = false;
    viewport()->update();
}

void CPlotView::ShowPendingMessage() {
    m_app.GetUi().MessageBox(m_strPendingMessage);
    m_bMessageShowing = false;
}

void CPlotView::OnUpdate(CView*, int hint) {
    if (hint == kHintRefit)
        Redraw();
}

void CPlotView::OnZoomPlot() {
    // Fitted to the window, Zoom goes back to the zoom the window had.
    if (m_bFitToWindow)
        OnFitToWindow();
    else
        m_bFullSize = !m_bFullSize;
    m_nZoomDiv = m_bFullSize ? 1 : 2;
    SetScrollSizes();
    viewport()->update();
}

void CPlotView::OnFitToWindow() {
    m_bFitToWindow = !m_bFitToWindow;
    WritePlotFlag(m_app.Settings(), kFitToWindowEntry, m_bFitToWindow != 0);
    SetScrollSizes();
    viewport()->update();
}

bool& CPlotView::PlotOption(int id) {
    switch (id) {
    case cmd::kConfidenceBand:
        return m_options.confidenceBand;
    case cmd::kPredictionBand:
        return m_options.predictionBand;
    case cmd::kLogXAxis:
        return m_options.logX;
    case cmd::kLogYAxis:
        return m_options.logY;
    case cmd::kReadableAxes:
        return m_options.readable;
    default:
        return m_options.residuals;
    }
}

void CPlotView::OnTogglePlotOption(int id) {
    bool& option = PlotOption(id);
    option = !option;
    SavePlotOptions(m_app.Settings(), m_options);
    Redraw();
}

void CPlotView::OnLogAxesForLogModels() {
    SettingsStore& settings = m_app.Settings();
    const bool on = !ReadPlotFlag(settings, kLogForLogModelsEntry);
    WritePlotFlag(settings, kLogForLogModelsEntry, on);
    if (!on)
        return;
    // This plot takes its model's log axes too, as a new one would; the other options stay.
    const PlotOptions asNew = NewPlotOptions(settings, m_doc.m_nCurveType);
    m_options.logX = asNew.logX;
    m_options.logY = asNew.logY;
    Redraw();
}

bool CPlotView::PrintPlot(QPrinter& printer) const {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    PaintPlotInto(painter, QRect(QPoint(0, 0), page.size()), m_doc, m_options);
    return painter.end();
}

bool CPlotView::OnFilePrint(bool direct) {
    // The drawing is wider than high: landscape, for this plot only.
    QPrinter& printer = m_app.Printer();
    const QPageLayout::Orientation before = printer.pageLayout().orientation();
    printer.setPageOrientation(QPageLayout::Landscape);
    const bool printed = RunPrint(m_app, this, direct, 1, m_doc.m_strFileName,
                                  [this](QPrinter& target) { return PrintPlot(target); });
    printer.setPageOrientation(before);
    return printed;
}

void CPlotView::OnFilePrintPreview() {
    QPrinter& printer = m_app.Printer();
    const QPageLayout::Orientation before = printer.pageLayout().orientation();
    printer.setPageOrientation(QPageLayout::Landscape);
    RunPrintPreview(m_app, this, [this](QPrinter& target) { return PrintPlot(target); });
    printer.setPageOrientation(before);
}

void CPlotView::OnExportPlot() {
    Ui& ui = m_app.GetUi();
    Ui::FileRequest request;
    request.saving = true;
    request.title = "Export Plot";
    request.filters = {{"PNG Pictures (*.png)", "*.png"},
                       {"SVG Drawings (*.svg)", "*.svg"},
                       {"PDF Documents (*.pdf)", "*.pdf"}};
    // Beside the data file; a new data set starts where files were last opened.
    const std::optional<std::string> folder = DirectoryToRemember(m_doc.GetPathName());
    request.initialDir = folder ? *folder : m_app.Settings().GetString("Preferences", "LastPath");
    request.defaultSuffix = "png";
    const Ui::FileChoice choice = ui.ChooseFile(request);
    if (!choice.accepted || choice.path.empty())
        return;
    const BusyScope wait(ui);
    // As the window shows it; fitted to the window, the drawing at 100 %.
    ExportPlot(m_doc, m_bFullSize || m_bFitToWindow, choice.path, ui, m_options);
}

void CPlotView::OnCopyPlot() {
    Ui& ui = m_app.GetUi();
    const BusyScope wait(ui);
    std::optional<PlotPictures> pictures =
        DrawPlotPictures(m_doc, m_bFullSize || m_bFitToWindow, ui, m_options);
    if (!pictures)
        return;
    auto* mime = new QMimeData;
    mime->setImageData(pictures->image);
    mime->setData("image/svg+xml", pictures->svg);
    QGuiApplication::clipboard()->setMimeData(mime);
}

std::vector<int> CPlotView::ContextCommands() const {
    return {cmd::kCopyPlot, 0, cmd::kExportPlot};
}

void CPlotView::keyPressEvent(QKeyEvent* event) {
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    switch (event->key()) {
    case Qt::Key_PageUp:
        v->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        v->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_End:
        v->triggerAction(QAbstractSlider::SliderToMaximum);
        h->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case Qt::Key_Home:
        v->triggerAction(QAbstractSlider::SliderToMinimum);
        h->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case Qt::Key_Left:
        h->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Up:
        v->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Right:
        h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_Down:
        v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    default:
        break; // other keys do nothing
    }
    event->accept();
}

} // namespace lumetra
