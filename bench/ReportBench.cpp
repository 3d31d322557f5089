// Building the report of a document of 128,000 pairs, the most a report holds.
#include "BenchSupport.h"
#include "data/LumetraDoc.h"
#include "platform/MemorySettingsStore.h"
#include "report/ReportBuilder.h"

#include <benchmark/benchmark.h>

#include <random>

namespace lumetra::bench {
namespace {

constexpr int kPairs = 128000;

void FillRandomDocument(CLumetraDoc& doc) {
    doc.OnNewDocument();
    doc.m_strDataTitle = "Benchmark";
    doc.m_nOrder = 3;
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> x(-1000.0, 1000.0), noise(-1.0, 1.0);
    doc.m_pPairs.resize(kPairs);
    for (CXYdata& p : doc.m_pPairs) {
        p.m_dX = x(rng);
        p.m_dY = 0.5 * p.m_dX * p.m_dX + noise(rng);
        p.m_dComputed = 0.5 * p.m_dX * p.m_dX;
        p.m_dDifference = p.m_dY - p.m_dComputed;
    }
    doc.m_nPairs = kPairs;
}

void BM_BuildReport(benchmark::State& state) {
    SilentUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    FillRandomDocument(doc);
    for (auto _ : state) {
        // A new view each time, so every build meets the line limit with its note.
        ReportBuilder builder(doc, kReportLineLimit);
        builder.BuildReport();
        if (doc.m_nLineCount != kReportLineLimit + 1)
            state.SkipWithError("unexpected line count");
        benchmark::DoNotOptimize(doc.m_pReportLines.data());
    }
    state.counters["lines"] = double(doc.m_nLineCount);
}
BENCHMARK(BM_BuildReport)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
} // namespace lumetra::bench

