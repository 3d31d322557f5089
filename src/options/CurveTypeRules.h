#pragma once

#include "fit/FitMethod.h"
#include "fit/Weights.h"

#include <array>

#include <string>

namespace lumetra {

class CLumetraDoc;
class Ui;

// The field a refusing page puts the focus on.
enum class PageField { None, DataTitle, XTitle, YTitle, Order, XDecimals, YDecimals, Weights };

// The Curve page's words for the weighting schemes, in the order of the enum.
inline constexpr std::array<const char*, 7> kWeightSchemeCaptions = {
    "None",
    "Standard deviations (w = 1/\u03c3\u00b2)",
    "1/X",
    "1/X\u00b2",
    "1/Y",
    "1/Y\u00b2",
    "Replicate variance"};

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
    WeightScheme m_eWeights = WeightScheme::None;
    int m_bSigmaAbsolute = 0;

    // On the first activation only: loads the document's values as the baselines.
    void OnSetActive(const CLumetraDoc& doc);
    void LoadFromDocument(const CLumetraDoc& doc);
    // A model without an order runs with order 1: returns whether the order field is enabled.
    bool UpdateOrderField();
    // The checks on leaving the page; on refusal the message is shown and the field named.
    PageField OnKillActive(Ui& ui, CLumetraDoc& doc);
    // The check on OK, once every page has written its pairs: weights from standard deviations
    // need one on every pair. On refusal the message is shown and the choice named.
    PageField OnQueryOK(Ui& ui, const CLumetraDoc& doc) const;
    // Whether the absolute check box applies: only standard deviations can be known absolutely.
    bool AbsoluteApplies() const { return m_eWeights == WeightScheme::Sigma; }
    // Writes the values into the document; a changed method or weighting is remembered in the
    // settings too, for new data sets.
    void OnOK(CLumetraDoc& doc);

private:
    std::string m_baseDataTitle, m_baseXTitle, m_baseYTitle;
    int m_nBaseType = 0, m_nBaseOrder = 0;
    FitMethod m_eBaseMethod = FitMethod::Classic;
    WeightScheme m_eBaseWeights = WeightScheme::None;
    int m_bBaseSigmaAbsolute = 0;
};

} // namespace lumetra
