#pragma once

#include "data/XYdata.h"
#include "fit/FitMethod.h"
#include "fit/Weights.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace lumetra {

class CLumetraDoc;

// The data set as the Options sheet found it, which Cancel puts back and Edit > Undo keeps:
// pairs, titles, curve and display settings and the modified flag. The pairs are copied only
// when a page is about to change them, so a sheet that leaves them alone costs no copy of a
// large set.
class DocumentBackup {
public:
    explicit DocumentBackup(const CLumetraDoc& doc);

    // Copies the pairs as they are now, the first time only; false when memory ran out.
    bool KeepPairs(const CLumetraDoc& doc);
    // Takes the document's pairs over without a copy; the document is left without any until
    // a Restore gives it others.
    void TakePairs(CLumetraDoc& doc);
    bool HoldsPairs() const { return m_pPairs.has_value(); }
    bool IsModified() const { return m_bModified; }
    // Puts everything back, with the formats of the settings put back.
    void Restore(CLumetraDoc& doc);
    // The memory this backup holds, roughly: its pairs and texts.
    size_t Bytes() const;

    // What changed the pairs while the sheet was open, when a paste or an import did: the last
    // one names the change for Edit > Undo ("Paste", "Import").
    std::string m_strChange;

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
