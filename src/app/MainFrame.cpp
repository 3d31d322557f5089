#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/DocManager.h"
#include "app/HelpViewer.h"
#include "app/LumetraApp.h"
#include "app/RecentFileList.h"
#include "app/ToolbarImages.h"
#include "app/WindowLayout.h"
#include "data/LumetraDoc.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace lumetra {
namespace {

// The toolkit's record of the bars, kept as text in the settings.
constexpr const char* kBarStateSection = "BarState";
constexpr const char* kBarStateEntry = "MainFrame";

} // namespace

CMainFrame::CMainFrame(CLumetraApp& app) : m_app(app), m_mdi(new QMdiArea(this)) {
    setWindowTitle("Lumetra");
    setWindowIcon(ApplicationIcon());
    setMinimumSize(300, 220);
    setAcceptDrops(true);
    setCentralWidget(m_mdi);
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    const std::string bars = m_app.Settings().GetString(kBarStateSection, kBarStateEntry, "");
    if (!bars.empty())
        restoreState(QByteArray::fromBase64(QByteArray::fromStdString(bars)));
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { UpdateCommandUI(); });
    // Idle time: just before the event loop waits for the next event.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &CMainFrame::UpdateCommandUI);
}

CMainFrame::~CMainFrame() {
    disconnect(QAbstractEventDispatcher::instance(), nullptr, this, nullptr);
    // Document windows go before the menus and bars they may still ask about.
    for (QMdiSubWindow* w : m_mdi->subWindowList())
        delete w;
}

QAction* CMainFrame::MakeAction(int id, const char* text) {
    const QString full = QString::fromUtf8(text);
    const int tab = full.indexOf('\t');
    auto* action = new QAction(tab < 0 ? full : full.left(tab), this);
    if (tab >= 0)
        action->setShortcut(QKeySequence(full.mid(tab + 1)));
    action->setStatusTip(QString::fromStdString(CommandPrompt(id)));
    action->setToolTip(QString::fromStdString(CommandToolTip(id)));
    connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
    m_actions[id] = action;
    return action;
}

QAction* CMainFrame::Action(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::CreateMenus() {
    for (const MenuDef& def : MenuBar()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(def.title));
        if (def.documentOnly)
            m_documentOnly.push_back(menu->menuAction());
        if (def.entries.front().id == cmd::kFileNew)
            m_fileMenu = menu;
        for (const MenuEntry& e : def.entries) {
            QAction* action = e.id == 0 ? menu->addSeparator() : MakeAction(e.id, e.text);
            if (e.id != 0)
                menu->addAction(action);
            if (e.documentOnly && !def.documentOnly)
                m_documentOnly.push_back(action);
            if (e.id == cmd::kRecentFile1) {
                m_recentPlaceholder = action;
                m_actions.erase(e.id);
            }
        }
    }
    Action(cmd::kViewToolbar)->setCheckable(true);
    Action(cmd::kViewStatusBar)->setCheckable(true);
    RebuildRecentFileMenu();
    CreateFrameCommands();
}

void CMainFrame::RebuildRecentFileMenu() {
    for (size_t i = 0; i < m_recentActions.size(); ++i) {
        m_actions.erase(cmd::kRecentFile1 + int(i));
        delete m_recentActions[i];
    }
    m_recentActions.clear();
    // The grayed "Recent File" stands in the list's place while it is empty.
    const CRecentFileList& recent = m_app.RecentFiles();
    m_recentPlaceholder->setVisible(recent.Files().empty());
    m_recentPlaceholder->setEnabled(false);
    for (size_t i = 0; i < recent.Files().size(); ++i) {
        QAction* a = MakeAction(cmd::kRecentFile1 + int(i), recent.MenuText(i).c_str());
        m_fileMenu->insertAction(m_recentPlaceholder, a);
        m_recentActions.push_back(a);
    }
}

