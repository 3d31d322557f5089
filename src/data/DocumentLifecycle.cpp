#include "data/LumetraDoc.h"
#include "platform/SettingsStore.h"

namespace lumetra {

bool CLumetraDoc::OnNewDocument() {
    m_strPathName.clear();
    m_bModified = false;
    m_strLastPath = m_pSettings->GetString("Preferences", "LastPath", "");
    BuildFormats();
    return true;
}

void CLumetraDoc::RememberDirectory(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return;
    m_strLastPath = slash == 0 ? "/" : path.substr(0, slash);
    m_pSettings->SetString("Preferences", "LastPath", m_strLastPath);
}

} // namespace lumetra
