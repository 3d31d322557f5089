#include "data/LumetraDoc.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"

namespace lumetra {

bool CLumetraDoc::OnNewDocument() {
    m_strPathName.clear();
    m_bModified = false;
    m_strLastPath = m_pSettings->GetString("Preferences", "LastPath", "");
    BuildFormats();
    return true;
}

std::optional<std::string> DirectoryToRemember(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return std::nullopt;
    return slash == 0 ? "/" : path.substr(0, slash);
}

void CLumetraDoc::RememberDirectory(const std::string& path) {
    if (const auto dir = DirectoryToRemember(path)) {
        m_strLastPath = *dir;
        m_pSettings->SetString("Preferences", "LastPath", m_strLastPath);
    }
}

std::string CLumetraDoc::PromptForDataFile() {
    Ui::FileRequest request;
    request.title = "New Data to start new fit or Select a data file and Open Existing";
    request.filters = {{"Data Files (*.dat)", "*.dat"}, {"All Files (*.*)", "*.*"}};
    request.initialDir = m_strLastPath;
    request.okLabel = "Open Existing";
    request.cancelLabel = "New Data";
    const Ui::FileChoice choice = m_pUi->ChooseFile(request);
    if (!choice.accepted)
        return "";
    if (!choice.path.empty())
        RememberDirectory(choice.path);
    return choice.path;
}

// The data a close prompt names: its title, when it has one, in quotes.
std::string CLumetraDoc::NamedData() const {
    return m_strDataTitle.empty() ? "data" : "data \"" + m_strDataTitle + "\"";
}

// Cancel, and a save that fails or is called off while closing, keep the document open, so the
// user's changes are not lost: the close (or the whole exit) stops and the user can try again.
bool CLumetraDoc::SaveModified() {
    if (m_bBuildingReport)
        return false;
    if (m_bReading) {
        m_pUi->MessageBox(
            "Reading a data File.  Won't close now!!\nTry again when file has been read!");
        return false;
    }
    if (m_bFitting) {
        m_pUi->MessageBox(
            "Fitting the data to curve.  Won't close now!!\nTry again when data has been fitted!");
        return false;
    }
    m_bClosing = 1;
    if (!IsModified())
        return true;
    auto refuse = [this] {
        m_bClosing = 0;
        return false;
    };
    if (m_strFileName != kUnNamedFile) {
        const Ui::Answer answer =
            m_pUi->MessageBox("The " + NamedData() + " in " + m_strFileName +
                                  " has been modified!\nSave the modifications?",
                              Ui::Buttons::YesNoCancel, Ui::Icon::Question);
        if (answer == Ui::Answer::Cancel ||
            (answer == Ui::Answer::Yes && !OnSaveDocument(m_strFileName)))
            return refuse();
        return true;
    }
    const Ui::Answer answer = m_pUi->MessageBox(GetTitle() + ": you've added " + NamedData() +
                                                    " but haven't saved it!\nSave the data NOW?",
                                                Ui::Buttons::YesNoCancel, Ui::Icon::Question);
    if (answer == Ui::Answer::Cancel)
        return refuse();
    if (answer != Ui::Answer::Yes)
        return true;
    Ui::FileRequest request;
    request.saving = true;
    request.title = "Save Lumetra Data As";
    request.filters = {{"Data Files (*.dat) ", "*.dat"}, {"All Files (*.*) ", "*.*"}};
    request.initialDir = m_strLastPath;
    request.cancelLabel = "Abort";
    // So the file shows in the open dialog's "*.dat" filter.
    request.defaultSuffix = "dat";
    const Ui::FileChoice choice = m_pUi->ChooseFile(request);
    if (choice.accepted && !choice.path.empty() && !OnSaveDocument(choice.path))
        return refuse();
    return true;
}

bool CLumetraDoc::DoSave(bool saveAs) {
    std::string path = saveAs ? "" : m_strPathName;
    if (path.empty()) {
        Ui::FileRequest request;
        request.saving = true;
        request.title = "Save As";
        request.filters = {{"Lumetra Files (*.dat)", "*.dat"}};
        request.initialDir = m_strLastPath;
        // File names are case-sensitive here, and the open dialog looks for "*.dat".
        request.defaultSuffix = "dat";
        const Ui::FileChoice choice = m_pUi->ChooseFile(request);
        if (!choice.accepted || choice.path.empty())
            return false;
        path = choice.path;
    }
    return OnSaveDocument(path);
}

} // namespace lumetra
