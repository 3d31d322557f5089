// Opening a data file of 1,000,000 pairs in the application until its listing shows the first
// display page of the report.
#include "BenchSupport.h"
#include "app/LumetraApp.h"
#include "app/MainFrame.h"
#include "data/LumetraDoc.h"
#include "framework/DocManager.h"
#include "platform/MemorySettingsStore.h"
#include "report/ListingView.h"

#include <QApplication>
#include <QListView>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

namespace lumetra::bench {
namespace {

constexpr int kPairs = 1000000;

const std::string& MillionPairFile() {
    static const std::string path = [] {
        SilentUi ui;
        MemorySettingsStore settings;
        CLumetraDoc doc(ui, settings);
        doc.OnNewDocument();
        std::mt19937_64 rng(3);
        std::uniform_real_distribution<double> x(-100.0, 100.0);
        doc.m_pPairs.resize(kPairs);
        for (CXYdata& p : doc.m_pPairs) {
            p.m_dX = x(rng);
            p.m_dY = 3.0 * p.m_dX - 1.0;
            p.m_dComputed = p.m_dY;
        }
        const std::string dir = (std::filesystem::temp_directory_path() / "lumetra-bench").string();
        std::filesystem::create_directories(dir);
        const std::string p = dir + "/listing-million.dat";
        if (!doc.OnSaveDocument(p))
            std::abort();
        return p;
    }();
    return path;
}

void BM_OpenMillionPairsToFirstPage(benchmark::State& state) {
    const std::string& path = MillionPairFile();
    double reportBytes = 0;
    for (auto _ : state) {
        SilentUi ui;
        MemorySettingsStore settings;
        CLumetraApp app(ui, settings);
        if (!app.InitInstance({"lumetra", QString::fromStdString(path)})) {
            state.SkipWithError("open failed");
            break;
        }
        auto* view = dynamic_cast<CLumetraView*>(app.MainFrame()->ActiveView());
        while (view && view->List()->model()->rowCount() == 0)
            QCoreApplication::processEvents();
        const CLumetraDoc& doc = view->GetDocument();
        reportBytes = 0;
        for (const std::string& line : doc.m_pReportLines)
            reportBytes += double(sizeof(std::string) + line.capacity() + 1);
        state.PauseTiming();
        for (CLumetraDoc* d : app.DocManager().Documents())
            d->SetModifiedFlag(false);
        state.ResumeTiming();
    }
    state.counters["report_MB"] = reportBytes / 1e6;
}
BENCHMARK(BM_OpenMillionPairsToFirstPage)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

} // namespace
} // namespace lumetra::bench
