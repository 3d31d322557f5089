#pragma once

#include "app/View.h"

#include <QPlainTextEdit>

namespace lumetra {

class CAppHost;

// The Statistics window: the statistics of its document's present fit as text, refreshed after
// every fit, printable, its text selectable and copyable.
class CStatisticsView : public QPlainTextEdit, public CView {
    Q_OBJECT
public:
    CStatisticsView(CAppHost& app, CLumetraDoc& doc);

    CLumetraDoc& GetDocument() const override { return m_doc; }
    void OnUpdate(CView* sender, int hint) override;
    void OnInitialUpdate() override;
    QWidget* Widget() override { return this; }
    bool OnCommand(int id) override;
    std::optional<CommandState> OnUpdateCommand(int id) override;

    // Shows the statistics of the document as it stands.
    void Refresh();
    // File > Print: the text on the application's printer; true when it was printed.
    bool OnFilePrint();

private:
    CAppHost& m_app;
    CLumetraDoc& m_doc;
};

} // namespace lumetra