void CMainFrame::CreateToolBar() {
    m_toolBar = addToolBar("Standard");
    m_toolBar->setObjectName("ToolBar");
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setFloatable(true);
    m_toolBar->setMovable(true);
    for (int id : ToolbarLayout()) {
        if (id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = Action(id);
        action->setIcon(QIcon(ToolbarImage(id)));
        m_toolBar->addAction(action);
    }
    connect(m_toolBar, &QToolBar::visibilityChanged, this, [this] { UpdateCommandUI(); });
}

void CMainFrame::CreateStatusBar() {
    statusBar()->setObjectName("StatusBar");
    m_panes[0] = new QLabel("Ready");
    m_panes[0]->setFrameShape(QFrame::Panel);
    m_panes[0]->setFrameShadow(QFrame::Sunken);
    statusBar()->addWidget(m_panes[0], 1);
    // Panes 1 and 2: six tenths of a quarter of the screen, truncated twice.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int quarter = (screen ? screen->geometry().width() : 1024) / 4;
    for (int i = 1; i <= 2; ++i) {
        m_panes[i] = new QLabel;
        m_panes[i]->setFrameShape(QFrame::Panel);
        m_panes[i]->setFrameShadow(QFrame::Sunken);
        m_panes[i]->setFixedWidth(int(0.6 * quarter));
        statusBar()->addPermanentWidget(m_panes[i]);
    }
}

void CMainFrame::AddDocumentWindow(QMdiSubWindow* frame) {
    m_mdi->addSubWindow(frame);
    // A new document window takes most of the area, as new windows do on the desktop. At
    // start-up the area has no size yet: take the frame's less its bars.
    const QSize area = isVisible() ? m_mdi->viewport()->size() : size() - QSize(0, 110);
    frame->resize(std::max(240, area.width() * 4 / 5), std::max(150, area.height() * 4 / 5));
    frame->show();
    m_mdi->setActiveSubWindow(frame);
}

CView* CMainFrame::ActiveView() const {
    // The current window stays current while a dialog or another program has the focus.
    auto* frame = qobject_cast<CChildFrame*>(m_mdi->currentSubWindow());
    return frame ? &frame->View() : nullptr;
}

bool CMainFrame::RouteCommand(int id) {
    if (CView* view = ActiveView(); view && view->OnCommand(id))
        return true;
    if (OnCommand(id))
        return true;
    return m_app.OnCommand(id);
}

void CMainFrame::UpdateCommandUI() {
    const bool haveDocument = !m_mdi->subWindowList().isEmpty();
    for (QAction* a : m_documentOnly)
        a->setVisible(haveDocument);
    CView* view = ActiveView();
    for (const auto& [id, action] : m_actions) {
        std::optional<CommandState> state;
        if (view)
            state = view->OnUpdateCommand(id);
        if (!state)
            state = OnUpdateCommand(id);
        if (!state)
            state = m_app.OnUpdateCommand(id);
        // A command that nobody handles is unavailable.
        action->setEnabled(state && state->enabled);
        if (action->isCheckable())
            action->setChecked(state && state->checked);
    }
    for (QMdiSubWindow* w : m_mdi->subWindowList())
        if (auto* frame = qobject_cast<CChildFrame*>(w))
            frame->RefreshTitle();
}

void CMainFrame::NewWindow(bool plot) {
    CView* view = ActiveView();
    if (!view) {
        m_app.GetUi().MessageBox("Command failed.");
        return;
    }
    CDocManager& docs = m_app.DocManager();
    if (plot)
        docs.NewPlotView(view->GetDocument());
    else
        docs.NewListView(view->GetDocument());
}

bool CMainFrame::OnCommand(int id) {
    switch (id) {
    case cmd::kNewListWindow:
        NewWindow(false);
        return true;
    case cmd::kNewPlotWindow:
        NewWindow(true);
        return true;
    case cmd::kCascade:
        m_mdi->cascadeSubWindows();
        return true;
    case cmd::kTile:
        m_mdi->tileSubWindows();
        return true;
    case cmd::kArrangeIcons:
        m_mdi->tileSubWindows();
        return true;
    case cmd::kHelpContents:
        ShowHelpContext(this, 5000);
        return true;
    case cmd::kAppSynopsis:
        ShowHelpContext(this, 5001);
        return true;
    case cmd::kViewToolbar:
        m_toolBar->setVisible(!m_toolBar->isVisible());
        return true;
    case cmd::kViewStatusBar:
        statusBar()->setVisible(!statusBar()->isVisible());
        return true;
    default:
        return OnFrameCommand(id);
    }
}

std::optional<CommandState> CMainFrame::OnUpdateCommand(int id) {
    switch (id) {
    case cmd::kNewListWindow:
    case cmd::kNewPlotWindow:
        return CommandState{ActiveView() != nullptr};
    case cmd::kCascade:
    case cmd::kTile:
    case cmd::kArrangeIcons:
        return CommandState{!m_mdi->subWindowList().isEmpty()};
    case cmd::kHelpContents:
    case cmd::kAppSynopsis:
        return CommandState{};
    case cmd::kViewToolbar:
        return CommandState{true, m_toolBar->isVisible()};
    case cmd::kViewStatusBar:
        return CommandState{true, statusBar()->isVisible()};
    default:
        return OnUpdateFrameCommand(id);
    }
}

int CMainFrame::RestoreLayout(const SettingsStore& settings) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->geometry().size() : QSize(1024, 768);
    const RestoredLayout layout = ReadWindowLayout(settings, size.width(), size.height());
    const WindowRect& r = layout.normal;
    setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
    // After the bar state: these two win over the visibility it recorded.
    m_toolBar->setVisible(layout.toolBar);
    statusBar()->setVisible(layout.statusLine);
    m_bRestoreToMaximized = layout.restoreToMaximized;
    return layout.showState;
}

void CMainFrame::ShowWithState(int showState) {
    if (showState == kShowMaximized) {
        showMaximized();
    } else if (showState == kShowMinNoActive || showState == kShowMinimized) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        // Restored later, it comes back maximized when it was.
        setWindowState(m_bRestoreToMaximized ? Qt::WindowMinimized | Qt::WindowMaximized
                                             : Qt::WindowMinimized);
        show();
    } else {
        show();
    }
}

void CMainFrame::SaveLayout(SettingsStore& settings) const {
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    const Qt::WindowStates state = windowState();
    ClosingLayout layout;
    layout.normal = {normal.left(), normal.top(), normal.left() + normal.width(),
                     normal.top() + normal.height()};
    layout.showState = state & Qt::WindowMinimized    ? kShowMinimized
                       : state & Qt::WindowFullScreen ? 0
                       : state & Qt::WindowMaximized  ? kShowMaximized
                                                      : kShowNormal;
    layout.restoreToMaximized = (state & Qt::WindowMaximized) != 0;
    layout.toolBarVisible = m_toolBar->isVisibleTo(this);
    layout.statusLineVisible = statusBar()->isVisibleTo(this);
    WriteWindowLayout(settings, layout);
    settings.SetString(kBarStateSection, kBarStateEntry, saveState().toBase64().toStdString());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Written at every close request, even one a save prompt then cancels.
    SaveLayout(m_app.Settings());
    if (!m_app.DocManager().SaveAllModified()) {
        event->ignore();
        return;
    }
    // Every document has agreed: its windows close without asking again.
    for (QMdiSubWindow* w : m_mdi->subWindowList())
        if (auto* frame = qobject_cast<CChildFrame*>(w))
            frame->CloseWithoutAsking();
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile());
    event->acceptProposedAction();
    OpenDroppedFiles(paths);
}

} // namespace lumetra
