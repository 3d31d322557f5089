#include "plot/PlotDrawing.h"

#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "data/Utf8Text.h"
#include "fit/CurveModels.h"
#include "fit/ModelEval.h"
#include "plot/PlotFile.h"
#include "plot/PlotTitles.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace lumetra {
namespace {

// A double to int by truncation; values beyond int (an extrapolated curve can reach them) are
// held at its ends instead of being undefined.
int Trunc(double v) {
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
int SaturatingAdd(int v, int offset) {
    const long long sum = (long long)v + offset;
    return sum > INT_MAX ? INT_MAX : sum < INT_MIN ? INT_MIN : int(sum);
}

struct Mapping {
    double minX, minY, xs, ys;
    int L0, B0;
    int Px(double x) const { return SaturatingAdd(Trunc((x - minX) * xs), L0); }
    int Py(double y) const { return SaturatingAdd(Trunc((y - minY) * ys), B0); }
};

std::string Label(const std::string& format, double value) {
    std::string text = FormatC(format, {value});
    TrimBlanks(text);
    if (text.size() > kPlotWorkBuffer)
        text.resize(kPlotWorkBuffer);
    return text;
}

// Samples the curve from lo to hi in steps of (hi − lo) / steps, the last sample on hi itself.
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

void DrawCurveAndMarkers(const CLumetraDoc& doc, Surface& s, const PlotLayout& l,
                         const Mapping& map) {
    const int N = std::min(doc.m_nPairs, int(doc.m_pPairs.size()));
    int m = 10, r = 50 / l.z;
    if (N > 100) {
        m = 5;
        r /= 2;
    }
    if (N > 1000) {
        m = 1;
        r /= 2;
    }
    s.SelectPen(kPenCurve);
    const int steps = N * m;
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    const bool hasCurve = doc.m_strFitFailure.empty(); // a failed fit shows its pairs only
    if (hasCurve && model && model->xFromY) {
        DrawSampledCurve(s, doc.m_dMinY, doc.m_dMaxY, steps, [&](double y, int& px, int& py) {
            double x = 0.0;
            EvalCurvePoint(doc, x, y);
            px = map.Px(x);
            py = map.Py(y);
            return true;
        });
    } else if (hasCurve) {
        DrawSampledCurve(s, doc.m_dMinX, doc.m_dMaxX, steps, [&](double x, int& px, int& py) {
            double y = 0.0;
            if (!EvalCurvePoint(doc, x, y))
                return false;
            px = map.Px(x);
            py = map.Py(y);
            return true;
        });
    }
    s.SelectPen(kPenData);
    const int rv = Trunc(double(r) * double(l.W) / double(l.H));
    for (int k = 0; k < N; ++k) {
        const CXYdata& p = doc.m_pPairs[size_t(k)];
        const int px = map.Px(p.m_dX), py = map.Py(p.m_dY);
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
}

} // namespace

PlotLayout::PlotLayout(int zoomDiv)
    : z(zoomDiv), W(8000 / z), H(5000 / z), L0(2000 / z), B0(1000 / z), tickStep(1000 / z),
      tick(100 / z) {}

void TrimBlanks(std::string& text) {
    TrimCSpace(text);
}

int XLabelLeft(const std::string& text, int x, int charWidth) {
    const size_t point = text.find('.');
    if (point == std::string::npos || point == 0)
        return x;
    return x - int(point) * charWidth;
}

int YLabelLeft(const std::string& text, int x, int charWidth) {
    const int r = x - (int(text.size()) + 1) * charWidth;
    return r > 0 ? r : 0;
}

std::optional<std::string> DrawPlot(const CLumetraDoc& doc, Surface& s, const PlotLayout& l,
                                    const FontMetrics& f) {
    s.SetWindowOrigin(0, l.H + 2000 / l.z);
    if (std::optional<std::string> refusal = PlotRangeMessage(doc))
        return refusal;
    const Mapping map{doc.m_dMinX,
                      doc.m_dMinY,
                      double(l.W) / (doc.m_dMaxX - doc.m_dMinX),
                      double(l.H) / (doc.m_dMaxY - doc.m_dMinY),
                      l.L0,
                      l.B0};

    s.MoveTo(l.L0, l.B0 + l.H);
    s.LineTo(l.L0, l.B0);
    s.LineTo(l.L0 + l.W, l.B0);

    double v = doc.m_dMinX;
    for (int i = 0, x = l.L0; i <= 8; ++i, x += l.tickStep) {
        s.MoveTo(x, l.B0);
        s.LineTo(x, l.B0 - l.tick);
        const std::string text = Label(doc.m_szXFormat, v);
        const int rows = i % 2 == 0 ? 1 : 2;
        s.TextOut(XLabelLeft(text, x, f.charWidth), l.B0 - l.tick - rows * f.lineHeight, text);
        v += (doc.m_dMaxX - doc.m_dMinX) * 0.125;
    }
    double w = doc.m_dMinY;
    int yLabelsLeft = l.L0;
    for (int j = 0, y = l.B0; j <= 5; ++j, y += l.tickStep) {
        s.MoveTo(l.L0, y);
        s.LineTo(l.L0 - l.tick, y);
        const std::string text = Label(doc.m_szYFormat, w);
        const int left = YLabelLeft(text, l.L0 - l.tick, f.charWidth);
        s.TextOut(left, y + f.lineHeight / 2, text);
        yLabelsLeft = std::min(yLabelsLeft, left);
        w += (doc.m_dMaxY - doc.m_dMinY) * 0.2;
    }

    DrawCurveAndMarkers(doc, s, l, map);
    DrawTitles(doc, s, l, f, yLabelsLeft);
    return std::nullopt;
}

std::optional<std::string> PaintPlot(const CLumetraDoc& doc, Surface& surface, bool fullSize) {
    if (doc.m_nPairs < 1)
        return std::nullopt;
    const FontMetrics metrics = surface.SelectFont(PlotFontHeight(fullSize));
    surface.SelectPen(kPenAxes);
    return DrawPlot(doc, surface, PlotLayout(fullSize ? 1 : 2), metrics);
}

} // namespace lumetra
