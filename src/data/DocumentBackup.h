#pragma once

#include "data/XYdata.h"
#include "fit/FitMethod.h"
#include "fit/Weights.h"

#include <optional>
#include <string>
#include <vector>

namespace lumetra {

class CLumetraDoc;

// The data set as the Options sheet found it, which Cancel puts back: pairs, titles, curve and
// display settings and the modified flag. The pairs are copied only when a page is about to
// change them, so a sheet that leaves them alone costs no copy of a large set.
class DocumentBackup {
public:
    explicit DocumentBackup(const CLumetraDoc& doc);

    // Copies the pairs as they are now, the first time only; false when memory ran out.
    bool KeepPairs(const CLumetraDoc& doc);
    // Puts everything back, with the formats of the settings put back.
    void Restore(CLumetraDoc& doc);

private:
    std::string m_strDataTitle, m_strXTitle, m_strYTitle, m_strWorkXTitle, m_strWorkYTitle;
    int m_nCurveType, m_nOrder, m_nPairs;
    int m_bXFixed, m_nXDecimals, m_bYFixed, m_nYDecimals;
    FitMethod m_eFitMethod;
    WeightScheme m_eWeights;
    int m_bSigmaAbsolute;
    double m_dMaxX, m_dMinX, m_dMaxY, m_dMinY;
    bool m_bModified;
    std::optional<std::vector<CXYdata>> m_pPairs;
};

} // namespace lumetra
