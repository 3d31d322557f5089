#pragma once

#include <QMdiSubWindow>

namespace lumetra {

class CDocManager;
class CView;

// The frame of one document window (a listing or a plot). Closing the last window of a document
// asks the document's close guard first.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(CDocManager& manager, CView& view);
    ~CChildFrame() override;

    CView& View() const { return m_view; }
    // The title of the document, numbered when the document has more than one window, with a
    // "*" while it holds changes not saved.
    void RefreshTitle();
    // For an application that is ending after every document agreed to close.
    void CloseWithoutAsking();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CDocManager& m_manager;
    CView& m_view;
    bool m_bAsked = false;
};

} // namespace lumetra
