#include "support/FailLargeAllocations.h"

#include <cstdlib>
#include <new>

namespace {

// 0: no allocation fails.
std::size_t g_failFrom = 0;

} // namespace

namespace lumetra::test {

FailLargeAllocations::FailLargeAllocations(std::size_t bytes) {
    g_failFrom = bytes;
}
FailLargeAllocations::~FailLargeAllocations() {
    g_failFrom = 0;
}

} // namespace lumetra::test

void* operator new(std::size_t size) {
    if (g_failFrom != 0 && size >= g_failFrom)
        throw std::bad_alloc();
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
