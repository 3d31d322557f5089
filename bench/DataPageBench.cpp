// The Data page on a full display page of 128,000 pairs: showing it, and writing it back.
#include "BenchSupport.h"
#include "dataentry/DataPage.h"
#include "platform/MemorySettingsStore.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace lumetra::bench {
namespace {

constexpr int kPairs = 128000;

void BM_DataPageOpen(benchmark::State& state) {
    SilentUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    FillRandomDocument(doc, kPairs);
    doc.BuildFormats();
    for (auto _ : state) {
        CMySheet sheet;
        auto* page = new CData(doc, ui, sheet, kPairs);
        sheet.AddPage(page);
        sheet.show();                      // activates the page: the list is filled
        QCoreApplication::processEvents(); // and painted
        if (page->Rules().Lines().size() != size_t(kPairs))
            state.SkipWithError("the page is not full");
    }
}
BENCHMARK(BM_DataPageOpen)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();

void BM_DataPageCommit(benchmark::State& state) {
    SilentUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    FillRandomDocument(doc, kPairs);
    doc.BuildFormats();
    int refresh = 0;
    DataPageRules page(doc, ui, kPairs, refresh);
    page.OnSetActive();
    for (auto _ : state) {
        page.m_bListChanged = 1;
        page.CommitList();
    }
}
BENCHMARK(BM_DataPageCommit)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();

} // namespace
} // namespace lumetra::bench
