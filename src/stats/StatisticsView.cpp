#include "stats/StatisticsView.h"

#include "app/AppHost.h"
#include "app/CommandIds.h"
#include "data/LumetraDoc.h"
#include "fit/FitStatistics.h"
#include "options/OptionsDialogs.h"
#include "platform/Ui.h"
#include "stats/StatisticsText.h"

#include <QPrintDialog>
#include <QPrinter>

namespace lumetra {

CStatisticsView::CStatisticsView(CAppHost& app, CLumetraDoc& doc) : m_app(app), m_doc(doc) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont font("Courier New");
    font.setPointSize(9);
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
}

void CStatisticsView::OnInitialUpdate() {
    Refresh();
}

void CStatisticsView::Refresh() {
    WaitCursor wait(m_app.GetUi());
    std::string text;
    for (const std::string& line : StatisticsLines(m_doc, DocumentStatistics(m_doc, kDefaultLevel)))
        text += line + '\n';
    setPlainText(QString::fromStdString(text));
}

void CStatisticsView::OnUpdate(CView*, int hint) {
    // A listing window fits on hint 1 and tells the others with hint 2 once it has.
    if (hint == kHintRefit || hint == kHintReportRebuilt)
        Refresh();
}

bool CStatisticsView::OnFilePrint() {
    QPrinter& printer = m_app.Printer();
    QPrintDialog dialog(&printer, this);
    if (m_app.RunDialog(dialog) != QDialog::Accepted)
        return false;
    WaitCursor wait(m_app.GetUi());
    print(&printer);
    return true;
}

bool CStatisticsView::OnCommand(int id) {
    switch (id) {
    case cmd::kFilePrint:
        OnFilePrint();
        return true;
    default:
        return RunOptionsCommand(m_app, *this, id);
    }
}

std::optional<CommandState> CStatisticsView::OnUpdateCommand(int id) {
    switch (id) {
    case cmd::kFilePrint:
    case cmd::kOptionsData:
    case cmd::kOptionsCompute:
        return CommandState{};
    case cmd::kPrintPreview:
        return CommandState{false};
    default:
        return std::nullopt;
    }
}

} // namespace lumetra
