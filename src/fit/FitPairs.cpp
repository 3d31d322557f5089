#include "fit/FitPairs.h"

#include "data/LumetraDoc.h"

#include <algorithm>

namespace lumetra {
namespace {

std::span<const CXYdata> DocumentPairs(const CLumetraDoc& doc) {
    const size_t N = size_t(std::clamp(doc.m_nPairs, 0, int(doc.m_pPairs.size())));
    return std::span(doc.m_pPairs).first(N);
}

} // namespace

FitPairs::FitPairs(const CLumetraDoc& doc) : m_pairs(DocumentPairs(doc)) {
    m_nExcluded = ExcludedPairCount(doc);
    if (m_nExcluded == 0)
        return;
    const std::span<const CXYdata> all = m_pairs;
    m_kept.reserve(all.size() - m_nExcluded);
    m_index.reserve(all.size() - m_nExcluded);
    for (size_t k = 0; k < all.size(); ++k)
        if (!all[k].m_bExcluded) {
            m_kept.push_back(all[k]);
            m_index.push_back(k);
        }
    m_pairs = m_kept;
}

size_t ExcludedPairCount(const CLumetraDoc& doc) {
    const std::span<const CXYdata> all = DocumentPairs(doc);
    return size_t(
        std::count_if(all.begin(), all.end(), [](const CXYdata& p) { return p.m_bExcluded; }));
}

} // namespace lumetra
