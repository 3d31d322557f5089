#include "framework/DocumentView.h"

#include "data/LumetraDoc.h"
#include "framework/AppHost.h"
#include "framework/CommandIds.h"

namespace lumetra {

CDocumentView::CDocumentView(CAppHost& app, CLumetraDoc& doc, QWidget& widget, int helpContext)
    : m_app(app), m_doc(doc), m_widget(widget), m_nHelpContext(helpContext) {
    Handle(cmd::kOptionsData, [this] { OnOptionsData(); });
    Handle(cmd::kOptionsCompute, [this] { OnOptionsCompute(); });
    const DocumentHistory& history = m_doc.m_history;
    Handle(cmd::kEditUndo, [this] { m_app.StepHistory(m_doc, false); }).Named([&history] {
        return history.CanUndo() ? CommandMenuText(cmd::kEditUndo) + " " + history.UndoName() : "";
    });
    Handle(cmd::kEditRedo, [this] { m_app.StepHistory(m_doc, true); }).Named([&history] {
        return history.CanRedo() ? CommandMenuText(cmd::kEditRedo) + " " + history.RedoName() : "";
    });
    Answer(EnableRule::CanUndo,
           [this] { return m_doc.m_history.CanUndo() && !m_doc.m_bSheetOpen; });
    Answer(EnableRule::CanRedo,
           [this] { return m_doc.m_history.CanRedo() && !m_doc.m_bSheetOpen; });
    Answer(EnableRule::HaveReport, [this] { return m_doc.m_nLineCount > 0; });
}

void CDocumentView::OnOptionsData() {
    m_app.RunOptionsData(*this, {});
}

void CDocumentView::OnOptionsCompute() {
    m_app.RunOptionsCompute(*this);
}

} // namespace lumetra
