#pragma once

#include "framework/DocumentView.h"
#include "plot/PlotBands.h"

#include <QAbstractScrollArea>

namespace lumetra {

// The plot window: points and fitted curve of its document at 50 % or 100 %, scrolled over a
// page-like drawing. It never fits; it shows the document's coefficients and extremes.
class CPlotView : public QAbstractScrollArea, public CDocumentView {
    Q_OBJECT
public:
    CPlotView(CAppHost& app, CLumetraDoc& doc);

    void OnUpdate(CView* sender, int hint) override;
    void OnInitialUpdate() override;
    std::vector<int> ContextCommands() const override;

    void OnZoomPlot();
    // Options > Confidence Band, Prediction Band, Residual Plot: switched and remembered.
    void OnTogglePlotOption(int id);
    // Edit > Copy Plot: the plot at its present zoom on the clipboard, as a picture and as SVG.
    void OnCopyPlot();

    // File > Export Plot...: the plot at its present zoom into a picture file.
    void OnExportPlot();

    int m_bFullSize = 0;
    int m_nZoomDiv = 1;
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
    // The option that a Confidence Band, Prediction Band or Residual Plot command switches.
    bool& PlotOption(int id);
    std::string m_strPendingMessage;
    bool m_bMessageShowing = false;
};

} // namespace lumetra
