#include "options/ComputePages.h"

#include "data/LumetraDoc.h"
#include "options/ComputeRules.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumetra {

CComputePage::CComputePage(CLumetraDoc& doc, Ui& ui, bool computeX)
    : CPropertyPage(computeX ? "Compute X" : "Compute Y", doc, ui), m_editInput(new QLineEdit),
      m_buttonCompute(new QPushButton(computeX ? "Compute X" : "Compute Y")),
      m_labelOutput(new QLabel(computeX ? " X = " : " Y = ")), m_labelResult(new QLabel),
      m_bComputeX(computeX) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(computeX ? "Y = " : "X = "), 0, 0);
    layout->addWidget(m_editInput, 0, 1);
    layout->addWidget(m_buttonCompute, 0, 2);
    QFont mono("Courier New");
    mono.setStyleHint(QFont::TypeWriter);
    m_labelOutput->setFont(mono);
    m_labelResult->setFont(mono);
    m_labelResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The result goes beside its caption, which stays to say what it is.
    layout->addWidget(m_labelOutput, 1, 0);
    layout->addWidget(m_labelResult, 1, 1, 1, 2);
    layout->setRowStretch(2, 1);
    connect(m_buttonCompute, &QPushButton::clicked, this, &CComputePage::OnCompute);
}

void CComputePage::OnSetActive() {
    const bool enabled = ComputesYFromX(m_doc.m_nCurveType) != m_bComputeX;
    m_editInput->setEnabled(enabled);
    m_buttonCompute->setEnabled(enabled);
    if (enabled) {
        // Enter in the field computes; the sheet stays open.
        m_buttonCompute->setDefault(true);
        m_editInput->setFocus();
    }
}

void CComputePage::OnCompute() {
    m_strInput = m_editInput->text().toStdString();
    const ComputeOutcome outcome =
        m_bComputeX ? ComputeX(m_ui, m_doc, m_strInput) : ComputeY(m_ui, m_doc, m_strInput);
    if (outcome.computed) {
        m_strResult = outcome.result;
        m_labelResult->setText(QString::fromStdString(m_strResult));
        m_editInput->setText(QString::fromStdString(m_strInput)); // shown trimmed
    }
    m_editInput->setFocus();
}

} // namespace lumetra
