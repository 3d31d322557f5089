// Building the report of a document of 128,000 pairs, the most a report holds, and of 1,000,000,
// of which the report keeps as many.
#include "BenchSupport.h"
#include "data/LumetraDoc.h"
#include "platform/MemorySettingsStore.h"
#include "report/ReportBuilder.h"

#include <benchmark/benchmark.h>

#include <random>

namespace lumetra::bench {
namespace {

void BM_BuildReport(benchmark::State& state) {
    SilentUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    FillRandomDocument(doc, int(state.range(0)));
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
BENCHMARK(BM_BuildReport)
    ->Arg(128000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
} // namespace lumetra::bench
