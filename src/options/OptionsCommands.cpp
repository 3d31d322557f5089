#include "options/OptionsCommands.h"

#include "data/DocumentBackup.h"
#include "data/LumetraDoc.h"
#include "platform/BusyScope.h"
#include "platform/Ui.h"

#include <algorithm>

namespace lumetra {

bool RunOptionsData(CLumetraDoc& doc, const std::function<bool(DocumentBackup&)>& runSheet,
                    const std::function<void()>& notifyViews) {
    const BusyScope open(doc.m_bSheetOpen);
    const bool wasModified = doc.IsModified();
    DocumentBackup backup(doc);
    doc.SetModifiedFlag(false);
    doc.m_strWorkXTitle = doc.m_strXTitle;
    doc.m_strWorkYTitle = doc.m_strYTitle;
    if (!runSheet(backup)) {
        backup.Restore(doc);
        return false;
    }
    if (doc.IsModified()) {
        doc.m_nPairs = int(doc.m_pPairs.size());
        doc.BuildFormats();
        doc.m_history.Record(std::move(backup), doc.GetUi());
        notifyViews();
        doc.SetModifiedFlag(true);
        return true;
    }
    doc.SetModifiedFlag(wasModified);
    return false;
}

bool StepHistory(CLumetraDoc& doc, bool redo, const std::function<void()>& notifyViews) {
    DocumentHistory& history = doc.m_history;
    if (redo ? !history.CanRedo() : !history.CanUndo())
        return false;
    if (redo)
        history.Redo(doc);
    else
        history.Undo(doc);
    doc.m_nPairs = int(doc.m_pPairs.size());
    notifyViews();
    return true;
}

bool SetPairsExcluded(CLumetraDoc& doc, std::span<const size_t> pairs, bool exclude,
                      const std::function<void()>& notifyViews) {
    if (doc.m_bReading || doc.m_bFitting || doc.m_bBuildingReport || doc.m_bSheetOpen)
        return false;
    std::vector<CXYdata>& all = doc.m_pPairs;
    auto changes = [&](size_t k) { return k < all.size() && all[k].m_bExcluded != exclude; };
    if (std::none_of(pairs.begin(), pairs.end(), changes))
        return false;
    DocumentBackup backup(doc);
    if (!backup.KeepPairs(doc)) {
        doc.GetUi().MessageBox("Not enough memory to keep this change for Undo!\n"
                               "The pairs are left as they were.");
        return false;
    }
    backup.m_strChange = exclude ? kExcludeChange : kIncludeChange;
    for (size_t k : pairs)
        if (k < all.size())
            all[k].m_bExcluded = exclude;
    doc.m_history.Record(std::move(backup), doc.GetUi());
    notifyViews();
    doc.SetModifiedFlag(true);
    return true;
}

} // namespace lumetra
