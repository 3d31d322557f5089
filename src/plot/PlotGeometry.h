#pragma once

#include "platform/Surface.h"

#include <climits>
#include <cmath>

namespace lumetra {

// A double to int by truncation; values beyond int (an extrapolated curve can reach them) are
// held at its ends instead of being undefined.
inline int Trunc(double v) {
    if (std::isnan(v))
        return 0;
    if (v >= double(INT_MAX))
        return INT_MAX;
    if (v <= double(INT_MIN))
        return INT_MIN;
    return int(v);
}

// Offsets (the origin, a marker's arms) are added after truncation, as the drawing rule has it,
// but in a wider type: a point held at the end of int must stay there, not wrap around.
inline int SaturatingAdd(int v, int offset) {
    const long long sum = (long long)v + offset;
    return sum > INT_MAX ? INT_MAX : sum < INT_MIN ? INT_MIN : int(sum);
}

// The values the axes span.
struct PlotRange {
    double minX, maxX, minY, maxY;
};

// Data values to logical units. On a log axis min is the logarithm of the axis's low end and the
// scale is per decade; values there must be positive (Defined).
struct PlotMapping {
    double minX, minY, xs, ys;
    int L0, B0;
    bool logX = false, logY = false;
    int Px(double x) const {
        return SaturatingAdd(Trunc(((logX ? std::log10(x) : x) - minX) * xs), L0);
    }
    int Py(double y) const {
        return SaturatingAdd(Trunc(((logY ? std::log10(y) : y) - minY) * ys), B0);
    }
    bool Defined(double x, double y) const { return (!logX || x > 0.0) && (!logY || y > 0.0); }
};

// The plot rectangle in logical units.
struct PlotRect {
    int left, bottom, right, top;
};

// How curves are put on the plot: the mapping, the number of steps they are sampled in, and
// whether they are cut at the plot rectangle.
struct PlotFrame {
    PlotMapping map;
    int steps;
    bool clip;
    PlotRect rect;
};

// Draws a polyline point by point: a gap (Break) starts it anew, and with clipping only the parts
// inside the frame's rectangle are drawn. Without clipping the points go to the surface as they
// come: the first a move, the rest lines.
class CurveTracer {
public:
    CurveTracer(Surface& s, const PlotFrame& frame) : m_s(s), m_frame(frame) {}
    void To(int px, int py);
    void Break() { m_bHasLast = false; }

private:
    Surface& m_s;
    const PlotFrame& m_frame;
    bool m_bHasLast = false;
    bool m_bPenAtLast = false; // the surface's pen stands on the last point
    double m_lastX = 0.0, m_lastY = 0.0;
};

// The samples of a curve from lo to hi in `steps` steps of (hi − lo) / steps, the last sample on
// hi itself; with logSampled the steps are even in the logarithm (lo, hi > 0). Each is handed to
// at(v) in order.
template <class At> void ForEachSample(double lo, double hi, int steps, bool logSampled, At at) {
    if (logSampled) {
        lo = std::log10(lo);
        hi = std::log10(hi);
    }
    if (!(lo <= hi))
        return;
    const double d = (hi - lo) / double(steps);
    for (double v = lo;;) {
        at(logSampled ? std::pow(10.0, v) : v);
        // Ends on hi, also where a step is too small to move from it.
        if (!(v < hi))
            break;
        // The step before hi lands on hi exactly; a step that rounds to no progress does too.
        double next = v + d;
        if (next > hi || !(next > v))
            next = hi;
        v = next;
    }
}

// Samples a curve in the frame's steps (ForEachSample); eval maps a sample to a point, or returns
// false where the curve has no value there, which breaks the line.
template <class Eval>
void DrawSampledCurve(Surface& s, const PlotFrame& frame, double lo, double hi, bool logSampled,
                      Eval eval) {
    CurveTracer trace(s, frame);
    ForEachSample(lo, hi, frame.steps, logSampled, [&](double v) {
        int px = 0, py = 0;
        if (eval(v, px, py))
            trace.To(px, py);
        else
            trace.Break();
    });
}

// The edges of a marker r wide and rv high about (px, py).
struct MarkerEdges {
    int left, right, down, up;
    MarkerEdges(int px, int py, int r, int rv)
        : left(SaturatingAdd(px, -r)), right(SaturatingAdd(px, r)), down(SaturatingAdd(py, -rv)),
          up(SaturatingAdd(py, rv)) {}
};

// A pair's marker: a star of arms r wide and rv high.
inline void DrawMarker(Surface& s, int px, int py, int r, int rv) {
    const auto [left, right, down, up] = MarkerEdges(px, py, r, rv);
    s.MoveTo(left, py);
    s.LineTo(right, py);
    s.MoveTo(px, down);
    s.LineTo(px, up);
    s.MoveTo(left, down);
    s.LineTo(right, up);
    s.MoveTo(right, down);
    s.LineTo(left, up);
}

// The marker of a pair excluded from the fit: a hollow diamond r wide and rv high, apart from
// the stars of the fitted pairs.
inline void DrawExcludedMarker(Surface& s, int px, int py, int r, int rv) {
    const auto [left, right, down, up] = MarkerEdges(px, py, r, rv);
    s.MoveTo(left, py);
    s.LineTo(px, down);
    s.LineTo(right, py);
    s.LineTo(px, up);
    s.LineTo(left, py);
}

} // namespace lumetra
