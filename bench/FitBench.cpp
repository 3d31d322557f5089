// Fitting 1,000,000 pairs: the four models, and the normal equations against the entry-by-entry
// procedure they must match.
#include "BenchSupport.h"
#include "fit/FitEngine.h"
#include "platform/MemorySettingsStore.h"
#include "platform/WorkSplit.h"
#include "support/ReferenceFit.h"

#include <benchmark/benchmark.h>

namespace lumetra::bench {
namespace {

constexpr int kPairs = 1000000;

struct FitFixture {
    SilentUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc{ui, settings};
    CFitEngine engine{doc};

    FitFixture(int type, int order) {
        doc.OnNewDocument();
        doc.m_nCurveType = type;
        doc.m_nOrder = order;
        doc.m_pPairs = NoisyParabola(kPairs);
        doc.m_nPairs = kPairs;
    }
};

// The order-10 fit on one part and on two: what splitting the sums over cores gains.
void BM_FitOrder10InParts(benchmark::State& state) {
    FitFixture f(0, 10);
    const WorkPartsOverride split(int(state.range(0)));
    for (auto _ : state)
        if (!f.engine.RefitDocument())
            state.SkipWithError("fit failed");
}
BENCHMARK(BM_FitOrder10InParts)
    ->ArgName("parts")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_FitModel(benchmark::State& state) {
    FitFixture f(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        if (!f.engine.RefitDocument())
            state.SkipWithError("fit failed");
}
BENCHMARK(BM_FitModel)
    ->ArgNames({"type", "order"})
    ->Args({0, 10})
    ->Args({0, 1})
    ->Args({1, 10})
    ->Args({2, 1})
    ->Args({3, 1})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_NormalEquationsOrder10(benchmark::State& state) {
    FitFixture f(0, 10);
    f.engine.m_pWorkX.resize(kPairs);
    f.engine.m_pWorkY.resize(kPairs);
    for (int k = 0; k < kPairs; ++k) {
        f.engine.m_pWorkX[size_t(k)] = f.doc.m_pPairs[size_t(k)].m_dX;
        f.engine.m_pWorkY[size_t(k)] = f.doc.m_pPairs[size_t(k)].m_dY;
    }
    for (auto _ : state) {
        f.engine.BuildNormalEquations();
        benchmark::DoNotOptimize(f.engine.m_dNormal);
    }
}
BENCHMARK(BM_NormalEquationsOrder10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

void BM_EntryByEntryNormalEquationsOrder10(benchmark::State& state) {
    FitFixture f(0, 10);
    std::vector<double> x(kPairs), y(kPairs);
    for (int k = 0; k < kPairs; ++k) {
        x[size_t(k)] = f.doc.m_pPairs[size_t(k)].m_dX;
        y[size_t(k)] = f.doc.m_pPairs[size_t(k)].m_dY;
    }
    for (auto _ : state) {
        test::ReferenceNormal r = test::BuildReferenceNormal(x, y, 10);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_EntryByEntryNormalEquationsOrder10)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

} // namespace
} // namespace lumetra::bench
