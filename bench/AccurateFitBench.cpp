// The accurate method on 1,000,000 pairs of order 10, its statistics, and numpy.polyfit on the
// same pairs in the same run.
#include "BenchSupport.h"
#include "fit/FitEngine.h"
#include "fit/FitState.h"
#include "fit/FitStatistics.h"
#include "platform/MemorySettingsStore.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace lumetra::bench {
namespace {

constexpr int kPairs = 1000000;

struct AccurateFixture {
    SilentUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc{ui, settings};
    CFitEngine engine{doc};

    AccurateFixture() {
        doc.OnNewDocument();
        doc.m_nCurveType = 0;
        doc.m_nOrder = 10;
        doc.m_eFitMethod = FitMethod::Accurate;
        doc.m_pPairs = NoisyParabola(kPairs);
        doc.m_nPairs = kPairs;
    }
    std::vector<double> Column(bool x) const {
        std::vector<double> v;
        for (const CXYdata& p : doc.m_pPairs)
            v.push_back(x ? p.m_dX : p.m_dY);
        return v;
    }
};

// The whole fit as a window makes it: the factorization, the classic coefficients for the digits
// kept, the per-pair values and the report's statistics.
void BM_AccurateFitOrder10(benchmark::State& state) {
    AccurateFixture f;
    for (auto _ : state)
        if (!f.engine.RefitDocument())
            state.SkipWithError("fit failed");
}
BENCHMARK(BM_AccurateFitOrder10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

// The fit state alone: the factorization and its refinement.
void BM_FitStateOrder10(benchmark::State& state) {
    AccurateFixture f;
    const std::vector<double> x = f.Column(true), y = f.Column(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildFitState(x, y, {}, 10));
}
BENCHMARK(BM_FitStateOrder10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

// The classic method's order-10 fit as a window makes it, its precision check (the fit state)
// included, against the normal equations alone (built and solved) and the state alone: the
// check may cost at most 0.3 times the normal equations.
void BM_ClassicFitOrder10(benchmark::State& state) {
    AccurateFixture f;
    f.doc.m_eFitMethod = FitMethod::Classic;
    for (auto _ : state)
        if (!f.engine.RefitDocument())
            state.SkipWithError("fit failed");
}
BENCHMARK(BM_ClassicFitOrder10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

void BM_NormalEquationsOrder10(benchmark::State& state) {
    AccurateFixture f;
    const std::vector<double> x = f.Column(true), y = f.Column(false);
    NormalEquations work;
    double coef[kMaxCoefs];
    for (auto _ : state) {
        BuildNormalEquations(x, y, 10, work);
        benchmark::DoNotOptimize(SolveNormalEquations(work, 10, coef));
    }
}
BENCHMARK(BM_NormalEquationsOrder10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

// The statistics of the fit just made, as the Statistics window asks for them.
void BM_StatisticsOrder10(benchmark::State& state) {
    AccurateFixture f;
    f.engine.RefitDocument();
    for (auto _ : state)
        benchmark::DoNotOptimize(DocumentStatistics(f.doc, kDefaultLevel));
}
BENCHMARK(BM_StatisticsOrder10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

// numpy.polyfit(x, y, 10) on the same pairs, timed by the script itself (median of five).
void BM_NumpyPolyfitOrder10(benchmark::State& state) {
    AccurateFixture f;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "lumetra-bench";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "polyfit-pairs.bin").string();
    {
        std::ofstream out(path, std::ios::binary);
        for (bool x : {true, false})
            for (double v : f.Column(x))
                out.write(reinterpret_cast<const char*>(&v), sizeof v);
    }
    // The machine's OpenBLAS core type may be forced for other work; numpy runs as it would.
    const std::string command = "env -u OPENBLAS_CORETYPE /usr/bin/python3 " LUMETRA_SOURCE_DIR
                                "/bench/numpy_polyfit.py " +
                                path;
    for (auto _ : state) {
        FILE* pipe = ::popen(command.c_str(), "r");
        double seconds = -1.0;
        if (!pipe || std::fscanf(pipe, "%lf", &seconds) != 1 || ::pclose(pipe) != 0) {
            state.SkipWithError("numpy.polyfit did not run (python3-numpy missing?)");
            break;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_NumpyPolyfitOrder10)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lumetra::bench
