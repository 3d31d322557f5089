#include "options/CurveTypeRules.h"

#include "data/LumetraDoc.h"
#include "fit/CurveModels.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"

#include <algorithm>

namespace lumetra {

void CurveTypeRules::OnSetActive(const CLumetraDoc& doc) {
    if (!m_bFirstActivation)
        return;
    m_bFirstActivation = 0;
    LoadFromDocument(doc);
}

void CurveTypeRules::LoadFromDocument(const CLumetraDoc& doc) {
    m_nType = doc.m_nCurveType;
    m_strDataTitle = doc.m_strDataTitle;
    m_strXTitle = doc.m_strXTitle;
    m_strYTitle = doc.m_strYTitle;
    m_nOrder = doc.m_nOrder;
    m_eMethod = doc.m_eFitMethod;
    m_eBaseMethod = m_eMethod;
    m_eWeights = m_eBaseWeights = doc.m_eWeights;
    m_bSigmaAbsolute = m_bBaseSigmaAbsolute = doc.m_bSigmaAbsolute;
    m_baseDataTitle = m_strDataTitle;
    m_baseXTitle = m_strXTitle;
    m_baseYTitle = m_strYTitle;
    m_nBaseType = m_nType;
    m_nBaseOrder = m_nOrder;
    UpdateOrderField();
}

bool CurveTypeRules::UpdateOrderField() {
    const CurveModel* model = FindCurveModel(m_nType);
    if (model && !model->usesOrder) {
        m_nOrder = 1;
        return false;
    }
    return true;
}

PageField CurveTypeRules::OnKillActive(Ui& ui, CLumetraDoc& doc) {
    auto refuse = [&ui](const std::string& message, PageField field) {
        ui.MessageBox(message);
        return field;
    };
    if (m_nOrder < 1)
        return refuse("Order must be at least 1!", PageField::Order);
    if (m_nOrder > kMaxOrder)
        return refuse("Order must not exceed" + FormatC(" %d!", {kMaxOrder}), PageField::Order);
    if (m_strXTitle.empty()) {
        m_strXTitle = "X"; // the next transfer from the still empty field overwrites it
        return refuse("X-Axis Title must not be left empty!", PageField::XTitle);
    }
    if (m_strYTitle.empty()) {
        m_strYTitle = "Y";
        return refuse("Y-Axis Title must not be left empty!", PageField::YTitle);
    }
    doc.m_strWorkXTitle = m_strXTitle;
    doc.m_strWorkYTitle = m_strYTitle;
    return PageField::None;
}

PageField CurveTypeRules::OnQueryOK(Ui& ui, const CLumetraDoc& doc) const {
    if (m_eWeights != WeightScheme::Sigma)
        return PageField::None;
    const auto lacking = std::count_if(doc.m_pPairs.begin(), doc.m_pPairs.end(),
                                       [](const CXYdata& pair) { return !pair.HasSigma(); });
    if (lacking == 0)
        return PageField::None;
    ui.MessageBox(FormatC("Weights from standard deviations need one on every pair,\n"
                          "but %d of the %d pairs have none!\n"
                          "Enter them on the Data page, or choose other weights.",
                          {(long long)lacking, (long long)doc.m_pPairs.size()}));
    return PageField::Weights;
}

void CurveTypeRules::OnOK(CLumetraDoc& doc) {
    const int absolute = AbsoluteApplies() ? m_bSigmaAbsolute : 0;
    m_bChanged = m_strDataTitle != m_baseDataTitle || m_strXTitle != m_baseXTitle ||
                 m_strYTitle != m_baseYTitle || m_nType != m_nBaseType ||
                 m_nOrder != m_nBaseOrder || m_eMethod != m_eBaseMethod ||
                 m_eWeights != m_eBaseWeights || absolute != m_bBaseSigmaAbsolute;
    if (m_bChanged)
        doc.SetModifiedFlag(true);
    doc.m_nCurveType = m_nType;
    doc.m_strDataTitle = m_strDataTitle;
    doc.m_strXTitle = m_strXTitle;
    doc.m_strYTitle = m_strYTitle;
    doc.m_nOrder = m_nOrder;
    if (m_eMethod != m_eBaseMethod)
        doc.GetSettings().SetString("Preferences", kFitMethodEntry,
                                    std::string(FitMethodWord(m_eMethod)));
    doc.m_eFitMethod = m_eMethod;
    SettingsStore& settings = doc.GetSettings();
    if (m_eWeights != m_eBaseWeights)
        settings.SetString("Preferences", kWeightsEntry, std::string(WeightSchemeWord(m_eWeights)));
    if (absolute != m_bBaseSigmaAbsolute)
        settings.SetString("Preferences", kSigmaAbsoluteEntry, absolute ? "1" : "0");
    doc.m_eWeights = m_eWeights;
    doc.m_bSigmaAbsolute = absolute;
}

} // namespace lumetra
