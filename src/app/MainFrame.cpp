#include "app/MainFrame.h"

#include "data/DocumentSummary.h"
#include "data/LumetraDoc.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>

namespace lumetra {

CMainFrame::CMainFrame(Ui& ui, SettingsStore& settings)
    : m_ui(ui), m_settings(settings), m_view(new QPlainTextEdit(this)) {
    setWindowTitle("Lumetra");
    setMinimumSize(300, 220);
    m_view->setReadOnly(true);
    m_view->setFont(QFont("Courier New", 10));
    setCentralWidget(m_view);
    m_panes[0] = new QLabel("Ready");
    m_panes[1] = new QLabel;
    m_panes[2] = new QLabel;
    statusBar()->addWidget(m_panes[0], 1);
    statusBar()->addPermanentWidget(m_panes[1]);
    statusBar()->addPermanentWidget(m_panes[2]);
    resize(720, 480);
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::OpenDataFile(const QString& path) {
    auto doc = std::make_unique<CLumetraDoc>(m_ui, m_settings);
    if (!doc->OnOpenDocument(QFileInfo(path).absoluteFilePath().toStdString()))
        return false;
    m_doc = std::move(doc);
    m_view->setPlainText(QString::fromStdString(DescribeDocument(*m_doc)));
    return true;
}

QString CMainFrame::ShownText() const {
    return m_view->toPlainText();
}

} // namespace lumetra
