#pragma once

#include <cstdio>
#include <cstdlib>

namespace lumetra::fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, what);
    std::abort();
}

} // namespace lumetra::fuzz

// A promise of the code under test; breaking it ends the run, so libFuzzer keeps the input.
#define FUZZ_REQUIRE(cond) ((cond) ? void(0) : ::lumetra::fuzz::Fail(#cond, __FILE__, __LINE__))
