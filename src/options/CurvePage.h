#pragma once

#include "options/CurveTypeRules.h"
#include "options/OptionsSheet.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace lumetra {

// The Curve page: data and axis titles, curve model and order.
class CCurveType : public CPropertyPage {
    Q_OBJECT
public:
    CCurveType(CLumetraDoc& doc, Ui& ui);

    void OnSetActive() override;
    bool OnKillActive() override;
    void OnOK() override;
    bool OnQueryOK() override;
    void FocusRefused() override;
    int HelpContext() const override { return 5003; }

    CurveTypeRules m_rules;
    QLineEdit* m_editDataTitle;
    QLineEdit* m_editXTitle;
    QLineEdit* m_editYTitle;
    std::vector<QRadioButton*> m_radioType; // one per curve model, in table order
    QLineEdit* m_editOrder;
    QRadioButton* m_radioClassic;
    QRadioButton* m_radioAccurate;
    QComboBox* m_comboWeights; // one entry per weighting scheme, in the order of the enum
    QCheckBox* m_checkAbsolute;

private:
    // Controls to members; false when the order field holds no whole number (the message has
    // been shown, and the order and the titles keep what they had).
    bool SaveControls();
    void ShowMembers();
    void OnTypeClicked();
    void Focus(PageField field);
};

} // namespace lumetra
