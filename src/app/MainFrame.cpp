#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/LumetraApp.h"
#include "app/RecentFileList.h"
#include "data/LumetraDoc.h"
#include "framework/CommandGuard.h"
#include "framework/CommandIds.h"
#include "framework/CommandTable.h"
#include "framework/DocManager.h"
#include "framework/HelpViewer.h"
#include "framework/ToolbarImages.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"
#include "report/ReportBuilder.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QProxyStyle>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace lumetra {
namespace {

// The toolkit's record of the bars, kept as text in the settings.
constexpr const char* kBarStateSection = "BarState";
constexpr const char* kBarStateEntry = "MainFrame";

// A maximized document window keeps its own title bar instead of moving its buttons into the
// menu bar, where the toolkit would also rewrite the main window's title.
class DocumentWindowStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_Workspace_FillSpaceOnMaximize)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

} // namespace

CMainFrame::CMainFrame(CLumetraApp& app)
    : m_app(app), m_mdi(new QMdiArea(this)), m_documentWindowStyle(new DocumentWindowStyle) {
    m_documentWindowStyle->setParent(this);
    setWindowTitle(QString::fromStdString(FrameTitle("")));
    setWindowIcon(ApplicationIcon());
    setMinimumSize(300, 220);
    setAcceptDrops(true);
    setCentralWidget(m_mdi);
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    RegisterCommands();
    const std::string bars = m_app.Settings().GetString(kBarStateSection, kBarStateEntry, "");
    if (!bars.empty())
        restoreState(QByteArray::fromBase64(QByteArray::fromStdString(bars)));
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] {
        ShowActiveStatus();
        UpdateCommandUI();
    });
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

QAction* CMainFrame::MakeAction(int id, const QString& text) {
    auto* action = new QAction(text, this);
    // The recent files share the first one's prompt.
    const bool recent = id >= cmd::kRecentFile1 && id < cmd::kRecentFile1 + CRecentFileList::kSize;
    const int promptOf = recent ? cmd::kRecentFile1 : id;
    action->setStatusTip(QString::fromStdString(CommandPrompt(promptOf)));
    action->setToolTip(QString::fromStdString(CommandToolTip(promptOf)));
    connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
    m_actions[id] = action;
    return action;
}

QAction* CMainFrame::MakeAction(const CommandDef& def) {
    QAction* action = MakeAction(def.id, QString::fromUtf8(def.text));
    action->setShortcuts(QKeySequence::listFromString(QString::fromUtf8(def.shortcut)));
    action->setCheckable(def.checkable);
    return action;
}

