#include "options/OptionsCommands.h"

#include "data/DocumentBackup.h"
#include "data/LumetraDoc.h"

namespace lumetra {

bool RunOptionsData(CLumetraDoc& doc, const std::function<bool(DocumentBackup&)>& runSheet,
                    const std::function<void()>& notifyViews) {
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
        notifyViews();
        doc.SetModifiedFlag(true);
        return true;
    }
    doc.SetModifiedFlag(wasModified);
    return false;
}

} // namespace lumetra
