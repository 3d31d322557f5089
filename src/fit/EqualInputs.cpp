#include "fit/EqualInputs.h"

#include <algorithm>
#include <numeric>

namespace lumetra {

EqualInputRuns RunsOfEqualInput(std::span<const double> inputs) {
    EqualInputRuns runs;
    runs.order.resize(inputs.size());
    std::iota(runs.order.begin(), runs.order.end(), size_t(0));
    std::stable_sort(runs.order.begin(), runs.order.end(),
                     [&](size_t a, size_t b) { return inputs[a] < inputs[b]; });
    for (size_t i = 0; i < runs.order.size(); ++i)
        if (i == 0 || inputs[runs.order[i]] != inputs[runs.order[i - 1]])
            runs.starts.push_back(i);
    runs.starts.push_back(runs.order.size());
    return runs;
}

} // namespace lumetra
