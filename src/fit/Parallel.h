#pragma once

#include <cstddef>
#include <thread>

namespace lumetra {

// Runs body(part, parts) on the machine's cores (at most two parts here: the work is split
// by owner, never by interleaving, so every sum keeps its pair order and its bits). Small jobs
// stay on the calling thread, where a thread would cost more than it saves.
template <class Body> void RunOnCores(size_t items, Body body) {
    constexpr size_t kWorthAThread = 20000;
    const bool split = items >= kWorthAThread && std::thread::hardware_concurrency() > 1;
    if (!split) {
        body(0, 1);
        return;
    }
    std::thread helper([&body] { body(1, 2); });
    body(0, 2);
    helper.join();
}

} // namespace lumetra
