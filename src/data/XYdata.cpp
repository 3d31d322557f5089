#include "data/XYdata.h"

#include "data/LumetraDoc.h"
#include "data/NumberScan.h"

#include <cmath>

namespace lumetra {

std::string CXYdata::FormatPair(const CLumetraDoc& doc) const {
    return doc.PairFormat().Format({m_dX, m_dY});
}

void CXYdata::FormatFileLine(std::string& out, const CLumetraDoc& doc) const {
    FormatRow(out, doc);
    out += "\r\n";
}

void CXYdata::FormatRow(std::string& out, const CLumetraDoc& doc) const {
    doc.RowFormat().Append(out, {m_dX, m_dY, m_dComputed, m_dDifference});
}

bool CXYdata::IsFinite() const {
    return std::isfinite(m_dX) && std::isfinite(m_dY) && std::isfinite(m_dComputed) &&
           std::isfinite(m_dDifference);
}

bool CXYdata::ParseTabPair(std::string_view text) {
    const size_t tab = text.find('\t');
    if (tab == std::string_view::npos)
        return false;
    m_dX = TextToDouble(text.substr(0, tab));
    m_dY = TextToDouble(text.substr(tab + 1));
    m_dComputed = 0.0;
    m_dDifference = 0.0;
    return true;
}

} // namespace lumetra
