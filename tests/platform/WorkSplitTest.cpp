#include "platform/WorkSplit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace lumetra {
namespace {

// Which thread ran each part, and how often.
struct PartLog {
    explicit PartLog(int parts) : runs(size_t(parts)), threads(size_t(parts)) {}
    std::vector<std::atomic<int>> runs;
    std::vector<std::thread::id> threads;
    void Record(int part) {
        ++runs[size_t(part)];
        threads[size_t(part)] = std::this_thread::get_id();
    }
};

TEST(WorkSplit, EveryPartRunsOnceWithTheCountItWasGiven) {
    for (int parts : {1, 2, 3, 8, 16}) {
        PartLog log(parts);
        std::atomic<int> wrongCount{0};
        RunParts(parts, [&](int part, int count) {
            wrongCount += count != parts;
            log.Record(part);
        });
        EXPECT_EQ(wrongCount, 0) << parts;
        for (int part = 0; part < parts; ++part)
            EXPECT_EQ(log.runs[size_t(part)], 1) << parts << " parts, part " << part;
        EXPECT_EQ(log.threads[0], std::this_thread::get_id());
        if (parts > 1) {
            EXPECT_NE(log.threads[1], std::this_thread::get_id());
        }
    }
    // Nothing to split is one part on the calling thread.
    PartLog log(1);
    RunParts(0, [&](int part, int count) {
        EXPECT_EQ(count, 1);
        log.Record(part);
    });
    EXPECT_EQ(log.runs[0], 1);
}

TEST(WorkSplit, AnExceptionOfAPartReachesTheCallerAfterEveryPartEnded) {
    for (int thrower : {0, 1, 3}) {
        std::atomic<int> finished{0};
        try {
            RunParts(4, [&](int part, int) {
                if (part == thrower || part == 2)
                    throw std::runtime_error("part " + std::to_string(part));
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                ++finished;
            });
            ADD_FAILURE() << "no exception for part " << thrower;
        } catch (const std::runtime_error& e) {
            // The lowest part that threw wins; the others were not cut short.
            EXPECT_EQ(std::string(e.what()), "part " + std::to_string(std::min(thrower, 2)));
        }
        EXPECT_EQ(finished, 2) << thrower;
    }
}

// With no address space left for a thread's stack, no thread can be started: every part then
// runs on the calling thread and the results are complete. Runs in a child process, whose
// address space may be squeezed; its exit status tells what it saw.
[[noreturn]] void RunPartsWithoutThreads() {
    long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    // What is mapped now plus a little heap, far less than one thread stack.
    const rlim_t limit = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + (512 << 10);
    const rlimit squeezed{limit, limit};
    if (pages == 0 || ::setrlimit(RLIMIT_AS, &squeezed) != 0)
        std::_Exit(3);
    try {
        std::thread([] {}).join();
        std::_Exit(4); // the squeeze did not take
    } catch (const std::system_error&) {
    }
    PartLog log(8);
    RunParts(8, [&](int part, int) { log.Record(part); });
    for (int part = 0; part < 8; ++part)
        if (log.runs[size_t(part)] != 1 || log.threads[size_t(part)] != std::this_thread::get_id())
            std::_Exit(5);
    std::_Exit(0);
}

TEST(WorkSplit, PartsRunOnTheCallingThreadWhenNoThreadCanBeStarted) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own mappings need the address space this test takes away";
#endif
    // A fresh process: a forked one could reuse the stacks of threads that earlier tests ended.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(RunPartsWithoutThreads(), ::testing::ExitedWithCode(0), "");
}

TEST(WorkSplit, PartsAreWorthTheirMinimumAndBoundedByTheCores) {
    const int cores = std::clamp(int(std::thread::hardware_concurrency()), 1, 16);
    EXPECT_EQ(MaxWorkParts(), cores);
    EXPECT_EQ(WorkParts(0, 100), 1);
    EXPECT_EQ(WorkParts(199, 100), 1);
    EXPECT_EQ(WorkParts(1u << 30, 100), cores);
    {
        const WorkPartsOverride eight(8);
        EXPECT_EQ(MaxWorkParts(), 8);
        EXPECT_EQ(WorkParts(299, 100), 2);
        EXPECT_EQ(WorkParts(300, 100), 3);
        EXPECT_EQ(WorkParts(100000, 100), 8);
        EXPECT_EQ(WorkParts(5, 0), 5);
        {
            const WorkPartsOverride one(1);
            EXPECT_EQ(WorkParts(100000, 100), 1);
        }
        EXPECT_EQ(MaxWorkParts(), 8);
    }
    EXPECT_EQ(MaxWorkParts(), cores);
}

} // namespace
} // namespace lumetra
