#pragma once

#include "options/OptionsSheet.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lumetra {

// A Compute page: a value typed, the fitted curve evaluated at it. Compute Y gives Y from X
// (curve types 0 to 2), Compute X gives X from Y (type 3); the other page is greyed.
class CComputePage : public CPropertyPage {
    Q_OBJECT
public:
    CComputePage(CLumetraDoc& doc, Ui& ui, bool computeX);

    void OnSetActive() override;
    int HelpContext() const override { return m_bComputeX ? 5007 : 5006; }
    void OnCompute();

    std::string m_strInput;
    std::string m_strResult;
    QLineEdit* m_editInput;
    QPushButton* m_buttonCompute;
    QLabel* m_labelOutput; // " Y = " or " X = "
    QLabel* m_labelResult;

private:
    bool m_bComputeX;
};

// The two pages under the names the program has always used.
class CCompY : public CComputePage {
    Q_OBJECT
public:
    CCompY(CLumetraDoc& doc, Ui& ui) : CComputePage(doc, ui, false) {}
};

class CCompX : public CComputePage {
    Q_OBJECT
public:
    CCompX(CLumetraDoc& doc, Ui& ui) : CComputePage(doc, ui, true) {}
};

} // namespace lumetra
