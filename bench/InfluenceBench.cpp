// The influence table of 1,000,000 pairs, as the Statistics window and lumetra-cli influence
// make it after a fit: a straight line (a calibration) and order 10 (the dearest leverage).
#include "BenchSupport.h"
#include "fit/FitEngine.h"
#include "fit/Influence.h"
#include "platform/MemorySettingsStore.h"

#include <benchmark/benchmark.h>

namespace lumetra::bench {
namespace {

constexpr int kPairs = 1000000;

void BM_InfluenceTable(benchmark::State& state) {
    SilentUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc{ui, settings};
    doc.OnNewDocument();
    doc.m_nCurveType = 0;
    doc.m_nOrder = int(state.range(0));
    doc.m_eFitMethod = FitMethod::Accurate;
    doc.m_pPairs = NoisyParabola(kPairs);
    doc.m_nPairs = kPairs;
    if (!CFitEngine(doc).RefitDocument())
        state.SkipWithError("fit failed");
    for (auto _ : state)
        benchmark::DoNotOptimize(DocumentInfluence(doc));
}
BENCHMARK(BM_InfluenceTable)
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

} // namespace
} // namespace lumetra::bench
