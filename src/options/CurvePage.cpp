#include "options/CurvePage.h"

#include "data/NumberScan.h"
#include "fit/CurveModels.h"
#include "platform/Ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace lumetra {

CCurveType::CCurveType(CLumetraDoc& doc, Ui& ui)
    : CPropertyPage("Curve", doc, ui), m_editDataTitle(new QLineEdit), m_editXTitle(new QLineEdit),
      m_editYTitle(new QLineEdit), m_editOrder(new QLineEdit),
      m_radioClassic(new QRadioButton("&Classic (normal equations)")),
      m_radioAccurate(new QRadioButton("&Accurate (orthogonal factorization)")),
      m_comboWeights(new QComboBox),
      m_checkAbsolute(new QCheckBox("The standard deviations are &known (absolute)")) {
    auto* layout = new QVBoxLayout(this);
    auto* titles = new QFormLayout;
    titles->addRow("Data &Title:", m_editDataTitle);
    titles->addRow("&X-Axis Title:", m_editXTitle);
    titles->addRow("&Y-Axis Title:", m_editYTitle);
    layout->addLayout(titles);
    auto* types = new QGroupBox(" Curve Type ");
    auto* typeLayout = new QVBoxLayout(types);
    for (const CurveModel& model : CurveModels()) {
        auto* radio = new QRadioButton(model.pageName);
        m_radioType.push_back(radio);
        typeLayout->addWidget(radio);
        connect(radio, &QRadioButton::clicked, this, &CCurveType::OnTypeClicked);
    }
    layout->addWidget(types);
    auto* order = new QFormLayout;
    m_editOrder->setMaximumWidth(60);
    order->addRow("Curve Order", m_editOrder);
    layout->addLayout(order);
    auto* methods = new QGroupBox(" Fit Method ");
    auto* methodLayout = new QVBoxLayout(methods);
    methodLayout->addWidget(m_radioClassic);
    methodLayout->addWidget(m_radioAccurate);
    layout->addWidget(methods);
    auto* weights = new QGroupBox(" Weights ");
    auto* weightsLayout = new QFormLayout(weights);
    for (const char* caption : kWeightSchemeCaptions)
        m_comboWeights->addItem(QString::fromUtf8(caption));
    weightsLayout->addRow("&Weighting:", m_comboWeights);
    weightsLayout->addRow(m_checkAbsolute);
    connect(m_comboWeights, &QComboBox::activated, this, [this](int index) {
        m_rules.m_eWeights = WeightScheme(index);
        m_checkAbsolute->setEnabled(m_rules.AbsoluteApplies());
    });
    layout->addWidget(weights);
    layout->addStretch();
}

bool CCurveType::SaveControls() {
    for (size_t i = 0; i < m_radioType.size(); ++i)
        if (m_radioType[i]->isChecked())
            m_rules.m_nType = CurveCode(CurveModels()[i]);
    m_rules.m_eMethod = m_radioAccurate->isChecked() ? FitMethod::Accurate : FitMethod::Classic;
    m_rules.m_eWeights = WeightScheme(std::max(0, m_comboWeights->currentIndex()));
    m_rules.m_bSigmaAbsolute = m_checkAbsolute->isChecked() ? 1 : 0;
    int order = 0;
    if (!ReadWholeNumber(m_editOrder->text().toStdString(), order)) {
        m_ui.MessageBox("Please enter an integer.");
        Focus(PageField::Order);
        return false;
    }
    m_rules.m_nOrder = order;
    m_rules.m_strDataTitle = m_editDataTitle->text().toStdString();
    m_rules.m_strXTitle = m_editXTitle->text().toStdString();
    m_rules.m_strYTitle = m_editYTitle->text().toStdString();
    return true;
}

void CCurveType::ShowMembers() {
    for (size_t i = 0; i < m_radioType.size(); ++i)
        m_radioType[i]->setChecked(m_rules.m_nType == CurveCode(CurveModels()[i]));
    m_editOrder->setText(QString::number(m_rules.m_nOrder));
    m_radioClassic->setChecked(m_rules.m_eMethod == FitMethod::Classic);
    m_radioAccurate->setChecked(m_rules.m_eMethod == FitMethod::Accurate);
    m_comboWeights->setCurrentIndex(int(m_rules.m_eWeights));
    m_checkAbsolute->setChecked(m_rules.m_bSigmaAbsolute != 0);
    m_checkAbsolute->setEnabled(m_rules.AbsoluteApplies());
    m_editDataTitle->setText(QString::fromStdString(m_rules.m_strDataTitle));
    m_editXTitle->setText(QString::fromStdString(m_rules.m_strXTitle));
    m_editYTitle->setText(QString::fromStdString(m_rules.m_strYTitle));
}

void CCurveType::OnSetActive() {
    if (m_rules.m_bFirstActivation) {
        m_rules.OnSetActive(m_doc);
        m_editOrder->setEnabled(m_rules.UpdateOrderField());
        ShowMembers();
    }
}

void CCurveType::OnTypeClicked() {
    SaveControls();
    m_editOrder->setEnabled(m_rules.UpdateOrderField());
    ShowMembers();
}

void CCurveType::Focus(PageField field) {
    QLineEdit* edit = field == PageField::Order    ? m_editOrder
                      : field == PageField::XTitle ? m_editXTitle
                      : field == PageField::YTitle ? m_editYTitle
                                                   : nullptr;
    if (edit) {
        edit->setFocus();
        edit->selectAll();
    }
}

bool CCurveType::OnKillActive() {
    SaveControls();
    const PageField refused = m_rules.OnKillActive(m_ui, m_doc);
    Focus(refused);
    if (refused != PageField::None)
        return false;
    // Text the page could not take (an order that is no whole number, and the titles typed
    // with it) gives way to the values it goes on with.
    ShowMembers();
    return true;
}

bool CCurveType::OnQueryOK() {
    m_rules.m_eWeights = WeightScheme(std::max(0, m_comboWeights->currentIndex()));
    return m_rules.OnQueryOK(m_ui, m_doc) == PageField::None;
}

void CCurveType::FocusRefused() {
    m_comboWeights->setFocus();
}

void CCurveType::OnOK() {
    SaveControls();
    m_rules.OnOK(m_doc);
}

} // namespace lumetra
