#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lumetra {

class CLumetraDoc;
class CView;
class Ui;
class SettingsStore;

// The open documents and their views. A document lives while it has a view; the last view to go
// takes it along.
class CDocManager {
public:
    // Makes a new view (in its frame) on a document; returns nullptr when it could not.
    using ViewFactory = std::function<CView*(CLumetraDoc&)>;

    CDocManager(Ui& ui, SettingsStore& settings);
    ~CDocManager();

    // The three templates: the registered one makes the first listing window of a document, the
    // other two further listing windows and plot windows.
    void SetTemplates(ViewFactory first, ViewFactory list, ViewFactory plot);
    // The fourth: Statistics windows.
    void SetStatisticsTemplate(ViewFactory statistics) { m_statistics = std::move(statistics); }

    // File > New: an empty document titled "Lumi1", "Lumi2", ... with one listing window.
    CLumetraDoc* OnFileNew();
    // Opens a data file in a new document with one listing window; nullptr after the reader's
    // message. A file that is open already is shown again, not read twice.
    CLumetraDoc* OpenDocumentFile(const std::string& path);
    // Window > New List Window / New Plot Window on a document.
    CView* NewListView(CLumetraDoc& doc);
    CView* NewPlotView(CLumetraDoc& doc);
    CView* NewStatisticsView(CLumetraDoc& doc);

    void AddView(CLumetraDoc& doc, CView& view);
    // Forgets the view. When it was the document's last, the document is handed back, so the
    // caller can let it go after the view itself is gone.
    std::unique_ptr<CLumetraDoc> DetachView(CView& view);
    const std::vector<CView*>& Views(const CLumetraDoc& doc) const;
    std::vector<CLumetraDoc*> Documents() const;

    void UpdateAllViews(CLumetraDoc& doc, CView* sender, int hint);
    bool ClaimRefit(const CLumetraDoc& doc);

    // True while the document is read, fitted or built by any of its views. Commands run from
    // inside those operations' message pumps must then neither change nor close it.
    bool IsBusy(const CLumetraDoc& doc) const;

    // Asks every document's close guard; when one refuses, the others that had agreed are told
    // they are not closing after all.
    bool SaveAllModified();

    // Called after a file was read or written under a name, for the recent-file list.
    std::function<void(const std::string&)> onFileUsed;

private:
    struct Entry {
        std::unique_ptr<CLumetraDoc> doc;
        std::vector<CView*> views;
        // A refit hint is going out, and whether a window has taken the fit on.
        bool refitting = false;
        bool refitClaimed = false;
    };
    Entry* Find(const CLumetraDoc& doc);
    const Entry* Find(const CLumetraDoc& doc) const;
    CLumetraDoc& CreateDocument();
    void Remove(const CLumetraDoc& doc);
    CView* MakeView(const ViewFactory& factory, CLumetraDoc& doc);

    Ui& m_ui;
    SettingsStore& m_settings;
    ViewFactory m_first, m_list, m_plot, m_statistics;
    std::vector<Entry> m_entries;
    int m_nUntitled = 0;
};

} // namespace lumetra
