#pragma once

#include "options/CurveTypeRules.h"

#include <string>

namespace lumetra {

// What the Resolution page decides: decimal places and display style per axis. It writes the
// document each time it is left with valid values.
struct CurveDataRules {
    int m_bChanged = 0;
    std::string m_strXDecimals;
    std::string m_strYDecimals;
    int m_nYStyle = -1;
    int m_nXStyle = -1;
    std::string m_strXCaption;
    std::string m_strYCaption;

    // Every activation reloads, so the captions follow titles changed on the Curve page.
    void OnSetActive(const CLumetraDoc& doc) { LoadFromDocument(doc); }
    void LoadFromDocument(const CLumetraDoc& doc);
    // On success the document holds the new settings; refreshDataList is raised when they
    // changed, so the Data page formats its list lines anew.
    PageField OnKillActive(Ui& ui, CLumetraDoc& doc, int& refreshDataList);
    void OnOK(CLumetraDoc& doc);

private:
    bool DiffersFromBaselines(int x, int y) const;
    void Write(CLumetraDoc& doc, int x, int y) const;

    int m_nBaseXDecimals = 0, m_nBaseYDecimals = 0, m_nBaseXStyle = 0, m_nBaseYStyle = 0;
};

} // namespace lumetra
