// Drawing the plot of a large data set into an image, as a plot window paints it.
#include "BenchSupport.h"
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

// A 1,000,000-pair file drawn without (bands 0) and with (1) both bands, as a window at 100 %
// paints it: the first paint after the read (first 1: no fit ran, so the bands build the fit
// state once, which is most of its time) and a repaint (first 0: at most 30 ms with the bands). The
// curve takes at most 8000 samples, a band two a pixel column, and a marker is drawn once for its
// pixels.
void BM_DrawPlotBands(benchmark::State& state) {
    SilentUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    FillRandomDocument(doc, 1000000);
    doc.m_dCoef[0] = 0.5; // the curve y = x²/2 the pairs lie around, as stored
    doc.m_dCoef[1] = 0.0;
    doc.m_dCoef[2] = 0.0;
    doc.m_dCoef[3] = 0.0;
    doc.m_nOrder = 3;
    doc.ResetExtremes(doc.m_pPairs[0]);
    for (const CXYdata& p : doc.m_pPairs)
        doc.UpdateExtremes(p);
    const bool bands = state.range(0) != 0;
    const bool first = state.range(1) != 0;
    const PlotOptions options{bands, bands, false};
    QImage image(1104, 720, QImage::Format_RGB32);
    auto paint = [&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        PainterSurface surface(painter, 96, 96);
        PaintPlot(doc, surface, true, options);
    };
    if (!first)
        paint(); // a repaint follows a first paint, which built the fit state
    for (auto _ : state) {
        if (first) {
            state.PauseTiming();
            doc.m_pFitState.reset(); // as read again
            state.ResumeTiming();
        }
        paint();
    }
}
BENCHMARK(BM_DrawPlotBands)
    ->ArgNames({"bands", "first"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

} // namespace
} // namespace lumetra::bench
