#pragma once

#include "framework/View.h"
#include "plot/PlotBands.h"

#include <QAbstractScrollArea>

namespace lumetra {

class CAppHost;

// The plot window: points and fitted curve of its document at 50 % or 100 %, scrolled over a
// page-like drawing. It never fits; it shows the document's coefficients and extremes.
class CPlotView : public QAbstractScrollArea, public CView {
    Q_OBJECT
public:
    CPlotView(CAppHost& app, CLumetraDoc& doc);

    CLumetraDoc& GetDocument() const override { return m_doc; }
    void OnUpdate(CView* sender, int hint) override;
    void OnInitialUpdate() override;
    QWidget* Widget() override { return this; }
    bool OnCommand(int id) override;
    std::optional<CommandState> OnUpdateCommand(int id) override;
    int HelpContext() const override;
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

    CAppHost& m_app;
    CLumetraDoc& m_doc;
    std::string m_strPendingMessage;
    bool m_bMessageShowing = false;
};

} // namespace lumetra
