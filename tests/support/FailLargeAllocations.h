#pragma once

#include <cstddef>

namespace lumetra::test {

// While an object lives, every plain operator new of at least `bytes` bytes throws
// std::bad_alloc, so a test can reach the out-of-memory paths of the code under test. The
// first `granted` of those large allocations still succeed, so a test can fail each one in turn.
// The replaced operator new lives in FailLargeAllocations.cpp; link it into the test binary.
class FailLargeAllocations {
public:
    explicit FailLargeAllocations(std::size_t bytes, int granted = 0);
    ~FailLargeAllocations();
    FailLargeAllocations(const FailLargeAllocations&) = delete;
    FailLargeAllocations& operator=(const FailLargeAllocations&) = delete;
};

} // namespace lumetra::test
