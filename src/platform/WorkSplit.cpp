#include "platform/WorkSplit.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace lumetra {
namespace {

constexpr int kMostParts = 16;

// 0: no override.
std::atomic<int> g_partsOverride{0};

} // namespace

int MaxWorkParts() {
    if (const int forced = g_partsOverride.load())
        return forced;
    return std::clamp(int(std::thread::hardware_concurrency()), 1, kMostParts);
}

WorkPartsOverride::WorkPartsOverride(int parts)
    : m_previous(g_partsOverride.exchange(std::max(parts, 1))) {}

WorkPartsOverride::~WorkPartsOverride() {
    g_partsOverride.store(m_previous);
}

int WorkParts(size_t items, size_t minPerPart) {
    const size_t worth = items / std::max(minPerPart, size_t(1));
    return int(std::clamp(worth, size_t(1), size_t(MaxWorkParts())));
}

void RunParts(int parts, const std::function<void(int part, int parts)>& body) {
    if (parts <= 1) {
        body(0, 1);
        return;
    }
    std::vector<std::exception_ptr> errors(static_cast<size_t>(parts));
    auto run = [&](int part) {
        try {
            body(part, parts);
        } catch (...) {
            errors[size_t(part)] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(size_t(parts - 1));
    int started = 1;
    for (; started < parts; ++started) {
        try {
            threads.emplace_back(run, started);
        } catch (const std::system_error&) {
            break; // no more threads to be had now: the rest run here
        } catch (const std::bad_alloc&) {
            break;
        }
    }
    run(0);
    for (int part = started; part < parts; ++part)
        run(part);
    for (std::thread& t : threads)
        t.join();
    for (const std::exception_ptr& error : errors)
        if (error)
            std::rethrow_exception(error);
}

} // namespace lumetra
