#include "options/OptionsSheet.h"

#include "framework/HelpViewer.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace lumetra {

CPropertyPage::CPropertyPage(const QString& caption, CLumetraDoc& doc, Ui& ui)
    : m_doc(doc), m_ui(ui) {
    setWindowTitle(caption);
}

CMySheet::CMySheet(QWidget* parent)
    : QDialog(parent), m_tabs(new QTabBar), m_stack(new QStackedWidget) {
    setWindowTitle("Lumetra");
    m_tabs->setDrawBase(false);
    m_stack->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->addWidget(m_tabs);
    layout->addWidget(m_stack);
    layout->addSpacing(8);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Help);
    connect(buttons, &QDialogButtonBox::accepted, this, &CMySheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CMySheet::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, &CMySheet::OnHelp);
    // F1 asks for the page's topic, as the Help button does.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &CMySheet::OnHelp);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (m_bSwitching || index == m_nActive)
            return;
        // The clicked tab waits while the page showing decides whether it may be left.
        m_bSwitching = true;
        m_tabs->setCurrentIndex(m_nActive);
        m_bSwitching = false;
        SetActivePage(index);
    });
}

void CMySheet::AddPage(CPropertyPage* page) {
    m_pages.push_back(page);
    m_bSwitching = true;
    m_tabs->addTab(page->windowTitle());
    m_stack->addWidget(page);
    m_bSwitching = false;
}

CPropertyPage* CMySheet::ActivePage() const {
    return m_nActive >= 0 ? m_pages[size_t(m_nActive)] : nullptr;
}

void CMySheet::Activate(int index) {
    m_nActive = index;
    m_bSwitching = true;
    m_tabs->setCurrentIndex(index);
    m_stack->setCurrentIndex(index);
    m_bSwitching = false;
    m_ok->setDefault(true); // Enter means OK unless the page shown gives it a default of its own
    m_pages[size_t(index)]->m_bShown = true;
    m_pages[size_t(index)]->OnSetActive();
}

bool CMySheet::SetActivePage(int index) {
    if (index < 0 || size_t(index) >= m_pages.size())
        return false;
    if (CPropertyPage* current = ActivePage(); current && !current->OnKillActive())
        return false;
    Activate(index);
    return true;
}

void CMySheet::showEvent(QShowEvent* event) {
    if (m_nActive < 0 && !m_pages.empty())
        Activate(0);
    QDialog::showEvent(event);
}

void CMySheet::keyPressEvent(QKeyEvent* event) {
    const int n = int(m_pages.size());
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int key = event->key();
    int step = 0;
    if (ctrl && (key == Qt::Key_Tab || key == Qt::Key_PageDown))
        step = 1;
    else if (ctrl && (key == Qt::Key_Backtab || key == Qt::Key_PageUp))
        step = -1;
    if (step == 0 || n == 0) {
        QDialog::keyPressEvent(event);
        return;
    }
    SetActivePage((m_nActive + step + n) % n);
}

void CMySheet::accept() {
    if (m_nActive < 0 && !m_pages.empty())
        Activate(0);
    if (CPropertyPage* current = ActivePage(); current && !current->OnKillActive())
        return;
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i]->m_bShown && !m_pages[i]->OnQueryOK()) {
            if (int(i) != m_nActive)
                Activate(int(i)); // the page showing has been left already
            m_pages[i]->FocusRefused();
            return;
        }
    for (CPropertyPage* page : m_pages)
        if (page->m_bShown)
            page->OnOK();
    QDialog::accept();
}

void CMySheet::done(int result) {
    if (m_nBusy > 0)
        return;
    QDialog::done(result);
}

void CMySheet::OnHelp() {
    if (CPropertyPage* page = ActivePage())
        ShowHelpContext(this, page->HelpContext());
}

} // namespace lumetra
