#include "options/CurveDataRules.h"

#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "platform/Ui.h"

namespace lumetra {

void CurveDataRules::LoadFromDocument(const CLumetraDoc& doc) {
    m_strXDecimals = FormatC("%d", {doc.m_nXDecimals});
    m_strYDecimals = FormatC("%d", {doc.m_nYDecimals});
    m_nXStyle = doc.m_bXFixed;
    m_nYStyle = doc.m_bYFixed;
    m_nBaseXDecimals = doc.m_nXDecimals;
    m_nBaseYDecimals = doc.m_nYDecimals;
    m_nBaseXStyle = m_nXStyle;
    m_nBaseYStyle = m_nYStyle;
    m_strXCaption = doc.m_strWorkXTitle + "-Data";
    m_strYCaption = doc.m_strWorkYTitle + "-Data";
}

bool CurveDataRules::DiffersFromBaselines(int x, int y) const {
    return x != m_nBaseXDecimals || y != m_nBaseYDecimals || m_nXStyle != m_nBaseXStyle ||
           m_nYStyle != m_nBaseYStyle;
}

void CurveDataRules::Write(CLumetraDoc& doc, int x, int y) const {
    doc.m_bXFixed = m_nXStyle;
    doc.m_bYFixed = m_nYStyle;
    doc.m_nXDecimals = x;
    doc.m_nYDecimals = y;
}

PageField CurveDataRules::OnKillActive(Ui& ui, CLumetraDoc& doc, int& refreshDataList) {
    const int x = TextToInt(m_strXDecimals);
    const int y = TextToInt(m_strYDecimals);
    auto refuse = [&ui](const char* message, PageField field) {
        ui.MessageBox(message);
        return field;
    };
    if (x < 0)
        return refuse("Can't have negative digits to right of X decimal point!",
                      PageField::XDecimals);
    if (y < 0)
        return refuse("Can't have negative digits to right of Y decimal point!",
                      PageField::YDecimals);
    if (x > kMaxDecimals)
        return refuse("Can't have more than 14 digits to right of X decimal point!",
                      PageField::XDecimals);
    if (y > kMaxDecimals)
        return refuse("Can't have more than 14 digits to right of Y decimal point!",
                      PageField::YDecimals);
    m_bChanged = DiffersFromBaselines(x, y);
    Write(doc, x, y);
    if (m_bChanged) {
        doc.SetModifiedFlag(true);
        doc.BuildFormats();
        refreshDataList = 1;
        m_bChanged = 0;
    }
    return PageField::None;
}

void CurveDataRules::OnOK(CLumetraDoc& doc) {
    const int x = TextToInt(m_strXDecimals);
    const int y = TextToInt(m_strYDecimals);
    m_bChanged = DiffersFromBaselines(x, y);
    if (m_bChanged)
        doc.SetModifiedFlag(true);
    Write(doc, x, y);
}

} // namespace lumetra
