#pragma once

#include "options/CurveDataRules.h"
#include "options/OptionsSheet.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace lumetra {

// The Resolution page: decimal places and fixed or exponent display, per axis.
class CCurveData : public CPropertyPage {
    Q_OBJECT
public:
    CCurveData(CLumetraDoc& doc, Ui& ui, CMySheet& sheet);

    void OnSetActive() override;
    bool OnKillActive() override;
    void OnOK() override;
    int HelpContext() const override { return 5005; }

    CurveDataRules m_rules;
    QLineEdit* m_editXDecimals;
    QLineEdit* m_editYDecimals;
    QRadioButton* m_radioXExponential;
    QRadioButton* m_radioXStandard;
    QRadioButton* m_radioYExponential;
    QRadioButton* m_radioYStandard;
    QLabel* m_labelXCaption;
    QLabel* m_labelYCaption;

private:
    QGroupBox* MakeGroup(const QString& title, QLabel* caption, QLineEdit* decimals,
                         QRadioButton* exponential, QRadioButton* standard);
    void SaveControls();
    void ShowMembers();

    CMySheet& m_sheet;
};

} // namespace lumetra
