#include "data/XYdata.h"

#include "data/ExactFields.h"
#include "data/LumetraDoc.h"
#include "data/NumberScan.h"

#include <cmath>

namespace lumetra {

std::string CXYdata::FormatPair(const CLumetraDoc& doc) const {
    return doc.PairFormat().Format({m_dX, m_dY});
}

void CXYdata::FormatFileLine(std::string& out, const CLumetraDoc& doc) const {
    const size_t start = out.size();
    FormatRow(out, doc);
    // What a reader gets back from the shown X and Y; the exact values follow where it differs.
    const char* p = out.data() + start;
    const char* end = out.data() + out.size();
    double shownX = 0.0, shownY = 0.0;
    ScanDouble(p, end, shownX) && ScanDouble(p, end, shownY);
    AppendExactField(out, "x", shownX, m_dX);
    AppendExactField(out, "y", shownY, m_dY);
    if (m_dSigma != 0.0)
        (out += "\ts=") += ShortestText(m_dSigma);
    if (m_bExcluded)
        out += "\texcluded=1";
    out += "\r\n";
}

void CXYdata::FormatRow(std::string& out, const CLumetraDoc& doc) const {
    doc.RowFormat().Append(out, {m_dX, m_dY, m_dComputed, m_dDifference});
}

bool CXYdata::IsFinite() const {
    return std::isfinite(m_dX) && std::isfinite(m_dY) && std::isfinite(m_dComputed) &&
           std::isfinite(m_dDifference) && std::isfinite(m_dSigma);
}

} // namespace lumetra
