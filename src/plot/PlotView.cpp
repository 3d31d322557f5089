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
#include "report/TableFile.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

namespace lumetra {
CPlotView::CPlotView(CAppHost& app, CLumetraDoc& doc)
    : CDocumentView(app, doc, *this, help::kPlotWindow),
      m_options(LoadPlotOptions(app.Settings())) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    QPalette white = viewport()->palette();
    white.setColor(QPalette::Base, Qt::white);
    viewport()->setPalette(white);
    Handle(cmd::kZoomPlot, [this] { OnZoomPlot(); });
    Handle(cmd::kExportPlot, [this] { OnExportPlot(); });
    for (int id : {cmd::kConfidenceBand, cmd::kPredictionBand, cmd::kResidualPlot})
        Handle(id, [this, id] { OnTogglePlotOption(id); }).Checked([this, id] {
            return PlotOption(id);
        });
    Handle(cmd::kCopyPlot, [this] { OnCopyPlot(); });
    // Edit > Copy in a plot copies the plot, whatever is selected.
    Handle(cmd::kEditCopy, [this] { OnCopyPlot(); }).EnabledBy(EnableRule::Always);
    Handle(cmd::kExportTable,
           [this] { AskAndExportTable(m_doc, m_app.GetUi(), m_app.Settings()); });
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
    const QSize logical = LogicalSize();
    const int w = int(logical.width() * logicalDpiX() / 1000.0);
    const int h = int(logical.height() * logicalDpiY() / 1000.0);
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
    PainterSurface surface(painter, logicalDpiX(), logicalDpiY(),
                           {horizontalScrollBar()->value(), verticalScrollBar()->value()});
    // A message box cannot open inside a paint: the refusal is shown after it.
    const std::optional<std::string> refusal =
        PaintPlot(m_doc, surface, m_bFullSize != 0, m_options);
    if (refusal && !m_bMessageShowing) {
        m_strPendingMessage = *refusal;
        m_bMessageShowing = true; // one box at a time, however often the window repaints
        QTimer::singleShot(0, this, &CPlotView::ShowPendingMessage);
    }
}

void CPlotView::ShowPendingMessage() {
    m_app.GetUi().MessageBox(m_strPendingMessage);
    m_bMessageShowing = false;
}

void CPlotView::OnUpdate(CView*, int hint) {
    if (hint == kHintRefit)
        viewport()->update();
}

void CPlotView::OnZoomPlot() {
    m_bFullSize = !m_bFullSize;
    m_nZoomDiv = m_bFullSize ? 1 : 2;
    SetScrollSizes();
    viewport()->update();
}

bool& CPlotView::PlotOption(int id) {
    return id == cmd::kConfidenceBand   ? m_options.confidenceBand
           : id == cmd::kPredictionBand ? m_options.predictionBand
                                        : m_options.residuals;
}

void CPlotView::OnTogglePlotOption(int id) {
    bool& option = PlotOption(id);
    option = !option;
    SavePlotOptions(m_app.Settings(), m_options);
    viewport()->update();
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
    ExportPlot(m_doc, m_bFullSize != 0, choice.path, ui, m_options);
}

void CPlotView::OnCopyPlot() {
    Ui& ui = m_app.GetUi();
    const BusyScope wait(ui);
    std::optional<PlotPictures> pictures = DrawPlotPictures(m_doc, m_bFullSize != 0, ui, m_options);
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
