#pragma once

#include "framework/DocumentView.h"
#include "plot/PlotOptions.h"

#include <QAbstractScrollArea>

class QPrinter;

namespace lumetra {

// The plot window: points and fitted curve of its document at 50 % or 100 %, scrolled over a
// page-like drawing, or scaled to fit the window. It never fits; it shows the document's
// coefficients and extremes.
class CPlotView : public QAbstractScrollArea, public CDocumentView {
    Q_OBJECT
public:
    CPlotView(CAppHost& app, CLumetraDoc& doc);

    void OnUpdate(CView* sender, int hint) override;
    void OnInitialUpdate() override;
    std::vector<int> ContextCommands() const override;
    const char* ViewName() const override { return "Plot"; }

    void OnZoomPlot();
    // Options > Confidence Band, Prediction Band, Residual Plot, Log X Axis, Log Y Axis and
    // Readable Axes: switched and remembered.
    void OnTogglePlotOption(int id);
    // Options > Log Axes for Log Models: remembered for new plots, and applied to this one.
    void OnLogAxesForLogModels();
    // Options > Fit to Window: the drawing scaled to the window, following its size.
    void OnFitToWindow();
    // Edit > Copy Plot: the plot at its present zoom on the clipboard, as a picture and as SVG.
    void OnCopyPlot();
    // File > Export Plot...: the plot as the window shows it into a picture file.
    void OnExportPlot();
    // File > Print (with the print dialog, unless direct) and Print Preview: the plot on one
    // page, landscape.
    bool OnFilePrint(bool direct);
    void OnFilePrintPreview();

    int m_bFullSize = 0;
    int m_nZoomDiv = 1;
    int m_bFitToWindow = 0;
    PlotOptions m_options;
    // The drawing's size in logical units (1/1000 inch) at the present zoom.
    QSize LogicalSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetScrollSizes();
    void ShowPendingMessage();
    // A new data set or new options: a refusal is said once more.
    void Redraw();
    bool PrintPlot(QPrinter& printer) const;
    // The option that a plot option's command switches.
    bool& PlotOption(int id);
    std::string m_strPendingMessage;
    bool m_bMessageShowing = false;
    bool m_bRefusalSaid = false;
};

} // namespace lumetra
