#include "data/LumetraDoc.h"

#include "fit/FitState.h"
#include "platform/SettingsStore.h"

namespace lumetra {
namespace {

std::string ValueFormat(int fixed, int width, int decimals) {
    return FormatC(fixed ? "%%-%d.%dlf" : "%%-%d.%dE", {width, decimals});
}

} // namespace

CLumetraDoc::CLumetraDoc(Ui& ui, SettingsStore& settings) : m_pUi(&ui), m_pSettings(&settings) {
    m_eFitMethod = FitMethodFromWord(settings.GetString("Preferences", kFitMethodEntry, ""))
                       .value_or(FitMethod::Classic);
    m_eWeights = WeightSchemeFromWord(settings.GetString("Preferences", kWeightsEntry, ""))
                     .value_or(WeightScheme::None);
    m_bSigmaAbsolute = settings.GetString("Preferences", kSigmaAbsoluteEntry, "") == "1" ? 1 : 0;
}

void CLumetraDoc::SetPathName(const std::string& path) {
    m_strPathName = path;
    const size_t slash = path.rfind('/');
    m_strTitle = slash == std::string::npos ? path : path.substr(slash + 1);
}

void CLumetraDoc::BuildFormats() {
    m_szXFormat = ValueFormat(m_bXFixed, m_nXWidth, m_nXDecimals);
    m_szYFormat = ValueFormat(m_bYFixed, m_nYWidth, m_nYDecimals);
    const bool yWider = m_nYDecimals > m_nXDecimals;
    m_szWideFormat = ValueFormat(m_bXFixed && m_bYFixed, yWider ? m_nYWidth : m_nXWidth,
                                 yWider ? m_nYDecimals : m_nXDecimals);
    m_szRowFormat = FormatC("%s\t%s\t%s\t%s", {m_szXFormat, m_szYFormat, m_szYFormat,
                                               yWider ? m_szYFormat : m_szXFormat});
    m_szPairFormat = FormatC("%s\t%s", {m_szXFormat, m_szYFormat});
    m_rowFormat = CompiledFormat(m_szRowFormat);
    m_pairFormat = CompiledFormat(m_szPairFormat);
}

void CLumetraDoc::ClearData() {
    m_pReportLines.clear();
    m_pReportLines.shrink_to_fit();
    m_pPairs.clear();
    m_pPairs.shrink_to_fit();
    m_bFitFailed = 0;
    m_strFitFailure.clear();
    m_dClassicDigits = -1.0;
    m_pFitState.reset();
    m_pInfluence.reset();
    m_pInfluenceFit.reset();
}

void CLumetraDoc::ResetExtremes(const CXYdata& first) {
    m_dMaxX = m_dMinX = first.m_dX;
    m_dMaxY = m_dMinY = first.m_dY;
}

void CLumetraDoc::UpdateExtremes(const CXYdata& pair) {
    if (pair.m_dX > m_dMaxX)
        m_dMaxX = pair.m_dX;
    if (pair.m_dX < m_dMinX)
        m_dMinX = pair.m_dX;
    if (pair.m_dY > m_dMaxY)
        m_dMaxY = pair.m_dY;
    if (pair.m_dY < m_dMinY)
        m_dMinY = pair.m_dY;
}

} // namespace lumetra
