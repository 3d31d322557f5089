#include "framework/DocManager.h"

#include "data/LumetraDoc.h"
#include "framework/View.h"

#include <QWidget>

#include <algorithm>

namespace lumetra {

CDocManager::CDocManager(Ui& ui, SettingsStore& settings) : m_ui(ui), m_settings(settings) {}

CDocManager::~CDocManager() = default;

void CDocManager::SetTemplates(ViewFactory first, ViewFactory list, ViewFactory plot) {
    m_first = std::move(first);
    m_list = std::move(list);
    m_plot = std::move(plot);
}

CLumetraDoc& CDocManager::CreateDocument() {
    m_entries.push_back({std::make_unique<CLumetraDoc>(m_ui, m_settings), {}});
    return *m_entries.back().doc;
}

CView* CDocManager::MakeView(const ViewFactory& factory, CLumetraDoc& doc) {
    if (!factory)
        return nullptr;
    CView* view = factory(doc);
    if (view)
        view->OnInitialUpdate();
    return view;
}

void CDocManager::Remove(const CLumetraDoc& doc) {
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&doc](const Entry& e) { return e.doc.get() == &doc; });
    if (it != m_entries.end())
        m_entries.erase(it);
}

CLumetraDoc* CDocManager::OnFileNew() {
    CLumetraDoc& doc = CreateDocument();
    doc.SetTitle("Lumi" + std::to_string(++m_nUntitled));
    doc.OnNewDocument();
    if (!MakeView(m_first, doc)) {
        Remove(doc);
        return nullptr;
    }
    return &doc;
}

CLumetraDoc* CDocManager::OpenDocumentFile(const std::string& path) {
    for (Entry& e : m_entries)
        if (!e.views.empty() && e.doc->GetPathName() == path) {
            e.views.front()->Widget()->setFocus();
            return e.doc.get();
        }
    // The read pumps messages, so other documents may come and go meanwhile: this one is only
    // ever removed by identity. Listed while it reads, so that an exit is refused until it ends.
    CLumetraDoc& doc = CreateDocument();
    bool read = false;
    try {
        read = doc.OnOpenDocument(path);
    } catch (...) {
        Remove(doc); // no document without a window stays behind to refuse the exit
        throw;
    }
    if (!read) {
        Remove(doc);
        return nullptr;
    }
    if (onFileUsed)
        onFileUsed(path);
    if (!MakeView(m_first, doc)) {
        Remove(doc);
        return nullptr;
    }
    return &doc;
}

CView* CDocManager::NewListView(CLumetraDoc& doc) {
    return MakeView(m_list, doc);
}

CView* CDocManager::NewPlotView(CLumetraDoc& doc) {
    return MakeView(m_plot, doc);
}

CView* CDocManager::NewStatisticsView(CLumetraDoc& doc) {
    return MakeView(m_statistics, doc);
}

CDocManager::Entry* CDocManager::Find(const CLumetraDoc& doc) {
    for (Entry& e : m_entries)
        if (e.doc.get() == &doc)
            return &e;
    return nullptr;
}

const CDocManager::Entry* CDocManager::Find(const CLumetraDoc& doc) const {
    return const_cast<CDocManager*>(this)->Find(doc);
}

void CDocManager::AddView(CLumetraDoc& doc, CView& view) {
    if (Entry* e = Find(doc))
        e->views.push_back(&view);
}

std::unique_ptr<CLumetraDoc> CDocManager::DetachView(CView& view) {
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        auto& views = it->views;
        const auto found = std::find(views.begin(), views.end(), &view);
        if (found == views.end())
            continue;
        views.erase(found);
        if (!views.empty())
            return nullptr;
        std::unique_ptr<CLumetraDoc> doc = std::move(it->doc);
        m_entries.erase(it);
        return doc;
    }
    return nullptr;
}

const std::vector<CView*>& CDocManager::Views(const CLumetraDoc& doc) const {
    static const std::vector<CView*> none;
    const Entry* e = Find(doc);
    return e ? e->views : none;
}

std::vector<CLumetraDoc*> CDocManager::Documents() const {
    std::vector<CLumetraDoc*> docs;
    for (const Entry& e : m_entries)
        docs.push_back(e.doc.get());
    return docs;
}

void CDocManager::UpdateAllViews(CLumetraDoc& doc, CView* sender, int hint) {
    // One fit per refit, whatever number of listing windows show the document.
    Entry* entry = Find(doc);
    const bool refit = hint == kHintRefit && entry && !entry->refitting;
    if (refit) {
        entry->refitting = true;
        entry->refitClaimed = false;
    }
    struct EndRefit {
        CDocManager& manager;
        const CLumetraDoc& doc;
        bool active;
        ~EndRefit() {
            if (Entry* e = active ? manager.Find(doc) : nullptr)
                e->refitting = false;
        }
    } endRefit{*this, doc, refit};
    // A view may open a dialog while it updates; work on a copy of the list.
    const std::vector<CView*> views = Views(doc);
    for (CView* v : views)
        if (v != sender)
            v->OnUpdate(sender, hint);
}

bool CDocManager::ClaimRefit(const CLumetraDoc& doc) {
    Entry* entry = Find(doc);
    if (!entry || !entry->refitting)
        return true;
    const bool first = !entry->refitClaimed;
    entry->refitClaimed = true;
    return first;
}

bool CDocManager::IsBusy(const CLumetraDoc& doc) const {
    if (doc.m_bReading || doc.m_bFitting || doc.m_bBuildingReport)
        return true;
    const std::vector<CView*>& views = Views(doc);
    return std::any_of(views.begin(), views.end(), [](const CView* v) { return v->IsBusy(); });
}

bool CDocManager::SaveAllModified() {
    std::vector<CLumetraDoc*> agreed;
    for (CLumetraDoc* doc : Documents()) {
        // The close guard itself explains a read or a fit; a window still building its pages
        // would lose them under its feet, so the exit waits silently, as for the header.
        const bool building = IsBusy(*doc) && !doc->m_bReading && !doc->m_bFitting;
        if (building || !doc->SaveModified()) {
            for (CLumetraDoc* d : agreed)
                d->m_bClosing = 0;
            return false;
        }
        agreed.push_back(doc);
    }
    return true;
}

} // namespace lumetra
