#pragma once

#include "framework/View.h"

namespace lumetra {

class CAppHost;

// What every window of a document shares: its document, the application it asks, its widget,
// the Options commands and the rule that a command needs a report.
class CDocumentView : public CView {
public:
    // helpContext: the topic F1 opens in the window.
    CDocumentView(CAppHost& app, CLumetraDoc& doc, QWidget& widget, int helpContext);

    CLumetraDoc& GetDocument() const override { return m_doc; }
    QWidget* Widget() override { return &m_widget; }
    int HelpContext() const override { return m_nHelpContext; }

    // Options > Data and Options > Compute on the document.
    void OnOptionsData();
    void OnOptionsCompute();

protected:
    CAppHost& m_app;
    CLumetraDoc& m_doc;

private:
    QWidget& m_widget;
    int m_nHelpContext;
};

} // namespace lumetra
