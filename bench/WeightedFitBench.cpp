// A weighted order-10 fit of 1,000,000 pairs against the unweighted fit of the same method, in
// the same run: the weighted one may cost at most 1.2 times the other.
#include "BenchSupport.h"
#include "fit/FitEngine.h"
#include "platform/MemorySettingsStore.h"

#include <benchmark/benchmark.h>

namespace lumetra::bench {
namespace {

constexpr int kPairs = 1000000;

// Argument 0: the classic method, 1: the accurate one. Every pair has a σ, so both fits read the
// same pairs and only the weighting differs.
void FitOrder10(benchmark::State& state, WeightScheme weights) {
    SilentUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc{ui, settings};
    doc.OnNewDocument();
    doc.m_nCurveType = 0;
    doc.m_nOrder = 10;
    doc.m_eFitMethod = state.range(0) ? FitMethod::Accurate : FitMethod::Classic;
    doc.m_eWeights = weights;
    doc.m_pPairs = NoisyParabola(kPairs);
    for (size_t k = 0; k < doc.m_pPairs.size(); ++k)
        doc.m_pPairs[k].m_dSigma = 0.5 + 0.1 * double(k % 7);
    doc.m_nPairs = kPairs;
    CFitEngine engine{doc};
    for (auto _ : state)
        if (!engine.RefitDocument())
            state.SkipWithError("fit failed");
}

void BM_UnweightedFitOrder10(benchmark::State& state) {
    FitOrder10(state, WeightScheme::None);
}
void BM_WeightedFitOrder10(benchmark::State& state) {
    FitOrder10(state, WeightScheme::Sigma);
}
BENCHMARK(BM_UnweightedFitOrder10)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();
BENCHMARK(BM_WeightedFitOrder10)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

} // namespace
} // namespace lumetra::bench
