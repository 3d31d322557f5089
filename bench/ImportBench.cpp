// Importing a text file of pairs at the reader's limit of 10,000,000 bytes, with every kind of
// separator it takes.
#include "BenchSupport.h"
#include "dataentry/ImportFile.h"
#include "platform/MemorySettingsStore.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace lumetra::bench {
namespace {

// Lines such as "12.3456 -7.891e+02", "3.25,88.125", "\"4.5\";\"6.75\"" and "1<TAB>2", until
// the file holds 10,000,000 bytes. Also what numpy.loadtxt is timed on (written beside it with
// the separators as blanks, which is all loadtxt takes at once).
const std::string& MixedFile() {
    static const std::string path = [] {
        const std::string dir = (std::filesystem::temp_directory_path() / "lumetra-bench").string();
        std::filesystem::create_directories(dir);
        const std::string mixed = dir + "/import-mixed.txt", plain = dir + "/import-plain.txt";
        std::mt19937_64 rng(11);
        std::uniform_real_distribution<double> v(-1000.0, 1000.0);
        std::string text, blanks;
        const char* formats[4] = {"%.4f %.3e\r\n", "%.2f,%.3f\r\n", "\"%.1f\";\"%.2f\"\r\n",
                                  "%.5f\t%.5f\r\n"};
        char line[96];
        for (size_t i = 0; text.size() < kImportByteLimit - 100; ++i) {
            const double x = v(rng), y = v(rng);
            std::snprintf(line, sizeof line, formats[i % 4], x, y);
            text += line;
            std::snprintf(line, sizeof line, "%.5f %.5f\n", x, y);
            blanks += line;
        }
        std::ofstream(mixed, std::ios::binary) << text;
        std::ofstream(plain, std::ios::binary) << blanks;
        return mixed;
    }();
    return path;
}

void BM_ImportTenMillionBytes(benchmark::State& state) {
    SilentUi ui;
    MemorySettingsStore settings;
    const std::string& path = MixedFile();
    size_t pairs = 0;
    for (auto _ : state) {
        CLumetraDoc doc(ui, settings);
        pairs = size_t(ImportFile(doc, ui, path, nullptr).imported);
        benchmark::DoNotOptimize(doc.m_pPairs.data());
    }
    state.counters["pairs"] = double(pairs);
}
BENCHMARK(BM_ImportTenMillionBytes)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
} // namespace lumetra::bench
