#pragma once

#include "fit/FitMethod.h"

#include <string>

namespace lumetra {

class CLumetraDoc;
class Ui;

// The field a refusing page puts the focus on.
enum class PageField { None, DataTitle, XTitle, YTitle, Order, XDecimals, YDecimals };

// What the Curve page decides: titles, curve model and order, their baselines, the checks on
// leaving and the writing back on OK. The page itself only moves values between its controls
// and these members.
struct CurveTypeRules {
    int m_bChanged = 0;
    int m_bFirstActivation = 1;
    int m_nType = -1;
    int m_nOrder = 0;
    std::string m_strDataTitle;
    std::string m_strXTitle;
    std::string m_strYTitle;
    FitMethod m_eMethod = FitMethod::Classic;

    // On the first activation only: loads the document's values as the baselines.
    void OnSetActive(const CLumetraDoc& doc);
    void LoadFromDocument(const CLumetraDoc& doc);
    // A model without an order runs with order 1: returns whether the order field is enabled.
    bool UpdateOrderField();
    // The checks on leaving the page; on refusal the message is shown and the field named.
    PageField OnKillActive(Ui& ui, CLumetraDoc& doc);
    // Writes the values into the document; a changed method is remembered in the settings too.
    void OnOK(CLumetraDoc& doc);

private:
    std::string m_baseDataTitle, m_baseXTitle, m_baseYTitle;
    int m_nBaseType = 0, m_nBaseOrder = 0;
    FitMethod m_eBaseMethod = FitMethod::Classic;
};

} // namespace lumetra
