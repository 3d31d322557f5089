#pragma once

#include "options/OptionsSheet.h"

namespace lumetra {

// The Data page of the Options sheet, between Curve and Resolution. It holds no controls yet:
// typing and importing pairs arrive with their own change.
class CData : public CPropertyPage {
    Q_OBJECT
public:
    CData(CLumetraDoc& doc, Ui& ui) : CPropertyPage("Data", doc, ui) {}
    int HelpContext() const override { return 5004; }
};

} // namespace lumetra
