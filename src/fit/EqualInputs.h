#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace lumetra {

// The runs of equal inputs (replicates): the indices of the inputs in ascending order, equal ones
// in their own order, and where each run starts in it; starts ends with the count.
struct EqualInputRuns {
    std::vector<size_t> order;
    std::vector<size_t> starts;
    size_t Runs() const { return starts.empty() ? 0 : starts.size() - 1; }
};
EqualInputRuns RunsOfEqualInput(std::span<const double> inputs);

} // namespace lumetra
