// A weighted order-10 fit of 1,000,000 pairs against the unweighted fit of the same method, in
// the same run: the weighted one may cost at most 1.2 times the other.
#include "BenchSupport.h"
#include "fit/FitEngine.h"
#include "platform/MemorySettingsStore.h"

#include <benchmark/benchmark.h>

namespace lumetra::bench {
namespace {

constexpr int kPairs = 1000000;

// Arguments: the method (0 classic, 1 accurate) and the weighting (0 none, 1 the pairs' σ).
// Every pair has a σ, so both fits read the same pairs and only the weighting differs.
void BM_FitOrder10(benchmark::State& state) {
    SilentUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc{ui, settings};
    doc.OnNewDocument();
    doc.m_nCurveType = 0;
    doc.m_nOrder = 10;
    doc.m_eFitMethod = state.range(0) ? FitMethod::Accurate : FitMethod::Classic;
    doc.m_eWeights = state.range(1) ? WeightScheme::Sigma : WeightScheme::None;
    doc.m_pPairs = NoisyParabola(kPairs);
    for (size_t k = 0; k < doc.m_pPairs.size(); ++k)
        doc.m_pPairs[k].m_dSigma = 0.5 + 0.1 * double(k % 7);
    doc.m_nPairs = kPairs;
    CFitEngine engine{doc};
    for (auto _ : state)
        if (!engine.RefitDocument())
            state.SkipWithError("fit failed");
}
BENCHMARK(BM_FitOrder10)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"accurate", "weighted"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

} // namespace
} // namespace lumetra::bench
