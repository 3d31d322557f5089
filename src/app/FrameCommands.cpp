// The main frame's Edit > Copy for text views, File > Close, the Window menu's list of windows,
// More Windows..., F6 / Shift+F6, F1, the document windows' context menus and dropped files.
#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/CommandMenu.h"
#include "app/LumetraApp.h"
#include "data/FileSuffix.h"
#include "data/LumetraDoc.h"
#include "framework/CommandIds.h"
#include "framework/CommandTable.h"
#include "framework/DocManager.h"
#include "framework/HelpViewer.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

namespace lumetra {

void CMainFrame::CreateFrameCommands() {
    Handle(cmd::kEditCopy, [this] {
        if (CView* view = ActiveView(); view && view->CanCopyText())
            QGuiApplication::clipboard()->setText(QString::fromStdString(view->CopyText()));
    });
    Handle(cmd::kFileClose, [this] { CloseActiveDocument(); });
    Handle(cmd::kNextWindow, [this] { m_mdi->activateNextSubWindow(); });
    Handle(cmd::kPrevWindow, [this] { m_mdi->activatePreviousSubWindow(); });
    Handle(cmd::kMoreWindows, [this] { ChooseFromAllWindows(); });
    // The window's own close, which asks to save only for the data set's last window.
    Handle(cmd::kCloseWindow, [this] { m_mdi->closeActiveSubWindow(); });
    Handle(cmd::kHelpTopic, [this] {
        CView* view = ActiveView();
        ShowHelpContext(this, view ? view->HelpContext() : help::kContents);
    });
    Answer(EnableRule::CopyableText, [this] {
        const CView* view = ActiveView();
        return view && view->CanCopyText();
    });
    Answer(EnableRule::SeveralWindows, [this] { return m_mdi->subWindowList().size() > 1; });
    for (QAction* menu : menuBar()->actions())
        if (menu->menu() && menu->menu()->actions().contains(Action(cmd::kNewListWindow)))
            m_windowMenu = menu->menu();
    // A right click in a document window that the window itself does not take comes up to the
    // area: the menu of its view's commands, made of the menu bar's own actions.
    m_mdi->viewport()->installEventFilter(this);
    if (!m_windowMenu)
        return;
    m_windowListSeparator = m_windowMenu->addSeparator();
    // The list goes between the separator and More Windows....
    m_moreWindows = Action(cmd::kMoreWindows);
    m_windowMenu->removeAction(m_moreWindows);
    m_windowMenu->addAction(m_moreWindows);
    connect(m_windowMenu, &QMenu::aboutToShow, this, &CMainFrame::RebuildWindowList);
}

void CMainFrame::RebuildWindowList() {
    for (QAction* a : m_windowActions)
        delete a;
    m_windowActions.clear();
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    m_windowListSeparator->setVisible(!windows.isEmpty());
    QMdiSubWindow* active = m_mdi->currentSubWindow();
    for (int i = 0; i < windows.size() && i < cmd::kWindowListSize; ++i) {
        QMdiSubWindow* window = windows[i];
        // A file name's "&" is shown, not taken for a mnemonic.
        QString title = window->windowTitle();
        title.replace('&', "&&");
        auto* a = new QAction(QString("&%1 %2").arg(i + 1).arg(title), this);
        a->setCheckable(true);
        a->setChecked(window == active);
        a->setStatusTip("Activate this window");
        connect(a, &QAction::triggered, this, [this, window] {
            if (m_mdi->subWindowList().contains(window))
                m_mdi->setActiveSubWindow(window);
        });
        m_windowMenu->insertAction(m_moreWindows, a);
        m_windowActions.push_back(a);
    }
    m_moreWindows->setVisible(windows.size() > cmd::kWindowListSize);
}

void CMainFrame::ChooseFromAllWindows() {
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    QDialog dialog(this);
    dialog.setWindowTitle("Select Window");
    auto* list = new QListWidget(&dialog);
    for (QMdiSubWindow* w : windows)
        list->addItem(w->windowTitle());
    list->setCurrentRow(int(windows.indexOf(m_mdi->currentSubWindow())));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(buttons);
    if (m_app.RunDialog(dialog) != QDialog::Accepted)
        return;
    // A window may have closed while the list was open.
    const int row = list->currentRow();
    if (row >= 0 && row < windows.size() && m_mdi->subWindowList().contains(windows[row]))
        m_mdi->setActiveSubWindow(windows[row]);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_mdi->viewport() || event->type() != QEvent::ContextMenu)
        return QMainWindow::eventFilter(watched, event);
    auto* menuEvent = static_cast<QContextMenuEvent*>(event);
    for (QWidget* w = m_mdi->viewport()->childAt(menuEvent->pos()); w; w = w->parentWidget())
        if (auto* frame = qobject_cast<CChildFrame*>(w)) {
            CView& view = frame->View();
            const QWidget* content = view.Widget();
            // Not on the frame's title bar or border, which have a menu of their own.
            if (!content->rect().contains(content->mapFromGlobal(menuEvent->globalPos())) ||
                view.ContextCommands().empty())
                break;
            m_mdi->setActiveSubWindow(frame);
            ShowCommandMenu(*this, view.ContextCommands(), view.Widget(), menuEvent->globalPos());
            return true;
        }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::CloseActiveDocument() {
    CView* view = ActiveView();
    if (!view)
        return;
    CLumetraDoc& doc = view->GetDocument();
    if (!doc.SaveModified())
        return;
    // The document agreed: every window of it goes without asking again.
    for (QMdiSubWindow* w : m_mdi->subWindowList())
        if (auto* frame = qobject_cast<CChildFrame*>(w);
            frame && &frame->View().GetDocument() == &doc)
            frame->CloseWithoutAsking();
}

void CMainFrame::OpenDroppedFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        const std::string file = path.toStdString();
        if (HasFileSuffix(file, ".dat"))
            m_app.OpenDocumentFile(file);
        else
            m_app.NewDataFromText(file);
    }
}

} // namespace lumetra
