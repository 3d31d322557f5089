#include "app/AboutDlg.h"

#include "framework/ToolbarImages.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace lumetra {
namespace {

QLabel* IconLabel(const QIcon& icon) {
    auto* label = new QLabel;
    label->setPixmap(icon.pixmap(32, 32));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

QLabel* CentredLine(const QString& text) {
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent),
      m_text(
          new QLabel(QStringList{"Lumetra Version " + QStringLiteral(LUMETRA_VERSION),
                                 "Vandrel Enterprises", "Least-squares curve fitting for X/Y data"}
                         .join('\n'))),
      m_contacts{CentredLine("support@vandrel.example"),
                 CentredLine("https://vandrel.example/lumetra")} {
    setWindowTitle("About Lumetra");
    setModal(true);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_text->setMargin(8);

    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(14);
    layout->addWidget(IconLabel(ApplicationIcon()), 0, 0);
    layout->addWidget(IconLabel(DocumentIcon()), 1, 0, 2, 1);
    layout->addWidget(m_text, 0, 1);
    layout->addWidget(m_contacts[0], 1, 1);
    layout->addWidget(m_contacts[1], 2, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QStringList CAboutDlg::TextLines() const {
    return m_text->text().split('\n');
}

QStringList CAboutDlg::ContactLines() const {
    return {m_contacts[0]->text(), m_contacts[1]->text()};
}

} // namespace lumetra
