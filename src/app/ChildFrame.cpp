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
    manager.AddView(view.GetDocument(), view);
    RefreshTitle();
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
    // Which view this is; the listing, the document's own window, goes by its title alone.
    if (*m_view.ViewName())
        title += QString::fromUtf8(" \u2014 ") + m_view.ViewName();
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CChildFrame::CloseWithoutAsking() {
    m_bAsked = true;
    close();
}

void CChildFrame::resizeEvent(QResizeEvent* event) {
    QMdiSubWindow::resizeEvent(event);
    if (!widget())
        return;
    // No narrower than the view's controls need, so none of them clips its label; measured as
    // shown, in the style and fonts of the screen.
    const int need = widget()->minimumSizeHint().width() + width() - widget()->width();
    const int minimum = std::max(kDocumentWindowMinimum.width, need);
    if (minimumWidth() != minimum)
        setMinimumWidth(minimum);
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
