#include "report/GoToPageDlg.h"

#include "data/NumberScan.h"
#include "platform/Ui.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumetra {

CGoToPageDlg::CGoToPageDlg(Ui& ui, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_edit(new QLineEdit) {
    setWindowTitle("Go to Display Page");
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Go To Display Page:"), 0, 0);
    m_edit->setMaximumWidth(60);
    layout->addWidget(m_edit, 0, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CGoToPageDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CGoToPageDlg::reject);
    layout->addWidget(buttons, 1, 0, 1, 2, Qt::AlignCenter);
}

void CGoToPageDlg::showEvent(QShowEvent* event) {
    m_edit->setText(QString::number(m_nPage));
    m_edit->selectAll();
    m_edit->setFocus();
    QDialog::showEvent(event);
}

bool CGoToPageDlg::Run() {
    return exec() == QDialog::Accepted;
}

void CGoToPageDlg::accept() {
    int page = 0;
    if (!ReadWholeNumber(m_edit->text().toStdString(), page)) {
        m_ui.MessageBox("Please enter an integer.");
        m_edit->setFocus();
        m_edit->selectAll();
        return;
    }
    m_nPage = page;
    QDialog::accept();
}

} // namespace lumetra
