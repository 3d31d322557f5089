// Drawing the plot of a large data set into an image, as a plot window paints it.
#include "BenchSupport.h"
#include "fit/FitEngine.h"
#include "platform/MemorySettingsStore.h"
#include "plot/PainterSurface.h"
#include "plot/PlotDrawing.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace lumetra::bench {
namespace {

void BM_DrawPlot(benchmark::State& state) {
    SilentUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    FillRandomDocument(doc, int(state.range(0)));
    doc.m_dCoef[0] = 0.0; // the curve y = x²/2 the pairs lie around
    doc.m_dCoef[1] = 0.0;
    doc.m_dCoef[2] = 0.5;
    doc.m_dCoef[3] = 0.0;
    doc.ResetExtremes(doc.m_pPairs[0]);
    for (const CXYdata& p : doc.m_pPairs)
        doc.UpdateExtremes(p);
    QImage image(1104, 720, QImage::Format_RGB32); // the whole drawing at 100 %, 96 dpi
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        PainterSurface surface(painter, 96, 96);
        PaintPlot(doc, surface, true);
    }
}
BENCHMARK(BM_DrawPlot)
    ->Arg(10000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

// An order-10 fit of 1,000,000 pairs drawn without (0) and with (1) both bands, as a window at
// 100 % repaints it: the whole drawing in at most 30 ms with the bands. The curve takes at most
// 8000 samples and a marker is drawn once for its pixels.
void BM_DrawPlotBands(benchmark::State& state) {
    SilentUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    FillRandomDocument(doc, 1000000);
    doc.m_nOrder = 10;
    doc.m_eFitMethod = FitMethod::Accurate;
    if (!CFitEngine(doc).RefitDocument()) {
        state.SkipWithError("the fit failed");
        return;
    }
    const bool bands = state.range(0) != 0;
    const PlotOptions options{bands, bands, false};
    QImage image(1104, 720, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        PainterSurface surface(painter, 96, 96);
        PaintPlot(doc, surface, true, options);
    }
}
BENCHMARK(BM_DrawPlotBands)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

} // namespace
} // namespace lumetra::bench
