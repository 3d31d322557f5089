#pragma once

#include <cstddef>
#include <string>
#include <vector>

class QDialog;
class QPrinter;

namespace lumetra {

class CLumetraDoc;
class CView;
class SettingsStore;
class Ui;

// What a window of a document may ask of the application. Views and pages depend on this, not
// on the application class, so the dependencies of the shell run one way: app knows the views,
// the views know only this.
class CAppHost {
public:
    virtual Ui& GetUi() const = 0;
    virtual SettingsStore& Settings() const = 0;
    // Lines per display page of the listing and pairs per page of the Data page.
    virtual int LinesPerDisplayPage() const = 0;
    // Tells every window of the document but the sender (update hints in framework/View.h).
    virtual void UpdateAllViews(CLumetraDoc& doc, CView* sender, int hint) = 0;
    // Asked by a listing window on the refit hint: true for the one window that fits for this
    // update (every window outside one), false for the others, which get the report it rebuilt.
    virtual bool ClaimRefit(const CLumetraDoc& doc) = 0;
    // Options > Data on the view's document: the Curve, Data and Resolution pages; with an
    // import path the sheet opens on the Data page with that text file imported.
    virtual void RunOptionsData(CView& view, const std::string& importPath) = 0;
    // Edit > Undo (redo false) and Edit > Redo on a document: refits and refreshes every window.
    virtual void StepHistory(CLumetraDoc& doc, bool redo) = 0;
    // The pairs at these indexes excluded from the fit (or taken back into it) as one change of
    // the document: refits and refreshes every window.
    virtual void ExcludePairs(CLumetraDoc& doc, const std::vector<size_t>& pairs, bool exclude) = 0;
    // Options > Compute on the view's document: the Compute Y and Compute X pages.
    virtual void RunOptionsCompute(CView& view) = 0;
    // Runs a print, preview or page setup dialog; its result code.
    virtual int RunDialog(QDialog& dialog) = 0;
    // The printer Print Setup chose.
    virtual QPrinter& Printer() = 0;
    // A data file was read or written under this name (the recent-file list).
    virtual void NoteFileUsed(const std::string& path) = 0;

protected:
    ~CAppHost() = default;
};

} // namespace lumetra
