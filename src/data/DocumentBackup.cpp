#include "data/DocumentBackup.h"

#include "data/LumetraDoc.h"

#include <new>

namespace lumetra {

DocumentBackup::DocumentBackup(const CLumetraDoc& doc)
    : m_strDataTitle(doc.m_strDataTitle), m_strXTitle(doc.m_strXTitle),
      m_strYTitle(doc.m_strYTitle), m_strWorkXTitle(doc.m_strWorkXTitle),
      m_strWorkYTitle(doc.m_strWorkYTitle), m_nCurveType(doc.m_nCurveType), m_nOrder(doc.m_nOrder),
      m_nPairs(doc.m_nPairs), m_bXFixed(doc.m_bXFixed), m_nXDecimals(doc.m_nXDecimals),
      m_bYFixed(doc.m_bYFixed), m_nYDecimals(doc.m_nYDecimals), m_eFitMethod(doc.m_eFitMethod),
      m_eWeights(doc.m_eWeights), m_bSigmaAbsolute(doc.m_bSigmaAbsolute), m_dMaxX(doc.m_dMaxX),
      m_dMinX(doc.m_dMinX), m_dMaxY(doc.m_dMaxY), m_dMinY(doc.m_dMinY),
      m_bModified(doc.IsModified()) {}

bool DocumentBackup::KeepPairs(const CLumetraDoc& doc) {
    if (m_pPairs)
        return true;
    try {
        m_pPairs.emplace(doc.m_pPairs);
    } catch (const std::bad_alloc&) {
        m_pPairs.reset();
        return false;
    }
    return true;
}

void DocumentBackup::TakePairs(CLumetraDoc& doc) {
    m_pPairs.emplace(std::move(doc.m_pPairs));
    doc.m_pPairs.clear();
}

size_t DocumentBackup::Bytes() const {
    size_t bytes = sizeof(*this);
    for (const std::string* s : {&m_strDataTitle, &m_strXTitle, &m_strYTitle, &m_strWorkXTitle,
                                 &m_strWorkYTitle, &m_strChange})
        bytes += s->capacity();
    if (m_pPairs)
        bytes += m_pPairs->capacity() * sizeof(CXYdata);
    return bytes;
}

void DocumentBackup::Restore(CLumetraDoc& doc) {
    doc.m_strDataTitle = m_strDataTitle;
    doc.m_strXTitle = m_strXTitle;
    doc.m_strYTitle = m_strYTitle;
    doc.m_strWorkXTitle = m_strWorkXTitle;
    doc.m_strWorkYTitle = m_strWorkYTitle;
    doc.m_nCurveType = m_nCurveType;
    doc.m_nOrder = m_nOrder;
    doc.m_nPairs = m_nPairs;
    doc.m_bXFixed = m_bXFixed;
    doc.m_nXDecimals = m_nXDecimals;
    doc.m_bYFixed = m_bYFixed;
    doc.m_nYDecimals = m_nYDecimals;
    doc.m_eFitMethod = m_eFitMethod;
    doc.m_eWeights = m_eWeights;
    doc.m_bSigmaAbsolute = m_bSigmaAbsolute;
    doc.m_dMaxX = m_dMaxX;
    doc.m_dMinX = m_dMinX;
    doc.m_dMaxY = m_dMaxY;
    doc.m_dMinY = m_dMinY;
    if (m_pPairs) {
        doc.m_pPairs = std::move(*m_pPairs); // a move: putting back needs no memory
        m_pPairs.reset();
    }
    doc.BuildFormats();
    doc.SetModifiedFlag(m_bModified);
}

} // namespace lumetra
