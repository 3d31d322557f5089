#include "plot/PlotAxes.h"

#include "data/NumberFormat.h"
#include "data/Utf8Text.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotTicks.h"

#include <algorithm>
#include <cmath>

namespace lumetra {
namespace {

// One axis to make: the values it must show, where it lies, and how its labels are written.
struct AxisSpec {
    double min, max;
    AxisChoice choice;
    int origin, length, tickStep, intervals;
    double fraction; // of the range between described ticks: 0.125 or 0.2, exact in binary
    const std::string& format;
};

// Where the axis puts a value: its low end (a logarithm on a log axis) and units per value.
struct AxisScale {
    double lo, scale;
};

// Nine or six ticks at exact fractions of the range, as running sums.
PlotAxis DescribedAxis(const AxisSpec& a) {
    PlotAxis axis;
    double v = a.min;
    for (int i = 0, pos = a.origin; i <= a.intervals; ++i, pos += a.tickStep) {
        axis.ticks.push_back({pos, TickLabel(a.format, v)});
        v += (a.max - a.min) * a.fraction;
    }
    return axis;
}

int PosAt(const AxisSpec& a, double lo, double hi, double v) {
    return a.origin + int(std::lround((v - lo) / (hi - lo) * a.length));
}

PlotAxis ReadableAxis(const AxisSpec& a, AxisScale& scale) {
    const std::optional<TidyScale> tidy = TidyLinearScale(a.min, a.max, a.intervals);
    if (!tidy) // steps too fine for doubles: the described ticks
        return DescribedAxis(a);
    scale = {tidy->lo, double(a.length) / (tidy->hi - tidy->lo)};
    const std::vector<std::string> labels = TidyLabels(tidy->ticks, tidy->step);
    PlotAxis axis;
    axis.described = false;
    for (size_t k = 0; k < tidy->ticks.size(); ++k)
        axis.ticks.push_back({PosAt(a, tidy->lo, tidy->hi, tidy->ticks[k]), labels[k]});
    return axis;
}

PlotAxis LogAxis(const AxisSpec& a, AxisScale& scale) {
    const LogRange range = a.choice.readable ? TidyLogRange(a.min, a.max) : LogRange{a.min, a.max};
    const double lo = std::log10(range.lo), hi = std::log10(range.hi);
    scale = {lo, double(a.length) / (hi - lo)};
    PlotAxis axis;
    axis.described = false;
    const std::vector<LogTick> ticks = LogTicks(range.lo, range.hi);
    if (ticks.empty()) { // within one step of a decade: its ends
        for (double v : {range.lo, range.hi})
            axis.ticks.push_back({PosAt(a, lo, hi, std::log10(v)), TickLabel(a.format, v)});
        return axis;
    }
    // In the display format unless that writes two decades alike (0.00000 for 1E-006 and
    // 1E-007) or the axis is readable.
    bool plain = !a.choice.readable;
    std::vector<std::string> shown;
    for (const LogTick& t : ticks)
        if (t.labelled)
            shown.push_back(TickLabel(a.format, t.Value()));
    std::sort(shown.begin(), shown.end());
    plain = plain && std::adjacent_find(shown.begin(), shown.end()) == shown.end();
    for (const LogTick& t : ticks) {
        const std::string label = !t.labelled ? ""
                                  : plain     ? TickLabel(a.format, t.Value())
                                              : LogTickLabel(t);
        axis.ticks.push_back({PosAt(a, lo, hi, std::log10(t.Value())), label, !t.labelled});
    }
    return axis;
}

PlotAxis MakeAxis(const AxisSpec& a, AxisScale& scale) {
    scale = {a.min, double(a.length) / (a.max - a.min)};
    if (a.choice.log)
        return LogAxis(a, scale);
    if (a.choice.readable)
        return ReadableAxis(a, scale);
    return DescribedAxis(a);
}

int Width(const std::string& text, const FontMetrics& f) {
    return int(Utf8Length(text)) * f.charWidth;
}

// Whether centred labels on one row would meet: then every other one goes a row lower.
bool LabelsMeet(const PlotAxis& axis, const FontMetrics& f) {
    const AxisTick* previous = nullptr;
    for (const AxisTick& t : axis.ticks) {
        if (t.label.empty())
            continue;
        if (previous && previous->pos + (Width(previous->label, f) + 1) / 2 + f.charWidth >
                            t.pos - Width(t.label, f) / 2)
            return true;
        previous = &t;
    }
    return false;
}

} // namespace

std::string TickLabel(const std::string& format, double value) {
    std::string text = FormatC(format, {value});
    TrimBlanks(text);
    if (text.size() > kPlotWorkBuffer)
        text.resize(kPlotWorkBuffer);
    return text;
}

PlotAxes MakePlotAxes(const PlotRange& range, AxisChoice x, AxisChoice y, const PlotLayout& l,
                      const std::string& xFormat, const std::string& yFormat) {
    AxisScale xs{}, ys{};
    PlotAxes axes;
    axes.x = MakeAxis({range.minX, range.maxX, x, l.L0, l.W, l.tickStep, 8, 0.125, xFormat}, xs);
    axes.y = MakeAxis({range.minY, range.maxY, y, l.B0, l.H, l.tickStep, 5, 0.2, yFormat}, ys);
    axes.map = {xs.lo, ys.lo, xs.scale, ys.scale, l.L0, l.B0, x.log, y.log};
    return axes;
}

int DrawAxes(Surface& s, const PlotLayout& l, const FontMetrics& f, const PlotAxes& axes) {
    s.MoveTo(l.L0, l.B0 + l.H);
    s.LineTo(l.L0, l.B0);
    s.LineTo(l.L0 + l.W, l.B0);

    const bool twoRows = axes.x.described || LabelsMeet(axes.x, f);
    int labelled = 0;
    for (const AxisTick& t : axes.x.ticks) {
        const int length = t.minor ? l.tick / 2 : l.tick;
        s.MoveTo(t.pos, l.B0);
        s.LineTo(t.pos, l.B0 - length);
        if (t.minor)
            continue;
        const int rows = twoRows && labelled++ % 2 == 1 ? 2 : 1;
        const int left = axes.x.described ? XLabelLeft(t.label, t.pos, f.charWidth)
                                          : std::max(0, t.pos - Width(t.label, f) / 2);
        s.TextOut(left, l.B0 - l.tick - rows * f.lineHeight, t.label);
    }
    int yLabelsLeft = l.L0;
    for (const AxisTick& t : axes.y.ticks) {
        s.MoveTo(l.L0, t.pos);
        s.LineTo(l.L0 - (t.minor ? l.tick / 2 : l.tick), t.pos);
        if (t.minor)
            continue;
        const int left = YLabelLeft(t.label, l.L0 - l.tick, f.charWidth);
        s.TextOut(left, t.pos + f.lineHeight / 2, t.label);
        yLabelsLeft = std::min(yLabelsLeft, left);
    }
    return yLabelsLeft;
}

} // namespace lumetra
