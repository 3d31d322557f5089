#include "app/ChildFrame.h"

#include "app/WindowLayout.h"
#include "data/LumetraDoc.h"
#include "framework/DocManager.h"
#include "framework/ToolbarImages.h"
#include "framework/View.h"

#include <QCloseEvent>

#include <algorithm>

namespace lumetra {

CChildFrame::CChildFrame(CDocManager& manager, CView& view) : m_manager(manager), m_view(view) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view.Widget());
    setMinimumSize(kDocumentWindowMinimum.width, kDocumentWindowMinimum.height);
    setWindowIcon(DocumentIcon()); // the data file's icon, not the toolkit's
    setWindowTitle(QString::fromStdString(view.GetDocument().GetTitle()));
    manager.AddView(view.GetDocument(), view);
}

CChildFrame::~CChildFrame() {
    std::unique_ptr<CLumetraDoc> orphan = m_manager.DetachView(m_view);
    // The view goes before its document, which it may still refer to.
    delete widget();
}

void CChildFrame::RefreshTitle() {
    const CLumetraDoc& doc = m_view.GetDocument();
    const std::vector<CView*>& views = m_manager.Views(doc);
    QString title = QString::fromStdString(doc.GetTitle());
    if (views.size() > 1) {
        const auto it = std::find(views.begin(), views.end(), &m_view);
        title += ":" + QString::number(int(it - views.begin()) + 1);
    }
    if (doc.IsModified())
        title += "*";
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CChildFrame::CloseWithoutAsking() {
    m_bAsked = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    CLumetraDoc& doc = m_view.GetDocument();
    const bool last = m_manager.Views(doc).size() == 1;
    // Another window of a busy document may be in the middle of its build, which refers to
    // this one; the last window instead asks the close guard, which stops the build.
    if (!m_bAsked && !last && m_manager.IsBusy(doc)) {
        event->ignore();
        return;
    }
    if (!m_bAsked && last && !doc.SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

} // namespace lumetra