QAction* CMainFrame::Action(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QAction* CMainFrame::ToolButton(int id) const {
    for (const auto& [buttonId, button] : m_toolButtons)
        if (buttonId == id)
            return button;
    return nullptr;
}

void CMainFrame::CreateMenus() {
    for (const MenuDef& def : Menus()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(def.title));
        if (def.documentOnly)
            m_documentOnly.push_back(menu->menuAction());
        if (def.menu == Menu::File)
            m_fileMenu = menu;
        for (const MenuEntry& e : MenuEntries(def.menu)) {
            QAction* action = e.id == 0 ? menu->addSeparator() : MakeAction(*FindCommand(e.id));
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
    // The commands reached by their keys alone.
    for (const CommandDef& def : Commands())
        if (def.menu == Menu::None && *def.shortcut)
            addAction(MakeAction(def));
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
        QAction* a =
            MakeAction(cmd::kRecentFile1 + int(i), QString::fromStdString(recent.MenuText(i)));
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
        const QAction* command = Action(id);
        auto* button = new QAction(QIcon(ToolbarImage(id)), command->text(), m_toolBar);
        button->setToolTip(command->toolTip());
        button->setStatusTip(command->statusTip());
        connect(button, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        m_toolBar->addAction(button);
        m_toolButtons.emplace_back(id, button);
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

WindowSize CMainFrame::Workspace() const {
    // Before the first show the layout has not placed the area yet.
    if (!m_mdi->isVisible())
        layout()->activate();
    const QRect inside = m_mdi->contentsRect();
    return {inside.width(), inside.height()};
}

int CMainFrame::CascadeStep() const {
    // One title bar down and right, so every window's title stays in sight.
    return std::max(8, m_mdi->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, m_mdi));
}

void CMainFrame::AddDocumentWindow(QMdiSubWindow* frame) {
    const int open = int(m_mdi->subWindowList().size());
    frame->setStyle(m_documentWindowStyle);
    m_mdi->addSubWindow(frame);
    const WindowRect r = NewWindowRect(open, Workspace(), CascadeStep());
    // Never narrower than its controls need, whatever room the workspace has.
    frame->setGeometry(r.left, r.top, std::max(r.right - r.left, frame->minimumSizeHint().width()),
                       r.bottom - r.top);
    frame->show();
    m_mdi->setActiveSubWindow(frame);
}

void CMainFrame::Cascade() {
    // The minimized ones stay icons; the active window ends on top.
    QMdiSubWindow* active = m_mdi->activeSubWindow();
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (!w->isMinimized() && !w->isHidden() && w != active)
            windows.push_back(w);
    if (active && !active->isMinimized())
        windows.push_back(active);
    for (QMdiSubWindow* w : windows)
        if (w->isMaximized())
            w->showNormal();
    const std::vector<WindowRect> rects =
        CascadeRects(int(windows.size()), Workspace(), CascadeStep());
    for (size_t i = 0; i < windows.size(); ++i) {
        const WindowRect& r = rects[i];
        windows[i]->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
        windows[i]->raise();
    }
    if (active)
        m_mdi->setActiveSubWindow(active);
}

void CMainFrame::ArrangeIcons() {
    std::vector<QMdiSubWindow*> icons;
    std::vector<WindowSize> sizes;
    for (QMdiSubWindow* w : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (w->isMinimized() && !w->isHidden()) {
            icons.push_back(w);
            sizes.push_back({w->width(), w->height()});
        }
    const std::vector<WindowRect> rects = IconRects(sizes, Workspace());
    for (size_t i = 0; i < icons.size(); ++i)
        icons[i]->move(rects[i].left, rects[i].top);
}

CView* CMainFrame::ActiveView() const {
    // The current window stays current while a dialog or another program has the focus.
    auto* frame = qobject_cast<CChildFrame*>(m_mdi->currentSubWindow());
    return frame ? &frame->View() : nullptr;
}

bool CMainFrame::ActiveDocumentBusy() const {
    CView* view = ActiveView();
    return view && m_app.DocManager().IsBusy(view->GetDocument());
}

CommandRoute CMainFrame::Route() {
    // A command from inside a pump of the active document's read or build would change what
    // that operation is working on: the document's own commands wait, greyed meanwhile.
    return {ActiveView(), ActiveDocumentBusy(), this, &m_app};
}

bool CMainFrame::RouteCommand(int id) {
    bool handled = false;
    RunGuarded(m_app.GetUi(), [&] { handled = Route().Run(id); });
    return handled;
}

void CMainFrame::UpdateCommandUI() {
    const bool haveDocument = !m_mdi->subWindowList().isEmpty();
    for (QAction* a : m_documentOnly)
        a->setVisible(haveDocument);
    const CommandRoute route = Route();
    for (const auto& [id, action] : m_actions) {
        const CommandState state = route.State(id);
        action->setEnabled(state.enabled);
        // A text of the moment, or the table's again once the handler names nothing.
        if (!state.text.empty() || m_renamed.count(id)) {
            const std::string text = state.text.empty() ? CommandMenuText(id) : state.text;
            action->setText(QString::fromStdString(text));
            if (state.text.empty())
                m_renamed.erase(id);
            else
                m_renamed.insert(id);
        }
        if (action->isCheckable())
            action->setChecked(state.checked);
    }
    for (const auto& [id, button] : m_toolButtons)
        button->setEnabled(m_actions.at(id)->isEnabled());
    const CView* view = ActiveView();
    const QString title =
        QString::fromStdString(FrameTitle(view ? view->GetDocument().GetTitle() : ""));
    if (windowTitle() != title)
        setWindowTitle(title);
    for (QMdiSubWindow* w : m_mdi->subWindowList())
        if (auto* frame = qobject_cast<CChildFrame*>(w))
            frame->RefreshTitle();
}

void CMainFrame::ShowActiveStatus() {
    // A busy document's progress owns the panes until it ends.
    const CView* view = ActiveView();
    if (!view || ActiveDocumentBusy())
        return;
    // The last window's counts and failure were its own; a listing puts back its page counts.
    const CLumetraDoc& doc = view->GetDocument();
    Ui& ui = m_app.GetUi();
    ui.SetStatusText(0, doc.m_strFitFailure.empty() ? "Ready" : FitFailureNote(doc));
    ui.SetStatusText(1, "");
    ui.SetStatusText(2, "");
}

void CMainFrame::SaveActiveDocument(bool saveAs) {
    CView* view = ActiveView();
    if (!view)
        return;
    CLumetraDoc& doc = view->GetDocument();
    // The writer would read pairs that a read or a build of this document is still changing.
    if (ActiveDocumentBusy() || !doc.DoSave(saveAs))
        return;
    m_app.NoteFileUsed(doc.GetPathName());
    // The report and the window titles name the file at once.
    ShowNewFileName(doc);
    m_app.UpdateAllViews(doc, nullptr, kHintReportRebuilt);
    UpdateCommandUI();
}

void CMainFrame::NewWindow(bool plot) {
    CView* view = ActiveView();
    if (ActiveDocumentBusy())
        return;
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

void CMainFrame::RegisterCommands() {
    Handle(cmd::kNewListWindow, [this] { NewWindow(false); });
    Handle(cmd::kNewPlotWindow, [this] { NewWindow(true); });
    Handle(cmd::kStatisticsWindow, [this] {
        if (CView* view = ActiveView(); view && !ActiveDocumentBusy())
            m_app.DocManager().NewStatisticsView(view->GetDocument());
    });
    Handle(cmd::kFileSave, [this] { SaveActiveDocument(false); });
    Handle(cmd::kFileSaveAs, [this] { SaveActiveDocument(true); });
    Handle(cmd::kCascade, [this] { Cascade(); });
    Handle(cmd::kTile, [this] { m_mdi->tileSubWindows(); });
    Handle(cmd::kArrangeIcons, [this] { ArrangeIcons(); });
    for (const CommandDef& def : Commands())
        if (def.helpContext != 0)
            Handle(def.id, [this, context = def.helpContext] { ShowHelpContext(this, context); });
    Handle(cmd::kViewToolbar, [this] {
        m_toolBar->setVisible(!m_toolBar->isVisible());
    }).Checked([this] { return m_toolBar->isVisible(); });
    Handle(cmd::kViewStatusBar, [this] {
        statusBar()->setVisible(!statusBar()->isVisible());
    }).Checked([this] { return statusBar()->isVisible(); });

    // From a listing or a plot alike: there is something to save once the report exists, and
    // nothing is saved, and no window added, while the document is read or built.
    Answer(EnableRule::HaveReport, [this] {
        const CView* view = ActiveView();
        return view && view->GetDocument().m_nLineCount > 0 && !ActiveDocumentBusy();
    });
    Answer(EnableRule::DocumentIdle, [this] { return ActiveView() && !ActiveDocumentBusy(); });
    Answer(EnableRule::DocumentWindow, [this] { return ActiveView() != nullptr; });
    Answer(EnableRule::AnyWindow, [this] { return !m_mdi->subWindowList().isEmpty(); });
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
