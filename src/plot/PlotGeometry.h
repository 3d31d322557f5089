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

// Data values to logical units.
struct PlotMapping {
    double minX, minY, xs, ys;
    int L0, B0;
    int Px(double x) const { return SaturatingAdd(Trunc((x - minX) * xs), L0); }
    int Py(double y) const { return SaturatingAdd(Trunc((y - minY) * ys), B0); }
};

// Samples a curve from lo to hi in steps of (hi − lo) / steps, the last sample on hi itself.
// eval maps a sample to a point, or returns false where the curve has no value.
template <class Eval>
void DrawSampledCurve(Surface& s, double lo, double hi, int steps, Eval eval) {
    const double d = (hi - lo) / double(steps);
    bool started = false;
    for (double v = lo; v <= hi;) {
        int px = 0, py = 0;
        if (eval(v, px, py)) {
            if (started)
                s.LineTo(px, py);
            else
                s.MoveTo(px, py);
            started = true;
        }
        // The step before hi lands on hi exactly; a step that rounds to no progress does too,
        // so the loop always ends.
        double next = v + d;
        if (v < hi && (next > hi || !(next > v)))
            next = hi;
        v = next;
    }
}

// A pair's marker: a star of arms r wide and rv high.
inline void DrawMarker(Surface& s, int px, int py, int r, int rv) {
    const int left = SaturatingAdd(px, -r), right = SaturatingAdd(px, r);
    const int down = SaturatingAdd(py, -rv), up = SaturatingAdd(py, rv);
    s.MoveTo(left, py);
    s.LineTo(right, py);
    s.MoveTo(px, down);
    s.LineTo(px, up);
    s.MoveTo(left, down);
    s.LineTo(right, up);
    s.MoveTo(right, down);
    s.LineTo(left, up);
}

} // namespace lumetra
