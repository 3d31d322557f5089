#pragma once

#include "data/XYdata.h"

#include <cstddef>
#include <span>
#include <vector>

namespace lumetra {

class CLumetraDoc;

// The pairs a fit takes: the document's pairs less those excluded from it, and where each
// stands in the document. Every number derived from the fit reads its pairs from here, so that
// an excluded pair counts nowhere. A set without exclusions is the document's own storage.
class FitPairs {
public:
    explicit FitPairs(const CLumetraDoc& doc);
    FitPairs(const FitPairs&) = delete;
    FitPairs& operator=(const FitPairs&) = delete;

    std::span<const CXYdata> Pairs() const { return m_pairs; }
    size_t Size() const { return m_pairs.size(); }
    // The document's index of the k-th pair of the fit.
    size_t DocumentIndex(size_t k) const { return m_index.empty() ? k : m_index[k]; }
    // How many of the document's pairs the fit leaves out.
    size_t Excluded() const { return m_nExcluded; }

private:
    std::vector<CXYdata> m_kept;
    std::vector<size_t> m_index;
    std::span<const CXYdata> m_pairs;
    size_t m_nExcluded = 0;
};

// The document's pairs that the fit leaves out, without copying the others.
size_t ExcludedPairCount(const CLumetraDoc& doc);

} // namespace lumetra
