#include "options/ResolutionPage.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lumetra {

CCurveData::CCurveData(CLumetraDoc& doc, Ui& ui, CMySheet& sheet)
    : CPropertyPage("Resolution", doc, ui), m_editXDecimals(new QLineEdit),
      m_editYDecimals(new QLineEdit), m_radioXExponential(new QRadioButton("Exponential")),
      m_radioXStandard(new QRadioButton("Standard")),
      m_radioYExponential(new QRadioButton("Exponential")),
      m_radioYStandard(new QRadioButton("Standard")), m_labelXCaption(new QLabel("X-Data")),
      m_labelYCaption(new QLabel("Y-Data")), m_sheet(sheet) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeGroup("Data Precision: ", m_labelXCaption, m_editXDecimals,
                                m_radioXExponential, m_radioXStandard));
    layout->addWidget(MakeGroup(" Data Precision: ", m_labelYCaption, m_editYDecimals,
                                m_radioYExponential, m_radioYStandard));
    layout->addStretch();
}

QGroupBox* CCurveData::MakeGroup(const QString& title, QLabel* caption, QLineEdit* decimals,
                                 QRadioButton* exponential, QRadioButton* standard) {
    auto* group = new QGroupBox(title);
    auto* row = new QHBoxLayout(group);
    row->addWidget(caption);
    auto* places = new QFormLayout;
    decimals->setMaximumWidth(50);
    places->addRow("Decimal Places", decimals);
    row->addLayout(places);
    auto* style = new QGroupBox(" Display Style ");
    auto* styleLayout = new QVBoxLayout(style);
    styleLayout->addWidget(exponential);
    styleLayout->addWidget(standard);
    auto* exclusive = new QButtonGroup(group); // two pairs on one page
    exclusive->addButton(exponential);
    exclusive->addButton(standard);
    row->addWidget(style);
    return group;
}

void CCurveData::SaveControls() {
    m_rules.m_strXDecimals = m_editXDecimals->text().toStdString();
    m_rules.m_strYDecimals = m_editYDecimals->text().toStdString();
    m_rules.m_nXStyle = m_radioXStandard->isChecked()      ? 1
                        : m_radioXExponential->isChecked() ? 0
                                                           : -1;
    m_rules.m_nYStyle = m_radioYStandard->isChecked()      ? 1
                        : m_radioYExponential->isChecked() ? 0
                                                           : -1;
}

void CCurveData::ShowMembers() {
    m_editXDecimals->setText(QString::fromStdString(m_rules.m_strXDecimals));
    m_editYDecimals->setText(QString::fromStdString(m_rules.m_strYDecimals));
    m_radioXStandard->setChecked(m_rules.m_nXStyle == 1);
    m_radioXExponential->setChecked(m_rules.m_nXStyle == 0);
    m_radioYStandard->setChecked(m_rules.m_nYStyle == 1);
    m_radioYExponential->setChecked(m_rules.m_nYStyle == 0);
    m_labelXCaption->setText(QString::fromStdString(m_rules.m_strXCaption));
    m_labelYCaption->setText(QString::fromStdString(m_rules.m_strYCaption));
}

void CCurveData::OnSetActive() {
    m_rules.OnSetActive(m_doc);
    ShowMembers();
}

bool CCurveData::OnKillActive() {
    SaveControls();
    const PageField refused = m_rules.OnKillActive(m_ui, m_doc, m_sheet.m_bRefreshDataList);
    QLineEdit* edit = refused == PageField::XDecimals   ? m_editXDecimals
                      : refused == PageField::YDecimals ? m_editYDecimals
                                                        : nullptr;
    if (edit) {
        edit->setFocus();
        edit->selectAll();
    }
    return refused == PageField::None;
}

void CCurveData::OnOK() {
    SaveControls();
    m_rules.OnOK(m_doc);
}

} // namespace lumetra
