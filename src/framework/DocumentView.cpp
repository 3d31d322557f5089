#include "framework/DocumentView.h"

#include "data/LumetraDoc.h"
#include "framework/AppHost.h"
#include "framework/CommandIds.h"

namespace lumetra {

CDocumentView::CDocumentView(CAppHost& app, CLumetraDoc& doc, QWidget& widget, int helpContext)
    : m_app(app), m_doc(doc), m_widget(widget), m_nHelpContext(helpContext) {
    Handle(cmd::kOptionsData, [this] { OnOptionsData(); });
    Handle(cmd::kOptionsCompute, [this] { OnOptionsCompute(); });
    Answer(EnableRule::HaveReport, [this] { return m_doc.m_nLineCount > 0; });
}

void CDocumentView::OnOptionsData() {
    m_app.RunOptionsData(*this, {});
}

void CDocumentView::OnOptionsCompute() {
    m_app.RunOptionsCompute(*this);
}

} // namespace lumetra
