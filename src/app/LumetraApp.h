#pragma once

#include "framework/AppHost.h"
#include "framework/View.h"
#include "platform/Ui.h"

#include <QStringList>

class QDialog;
class QPrinter;

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lumetra {

class CDocManager;
class CMySheet;
class CLumetraDoc;
class CMainFrame;
class CRecentFileList;
class SettingsStore;
class Ui;

// The application: settings, the recent-file list, the document templates, the main frame, and
// the commands no window handles (New, Open, About, Exit, the recent files).
class CLumetraApp : public CCommandTarget, public CAppHost {
public:
    CLumetraApp(Ui& ui, SettingsStore& settings);
    ~CLumetraApp() override;

    // Start-up in order; false: the application ends at once, with m_nExitCode.
    // "--print FILE" prints the file's report on the default printer and ends.
    bool InitInstance(const QStringList& arguments);
    int ExitInstance();
    // Places the main window and shows or hides its bars as the last run left them, once per
    // run; gives the show state to show the main window with.
    void RestoreWindowState(int& show);

    // Lines per display page of the listing and pairs per page of the Data page. The system
    // offers 32000 or 128000; the listing here refers to its lines without copying them, so the
    // larger page costs nothing and spares paging.
    int m_nLinesPerDisplayPage = 128000;
    int m_bOldShell = 0;
    int m_bRestorePending = 1;
    int m_nExitCode = 1; // when InitInstance ends the run: 0 after a finished "--print"

    Ui& GetUi() const override { return m_ui; }
    SettingsStore& Settings() const override { return m_settings; }
    int LinesPerDisplayPage() const override { return m_nLinesPerDisplayPage; }
    void UpdateAllViews(CLumetraDoc& doc, CView* sender, int hint) override;
    bool ClaimRefit(const CLumetraDoc& doc) override;
    CDocManager& DocManager() const { return *m_docManager; }
    CRecentFileList& RecentFiles() const { return *m_recentFiles; }
    CMainFrame* MainFrame() const { return m_mainFrame.get(); }

    // File > Open, a recent file, a dropped file, the command line.
    CLumetraDoc* OpenDocumentFile(const std::string& path);
    // A dropped text file: a new data set, as File > New starts one, with the file imported.
    CLumetraDoc* NewDataFromText(const std::string& path);
    // The desktop's open request (a file opened from the file manager while Lumetra runs):
    // each file is opened, and the main window comes to the front.
    void OpenFilesFromShell(const QStringList& files);
    // A data file was read or written under this name.
    void NoteFileUsed(const std::string& path) override;

    // OptionsDialogs.cpp: the two Options sheets.
    void RunOptionsData(CView& view, const std::string& importPath) override;
    void RunOptionsCompute(CView& view) override;
    void StepHistory(CLumetraDoc& doc, bool redo) override;
    void ExcludePairs(CLumetraDoc& doc, const std::vector<size_t>& pairs, bool exclude) override;
    // Runs an Options sheet modally; true when it closed with OK. Tests work the pages
    // themselves through runSheet instead.
    bool RunSheet(CMySheet& sheet);
    std::function<bool(CMySheet&)> runSheet;
    // Runs the print, preview and page setup dialogs; tests answer them through runDialog.
    int RunDialog(QDialog& dialog) override;
    std::function<int(QDialog&)> runDialog;

    // The application's printer: what Print Setup chose, used by Print and Print Preview.
    QPrinter& Printer() override;

    // Called once the main frame exists, before any document opens (the Qt Ui attaches to its
    // status bar here).
    std::function<void(CMainFrame&)> onMainFrameCreated;

private:
    void RegisterCommands();
    void OnFileOpen();
    // File > Import Text...: a new data set from a text file, through the Data page's import.
    void OnImportText();
    // The open dialog from the last folder used, which it remembers; "" when cancelled.
    std::string ChooseFileToRead(const std::string& title, std::vector<Ui::FileFilter> filters);
    bool PrintFromCommandLine(const std::string& path);

    Ui& m_ui;
    SettingsStore& m_settings;
    std::unique_ptr<CDocManager> m_docManager;
    std::unique_ptr<CRecentFileList> m_recentFiles;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace lumetra
