#include "app/LumetraApp.h"

#include "app/AboutDlg.h"
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"
#include "data/LumetraDoc.h"
#include "options/OptionsSheet.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"
#include "plot/PlotView.h"
#include "report/ListingView.h"

#include <QFileInfo>

namespace lumetra {

CLumetraApp::CLumetraApp(Ui& ui, SettingsStore& settings)
    : m_ui(ui), m_settings(settings), m_docManager(std::make_unique<CDocManager>(ui, settings)),
      m_recentFiles(std::make_unique<CRecentFileList>(settings)) {}

CLumetraApp::~CLumetraApp() {
    // The windows go first: they refer to the documents and the manager.
    m_mainFrame.reset();
}

bool CLumetraApp::InitInstance(const QStringList& arguments) {
    m_recentFiles->ReadList();
    auto listing = [this](CLumetraDoc& doc) -> CView* {
        auto* view = new CLumetraView(*this, doc);
        m_mainFrame->AddDocumentWindow(new CChildFrame(*m_docManager, *view));
        return view;
    };
    auto plot = [this](CLumetraDoc& doc) -> CView* {
        auto* view = new CPlotView(*this, doc);
        m_mainFrame->AddDocumentWindow(new CChildFrame(*m_docManager, *view));
        return view;
    };
    m_docManager->SetTemplates(listing, listing, plot);
    m_docManager->onFileUsed = [this](const std::string& path) { NoteFileUsed(path); };

    m_mainFrame = std::make_unique<CMainFrame>(*this);
    if (onMainFrameCreated)
        onMainFrameCreated(*m_mainFrame);
    m_mainFrame->setGeometry(19, 72, 676 - 19, 449 - 72);

    const QStringList files = arguments.mid(1);
    if (files.isEmpty()) {
        if (!m_docManager->OnFileNew())
            return false;
    } else if (!OpenDocumentFile(files.first().toStdString())) {
        return false;
    }
    m_mainFrame->show();
    return true;
}

int CLumetraApp::ExitInstance() {
    m_recentFiles->WriteList();
    return 0;
}

CLumetraDoc* CLumetraApp::OpenDocumentFile(const std::string& path) {
    const std::string full =
        QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
    CLumetraDoc* doc = m_docManager->OpenDocumentFile(full);
    if (!doc) {
        m_recentFiles->Remove(full);
        m_recentFiles->WriteList();
        if (m_mainFrame)
            m_mainFrame->RebuildRecentFileMenu();
    }
    return doc;
}

void CLumetraApp::NoteFileUsed(const std::string& path) {
    m_recentFiles->Add(path);
    m_recentFiles->WriteList();
    if (m_mainFrame)
        m_mainFrame->RebuildRecentFileMenu();
}

bool CLumetraApp::RunSheet(CMySheet& sheet) {
    if (runSheet)
        return runSheet(sheet);
    return sheet.exec() == QDialog::Accepted;
}

void CLumetraApp::OnFileOpen() {
    Ui::FileRequest request;
    request.title = "Open";
    request.filters = {{"Lumetra Files (*.dat)", "*.dat"}, {"All Files (*.*)", "*.*"}};
    request.initialDir = m_settings.GetString("Preferences", "LastPath", "");
    const Ui::FileChoice choice = m_ui.ChooseFile(request);
    if (!choice.accepted || choice.path.empty())
        return;
    if (const auto dir = DirectoryToRemember(choice.path))
        m_settings.SetString("Preferences", "LastPath", *dir);
    OpenDocumentFile(choice.path);
}

bool CLumetraApp::OnCommand(int id) {
    switch (id) {
    case cmd::kFileNew:
        m_docManager->OnFileNew();
        return true;
    case cmd::kFileOpen:
        OnFileOpen();
        return true;
    case cmd::kAbout: {
        CAboutDlg about(m_mainFrame.get());
        about.exec();
        return true;
    }
    case cmd::kExit:
        m_mainFrame->close();
        return true;
    default:
        break;
    }
    const size_t recent = size_t(id - cmd::kRecentFile1);
    if (id >= cmd::kRecentFile1 && recent < m_recentFiles->Files().size()) {
        const std::string path = m_recentFiles->Files()[recent];
        OpenDocumentFile(path);
        return true;
    }
    return false;
}

std::optional<CommandState> CLumetraApp::OnUpdateCommand(int id) {
    switch (id) {
    case cmd::kFileNew:
    case cmd::kFileOpen:
    case cmd::kAbout:
    case cmd::kExit:
        return CommandState{};
    default:
        break;
    }
    if (id >= cmd::kRecentFile1 && size_t(id - cmd::kRecentFile1) < m_recentFiles->Files().size())
        return CommandState{};
    return std::nullopt;
}

} // namespace lumetra
