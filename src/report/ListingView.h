#pragma once

#include "fit/FitEngine.h"
#include "framework/DocumentView.h"
#include "report/ReportBuilder.h"

#include <QWidget>

#include <functional>
#include <optional>

class QListView;

namespace lumetra {

class ReportItemDelegate;
class ReportPageModel;

// The listing window: the report of its document, one display page at a time. It owns the fit
// engine's working storage and the report state, and fits on hint 1.
class CLumetraView : public QWidget, public CDocumentView, public ReportListener {
    Q_OBJECT
public:
    CLumetraView(CAppHost& app, CLumetraDoc& doc);
    ~CLumetraView() override;

    // CView
    void OnUpdate(CView* sender, int hint) override;
    bool IsBusy() const override { return m_report.m_bBuilding != 0; }
    bool CanCopyText() const override;
    std::string CopyText() const override;
    std::vector<int> ContextCommands() const override;

    // ReportListener
    void OnLineShown(int index) override;
    void OnShownListEmptied() override;
    void OnHorizontalExtent(int chars) override;

    void OnDraw();
    void StartNewOrOpen();
    // A new data set from a text file: the start-up choice is not offered; the Options sheet
    // opens on the Data page with the file imported.
    void StartWithImport(const std::string& path) { m_strStartImport = path; }
    void BuildDisplayPage(int first, int last);
    void ShowPageStatus();
    void FitListToView();
    void OnNextDisplayPage();
    void OnPrevDisplayPage();
    void OnGoToDisplayPage();
    // The page count for a print job; false when there is nothing to print.
    bool OnPreparePrinting();
    // File > Print (with the print dialog, unless direct) and File > Print Preview. True when
    // the report went to the printer.
    bool OnFilePrint(bool direct);
    void OnFilePrintPreview();
    // Edit > Select All: every line of the report, on every display page.
    void OnSelectAll();
    // File > Export Table...: the table as CSV or the report as text, by the name's suffix.
    void OnExportTable();

    QListView* List() const { return m_listReport; }
    ReportBuilder& Report() { return m_report; }
    // Asks for the page to go to (the Go-to dialog); tests answer it themselves.
    std::function<std::optional<int>(int current)> m_askPage;

    int m_bMeasureFont = 1;
    int m_bStarted = 0;
    int m_nItemHeight = 16;
    int m_nCharWidth = 6;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildReport();
    void FlushShownLines();
    void SelectLine(int row);
    void SelectShownLines();

    void RegisterCommands();

    CFitEngine m_engine;
    ReportBuilder m_report;
    QListView* m_listReport;
    ReportPageModel* m_model;
    ReportItemDelegate* m_delegate;
    int m_nPendingRows = 0;
    // Select All holds for the whole report, also for the lines of pages not shown.
    bool m_bAllSelected = false;
    bool m_bSelecting = false;
    std::string m_strStartImport;
};

} // namespace lumetra
