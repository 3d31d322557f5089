#pragma once

#include "app/WindowLayout.h"
#include "framework/View.h"

#include <QMainWindow>

#include <map>
#include <set>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStyle;
class QToolBar;

namespace lumetra {

class CLumetraApp;
class SettingsStore;

// The main window: the document windows in an MDI area, the menus, the toolbar and the
// three-pane status bar. It routes every command to the active view, then itself, then the
// application, and asks the same chain at idle time which commands are enabled.
class CMainFrame : public QMainWindow, public CCommandTarget {
    Q_OBJECT
public:
    explicit CMainFrame(CLumetraApp& app);
    ~CMainFrame() override;

    QLabel* StatusPane(int pane) const { return m_panes[pane]; }
    QMdiArea* MdiArea() const { return m_mdi; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QAction* Action(int id) const;
    // The toolbar's button for a command; the toolbar keeps its own, so that its buttons stay
    // in place while the menus hide what needs a document.
    QAction* ToolButton(int id) const;
    // The view of the active document window, or nullptr.
    CView* ActiveView() const;
    // Puts a new document window into the MDI area, wholly inside it, and shows it.
    void AddDocumentWindow(QMdiSubWindow* frame);

    // Routes a command as a menu choice does; false when nobody handled it. An exception that
    // escapes the command is shown and the program goes on.
    bool RouteCommand(int id);
    // Brings every command's enabled and checked state up to date (done at idle time).
    void UpdateCommandUI();
    // The recent-file entries of the File menu follow the list.
    void RebuildRecentFileMenu();

    // Places the window and shows or hides its bars as the settings say; returns the show
    // state to show it with.
    int RestoreLayout(const SettingsStore& settings);
    // Shows the window normal, maximized or minimized (without taking the focus).
    void ShowWithState(int showState);
    // Writes the window's layout and the bar state, as every close request does.
    void SaveLayout(SettingsStore& settings) const;

    // The Window menu's list of open windows, brought up to date as the menu opens.
    QMenu* WindowMenu() const { return m_windowMenu; }
    void RebuildWindowList();
    // The status panes of the window just activated: its document's failure or "Ready".
    void ShowActiveStatus();
    // Window > More Windows...: every open window in a list to choose from.
    void ChooseFromAllWindows();
    // Local files dropped on the window or handed over by the desktop: data files open, other
    // text files start a new data set with their pairs imported.
    void OpenDroppedFiles(const QStringList& paths);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // The context menus of the document windows.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void RegisterCommands();
    QAction* MakeAction(const CommandDef& def);
    // An action of a command that is made anew while the program runs (the recent files).
    QAction* MakeAction(int id, const QString& text);
    // The active view, its document's busy state, the main frame and the application, in the
    // order they are asked.
    CommandRoute Route();
    void NewWindow(bool plot);
    bool ActiveDocumentBusy() const;
    void SaveActiveDocument(bool saveAs);
    // The MDI area's inside in pixels, also before the main window is first shown.
    WindowSize Workspace() const;
    int CascadeStep() const;
    void Cascade();
    void ArrangeIcons();
    // FrameCommands.cpp: Edit > Copy of a text view, File > Close, the window list, F6, F1.
    void CreateFrameCommands();
    void CloseActiveDocument();

    CLumetraApp& m_app;
    QMdiArea* m_mdi;
    QStyle* m_documentWindowStyle;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_panes[3] = {};
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    std::vector<QAction*> m_recentActions;
    QMenu* m_windowMenu = nullptr;
    QAction* m_windowListSeparator = nullptr;
    std::vector<QAction*> m_windowActions;
    QAction* m_moreWindows = nullptr;
    std::vector<QAction*> m_documentOnly; // shown only while a document window is open
    std::map<int, QAction*> m_actions;
    std::set<int> m_renamed; // commands whose menu text names what they act on
    std::vector<std::pair<int, QAction*>> m_toolButtons;
    bool m_bRestoreToMaximized = false;
};

} // namespace lumetra
