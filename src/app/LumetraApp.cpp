#include "app/LumetraApp.h"

#include "app/AboutDlg.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/PrintSetupDlg.h"
#include "app/RecentFileList.h"
#include "app/WindowLayout.h"
#include "data/LumetraDoc.h"
#include "framework/CommandIds.h"
#include "framework/DocManager.h"
#include "options/OptionsSheet.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"
#include "plot/PlotView.h"
#include "report/ListingView.h"
#include "stats/StatisticsView.h"

#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

namespace lumetra {

CLumetraApp::CLumetraApp(Ui& ui, SettingsStore& settings)
    : m_ui(ui), m_settings(settings), m_docManager(std::make_unique<CDocManager>(ui, settings)),
      m_recentFiles(std::make_unique<CRecentFileList>(settings)) {
    RegisterCommands();
}

void CLumetraApp::RegisterCommands() {
    Handle(cmd::kFileNew, [this] { m_docManager->OnFileNew(); });
    Handle(cmd::kFileOpen, [this] { OnFileOpen(); });
    Handle(cmd::kImportText, [this] { OnImportText(); });
    Handle(cmd::kPrintSetup, [this] {
        CPrintSetupDlg setup(Printer(), QPrinterInfo::availablePrinterNames(), m_mainFrame.get());
        if (RunDialog(setup) == QDialog::Accepted)
            ApplyPrintSetup(Printer(), setup.Choice());
    });
    Handle(cmd::kAbout, [this] {
        CAboutDlg about(m_mainFrame.get());
        about.exec();
    });
    Handle(cmd::kExit, [this] { m_mainFrame->close(); });
    for (int i = 0; i < CRecentFileList::kSize; ++i)
        Handle(cmd::kRecentFile1 + i, [this, i] {
            // A copy: the open changes the list.
            if (size_t(i) < m_recentFiles->Files().size())
                OpenDocumentFile(std::string(m_recentFiles->Files()[size_t(i)]));
        });
}

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
    m_docManager->SetStatisticsTemplate([this](CLumetraDoc& doc) -> CView* {
        auto* view = new CStatisticsView(*this, doc);
        m_mainFrame->AddDocumentWindow(new CChildFrame(*m_docManager, *view));
        return view;
    });
    m_docManager->onFileUsed = [this](const std::string& path) { NoteFileUsed(path); };

    m_mainFrame = std::make_unique<CMainFrame>(*this);
    if (onMainFrameCreated)
        onMainFrameCreated(*m_mainFrame);

    const QStringList files = arguments.mid(1);
    int show = kShowNormal;
    RestoreWindowState(show);
    if (files.size() == 2 && files.first() == "--print") {
        m_nExitCode = PrintFromCommandLine(files[1].toStdString()) ? 0 : 1;
        return false;
    }
    if (files.isEmpty()) {
        if (!m_docManager->OnFileNew())
            return false;
    } else if (!OpenDocumentFile(files.first().toStdString())) {
        return false;
    }
    m_mainFrame->ShowWithState(show);
    return true;
}

void CLumetraApp::RestoreWindowState(int& show) {
    if (!m_bRestorePending)
        return;
    m_bRestorePending = 0;
    show = m_mainFrame->RestoreLayout(m_settings);
}

bool CLumetraApp::PrintFromCommandLine(const std::string& path) {
    CLumetraDoc* doc = OpenDocumentFile(path);
    if (!doc)
        return false;
    auto* view = dynamic_cast<CLumetraView*>(m_docManager->Views(*doc).front());
    // The window is never shown, so its first drawing is made here: it builds the report.
    view->OnDraw();
    return view->OnFilePrint(true);
}

QPrinter& CLumetraApp::Printer() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

int CLumetraApp::RunDialog(QDialog& dialog) {
    if (runDialog)
        return runDialog(dialog);
    return dialog.exec();
}

void CLumetraApp::OpenFilesFromShell(const QStringList& files) {
    for (const QString& file : files)
        OpenDocumentFile(file.toStdString());
    if (m_mainFrame) {
        if (m_mainFrame->isMinimized())
            m_mainFrame->showNormal();
        m_mainFrame->raise();
        m_mainFrame->activateWindow();
    }
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

void CLumetraApp::UpdateAllViews(CLumetraDoc& doc, CView* sender, int hint) {
    m_docManager->UpdateAllViews(doc, sender, hint);
}

bool CLumetraApp::ClaimRefit(const CLumetraDoc& doc) {
    return m_docManager->ClaimRefit(doc);
}

CLumetraDoc* CLumetraApp::NewDataFromText(const std::string& path) {
    // The listing's first drawing, still to come, takes the file instead of asking for one.
    CLumetraDoc* doc = m_docManager->OnFileNew();
    if (!doc)
        return nullptr;
    if (auto* view = dynamic_cast<CLumetraView*>(m_docManager->Views(*doc).front()))
        view->StartWithImport(
            QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString());
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

std::string CLumetraApp::ChooseFileToRead(const std::string& title,
                                          std::vector<Ui::FileFilter> filters) {
    Ui::FileRequest request;
    request.title = title;
    request.filters = std::move(filters);
    request.initialDir = m_settings.GetString("Preferences", "LastPath", "");
    const Ui::FileChoice choice = m_ui.ChooseFile(request);
    if (!choice.accepted || choice.path.empty())
        return "";
    if (const auto dir = DirectoryToRemember(choice.path))
        m_settings.SetString("Preferences", "LastPath", *dir);
    return choice.path;
}

void CLumetraApp::OnImportText() {
    const std::string path = ChooseFileToRead(
        "Import Text", {{"Text Files (*.txt *.csv)", "*.txt *.csv"}, {"All Files (*.*)", "*.*"}});
    if (!path.empty())
        NewDataFromText(path);
}

void CLumetraApp::OnFileOpen() {
    const std::string path =
        ChooseFileToRead("Open", {{"Lumetra Files (*.dat)", "*.dat"}, {"All Files (*.*)", "*.*"}});
    if (!path.empty())
        OpenDocumentFile(path);
}

} // namespace lumetra
