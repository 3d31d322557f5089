// Reading and writing a data file of 1,000,000 pairs (about 70 MB).
#include "BenchSupport.h"
#include "data/LumetraDoc.h"
#include "platform/MemorySettingsStore.h"
#include "platform/WorkSplit.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <vector>

namespace lumetra::bench {
namespace {

constexpr int kPairs = 1000000;

std::string BenchDir() {
    static const std::string dir = [] {
        std::string d = (std::filesystem::temp_directory_path() / "lumetra-bench").string();
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

const std::string& MillionPairFile() {
    static const std::string path = [] {
        SilentUi ui;
        MemorySettingsStore settings;
        CLumetraDoc doc(ui, settings);
        FillRandomDocument(doc, kPairs);
        const std::string p = BenchDir() + "/million.dat";
        if (!doc.OnSaveDocument(p))
            std::abort();
        return p;
    }();
    return path;
}

// Peak memory of reading, in a fresh process: lumetra-cli check, less what it needs to start.
// Registered first: a child's peak counts this process's size at the moment it starts.
void BM_ReadPeakMemory(benchmark::State& state) {
    const std::string& path = MillionPairFile();
    const double fileBytes = double(std::filesystem::file_size(path));
    double peak = 0, idle = 0;
    for (auto _ : state) {
        peak = ChildPeakBytes({LUMETRA_CLI, "check", path});
        idle = ChildPeakBytes({LUMETRA_CLI});
    }
    state.counters["peak_MB"] = peak / 1e6;
    state.counters["peak_x_file"] = (peak - idle) / fileBytes;
}
BENCHMARK(BM_ReadPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// Peak memory of lumetra-cli plot --residuals of the million pairs into a PNG and into an SVG.
// The SVG is written as it is drawn: it may need at most 16 MB more than the PNG.
void BM_PlotPeakMemory(benchmark::State& state) {
    const std::string& path = MillionPairFile();
    double png = 0, svg = 0;
    for (auto _ : state) {
        png = ChildPeakBytes(
            {LUMETRA_CLI, "plot", path, "--out", BenchDir() + "/residuals.png", "--residuals"});
        svg = ChildPeakBytes(
            {LUMETRA_CLI, "plot", path, "--out", BenchDir() + "/residuals.svg", "--residuals"});
    }
    state.counters["png_MB"] = png / 1e6;
    state.counters["svg_MB"] = svg / 1e6;
    state.counters["svg_over_png_MB"] = (svg - png) / 1e6;
    if (svg > png + 16e6)
        state.SkipWithError("the SVG needs more than 16 MB beyond the PNG");
}
BENCHMARK(BM_PlotPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// Argument: the parts the work is split into (0: as many as the machine has cores).
void BM_ReadDataFile(benchmark::State& state) {
    const std::string& path = MillionPairFile();
    const int parts = int(state.range(0));
    std::optional<WorkPartsOverride> split;
    if (parts > 0)
        split.emplace(parts);
    const double fileBytes = double(std::filesystem::file_size(path));
    for (auto _ : state) {
        SilentUi ui;
        MemorySettingsStore settings;
        CLumetraDoc doc(ui, settings);
        if (!doc.OnOpenDocument(path) || doc.m_nPairs != kPairs)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(doc.m_pPairs.data());
    }
    state.counters["file_MB"] = fileBytes / 1e6;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fileBytes));
}
BENCHMARK(BM_ReadDataFile)
    ->ArgName("parts")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// The reader one would write first: each pair line handed to sscanf (bounded to the line).
void BM_ReadPairsWithSscanf(benchmark::State& state) {
    const std::string& path = MillionPairFile();
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    for (auto _ : state) {
        std::vector<CXYdata> pairs;
        const char* p = bytes.data();
        const char* end = p + bytes.size();
        int line = 0;
        char buf[1025];
        while (p < end) {
            const char* eol = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
            if (!eol)
                break;
            if (line++ >= 12) { // 8 header lines and 4 coefficients
                const size_t len = std::min<size_t>(size_t(eol - p), sizeof buf - 1);
                std::memcpy(buf, p, len);
                buf[len] = 0;
                CXYdata d;
                std::sscanf(buf, "%lf %lf %lf %lf", &d.m_dX, &d.m_dY, &d.m_dComputed,
                            &d.m_dDifference);
                pairs.push_back(d);
            }
            p = eol + 1;
        }
        if (pairs.size() != size_t(kPairs))
            state.SkipWithError("baseline read failed");
        benchmark::DoNotOptimize(pairs.data());
    }
}
BENCHMARK(BM_ReadPairsWithSscanf)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

// A document of a million pairs to save, and where.
struct MillionPairDocument {
    SilentUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc{ui, settings};
    const std::string path = BenchDir() + "/written.dat";
    MillionPairDocument() { FillRandomDocument(doc, kPairs); }
};

// Peak memory of saving, in a forked child that has the document already: how far the save
// takes the child's peak beyond the size it starts with (target: 16 MB at most).
void BM_WritePeakMemory(benchmark::State& state) {
    MillionPairDocument million;
    CLumetraDoc& doc = million.doc;
    const std::string& path = million.path;
    double extra = 0;
    for (auto _ : state) {
        int fds[2];
        if (::pipe(fds) != 0)
            state.SkipWithError("no pipe");
        const pid_t pid = ::fork();
        if (pid == 0) {
            struct rusage before {
            }, after{};
            ::getrusage(RUSAGE_SELF, &before);
            const bool saved = doc.OnSaveDocument(path);
            ::getrusage(RUSAGE_SELF, &after);
            const double bytes = saved ? double(after.ru_maxrss - before.ru_maxrss) * 1024 : -1;
            ::_exit(::write(fds[1], &bytes, sizeof bytes) == sizeof bytes ? 0 : 1);
        }
        ::close(fds[1]);
        if (::read(fds[0], &extra, sizeof extra) != sizeof extra || extra < 0)
            state.SkipWithError("save failed");
        ::close(fds[0]);
        ::waitpid(pid, nullptr, 0);
    }
    state.counters["document_MB"] = double(doc.m_pPairs.size() * sizeof(CXYdata)) / 1e6;
    state.counters["save_extra_MB"] = extra / 1e6;
}
BENCHMARK(BM_WritePeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_WriteDataFile(benchmark::State& state) {
    MillionPairDocument million;
    CLumetraDoc& doc = million.doc;
    const std::string& path = million.path;
    for (auto _ : state)
        if (!doc.OnSaveDocument(path))
            state.SkipWithError("write failed");
    state.counters["file_MB"] = double(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK(BM_WriteDataFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
} // namespace lumetra::bench
