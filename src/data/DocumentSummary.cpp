#include "data/DocumentSummary.h"

#include "data/LumetraDoc.h"
#include "fit/CurveModels.h"
#include "fit/FitWeights.h"

#include <algorithm>

namespace lumetra {

std::string DescribeDocument(const CLumetraDoc& doc) {
    auto display = [](int fixed, int decimals) {
        return FormatC("%s, %d decimals", {fixed ? "fixed" : "exponent", decimals});
    };
    std::string out;
    out += "Data title:  " + doc.m_strDataTitle + "\n";
    out += "X title:     " + doc.m_strXTitle + "\n";
    out += "Y title:     " + doc.m_strYTitle + "\n";
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    out += FormatC("Curve type:  %d (%s)\n", {doc.m_nCurveType, model ? model->caption : ""});
    out += FormatC("Curve order: %d\n", {doc.m_nOrder});
    // How the coefficients were made, where it is not the plain way of old.
    if (doc.m_eFitMethod != FitMethod::Classic)
        out += "Fit method:  " + std::string(FitMethodWord(doc.m_eFitMethod)) + "\n";
    if (doc.m_eWeights != WeightScheme::None)
        out += "Weighting:   " + WeightingText(doc) + "\n";
    out += FormatC("Sum of absolute differences: %lf\n", {doc.m_dSumAbsDiff});
    out += FormatC("Coefficient of performance:  %lf\n", {doc.m_dPerformance});
    out += FormatC("XINT: %lf  YINT: %lf\n", {doc.m_dXInt, doc.m_dYInt});
    out += "X display:   " + display(doc.m_bXFixed, doc.m_nXDecimals) + "\n";
    out += "Y display:   " + display(doc.m_bYFixed, doc.m_nYDecimals) + "\n";
    const CompiledFormat coef("C[%d] = " + doc.m_szWideFormat);
    const int coefs = doc.m_nOrder + 1;
    for (int k = 0; k < coefs && k < kMaxCoefs; ++k) {
        std::string line = coef.Format({k + 1, doc.m_dCoef[k]});
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
    }
    out += FormatC("Pairs:       %d\n", {int(doc.m_pPairs.size())});
    const auto withSigma = std::count_if(doc.m_pPairs.begin(), doc.m_pPairs.end(),
                                         [](const CXYdata& p) { return p.HasSigma(); });
    if (withSigma > 0)
        out += FormatC("With a standard deviation: %d\n", {int(withSigma)});
    if (!doc.m_pPairs.empty()) {
        auto trimmed = [](std::string text) {
            text.erase(text.find_last_not_of(' ') + 1);
            return text;
        };
        out += "X from " + trimmed(FormatC(doc.m_szXFormat, {doc.m_dMinX})) + " to " +
               trimmed(FormatC(doc.m_szXFormat, {doc.m_dMaxX})) + "\n";
        out += "Y from " + trimmed(FormatC(doc.m_szYFormat, {doc.m_dMinY})) + " to " +
               trimmed(FormatC(doc.m_szYFormat, {doc.m_dMaxY})) + "\n";
    }
    return out;
}

} // namespace lumetra
