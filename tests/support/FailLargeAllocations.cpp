#include "support/FailLargeAllocations.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// 0: no allocation fails.
std::atomic<std::size_t> g_failFrom{0};
// Large allocations still granted before they fail.
std::atomic<int> g_granted{0};

bool FailThisOne(std::size_t size) {
    const std::size_t from = g_failFrom.load();
    return from != 0 && size >= from && g_granted.fetch_sub(1) <= 0;
}

} // namespace

namespace lumetra::test {

FailLargeAllocations::FailLargeAllocations(std::size_t bytes, int granted) {
    g_granted = granted;
    g_failFrom = bytes;
}
FailLargeAllocations::~FailLargeAllocations() {
    g_failFrom = 0;
}

} // namespace lumetra::test

void* operator new(std::size_t size) {
    if (FailThisOne(size))
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

// The no-throw forms too: the address sanitizer would otherwise take them (std::stable_sort's
// buffer) with its own allocator and see them freed by the ones above.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (FailThisOne(size))
        return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
