#include "plot/PlotDrawing.h"

#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "data/NumberScan.h"
#include "data/Utf8Text.h"
#include "fit/CurveModels.h"
#include "fit/ModelEval.h"
#include "plot/PixelSieve.h"
#include "plot/PlotAxes.h"
#include "plot/PlotBands.h"
#include "plot/PlotFile.h"
#include "plot/PlotLegend.h"
#include "plot/PlotTitles.h"

#include <algorithm>
#include <cmath>

namespace lumetra {
namespace {

// Pairs the legend's place is chosen by: every one up to this many, an even share beyond; and
// the samples of the curve.
constexpr int kLegendSamples = 20000;
constexpr int kLegendCurveSamples = 200;

// A surface that keeps only the points it is given.
class RecordingPoints : public Surface {
public:
    explicit RecordingPoints(std::vector<std::pair<int, int>>& points) : m_points(points) {}
    void SetWindowOrigin(int, int) override {}
    void SelectPen(const Pen&) override {}
    FontMetrics SelectFont(int) override { return {}; }
    Rgb SetTextColor(Rgb color) override { return color; }
    void MoveTo(int x, int y) override { m_points.push_back({x, y}); }
    void LineTo(int x, int y) override { m_points.push_back({x, y}); }
    void TextOut(int, int, std::string_view) override {}

private:
    std::vector<std::pair<int, int>>& m_points;
};

struct MarkerSize {
    int steps, r, rv;
};

// The density rule: curve steps a pair and the marker's half-width and half-height.
MarkerSize DensityRule(const PlotLayout& l, int N) {
    int m = 10, r = 50 / l.z;
    if (N > 100) {
        m = 5;
        r /= 2;
    }
    if (N > 1000) {
        m = 1;
        r /= 2;
    }
    return {N * m, r, Trunc(double(r) * double(l.W) / double(l.H))};
}

// The curve's point at a sample of X (of Y for X=Ae^BY); false where it has no value or a log
// axis cannot show it.
bool CurvePointAt(const CLumetraDoc& doc, const PlotMapping& map, double v, int& px, int& py) {
    double x = v, y = v; // the model takes its input and sets the other
    if (!EvalCurvePoint(doc, x, y) || !map.Defined(x, y))
        return false;
    px = map.Px(x);
    py = map.Py(y);
    return true;
}

// The fitted curve, sampled along X (along Y for X=Ae^BY) in the frame's steps.
void DrawCurve(const CLumetraDoc& doc, Surface& s, const PlotFrame& frame, bool xFromY) {
    s.SelectPen(kPenCurve);
    DrawSampledCurve(
        s, frame, xFromY ? doc.m_dMinY : doc.m_dMinX, xFromY ? doc.m_dMaxY : doc.m_dMaxX,
        xFromY ? frame.map.logY : frame.map.logX,
        [&](double v, int& px, int& py) { return CurvePointAt(doc, frame.map, v, px, py); });
}

std::string LevelText(double level) {
    return FormatC("%g%%", {level * 100.0});
}

// What a plot of the pairs shows besides their markers.
struct DrawnParts {
    bool curve, bands, errorBars;
};

// The legend of the pairs, the curve, the bands and the error bars drawn, where it covers the
// fewest of them.
void DrawPlotLegend(const CLumetraDoc& doc, Surface& s, const PlotFrame& frame,
                    const FontMetrics& f, const PlotOptions& options, const MarkerSize& size,
                    bool xFromY, const DrawnParts& drawn) {
    std::vector<LegendEntry> entries = {{true, kPenData, "Data"}};
    if (drawn.curve)
        entries.push_back({false, kPenCurve, "Fitted curve"});
    if (drawn.bands && options.confidenceBand)
        entries.push_back({false, kPenConfidence, "Confidence band " + LevelText(options.level)});
    if (drawn.bands && options.predictionBand)
        entries.push_back({false, kPenPrediction, "Prediction band " + LevelText(options.level)});
    if (drawn.errorBars)
        entries.push_back({false, kPenData, "Error bars (\u00b1\u03c3)"});
    // A pair counts where its marker would meet the box; the curve where it crosses it.
    std::vector<std::pair<int, int>> pairs, curve;
    const int N = std::min(doc.m_nPairs, int(doc.m_pPairs.size()));
    const int stride = std::max(1, N / kLegendSamples);
    for (int k = 0; k < N; k += stride) {
        const CXYdata& p = doc.m_pPairs[size_t(k)];
        pairs.push_back({frame.map.Px(p.m_dX), frame.map.Py(p.m_dY)});
    }
    if (drawn.curve) {
        PlotFrame sampled = frame;
        sampled.steps = kLegendCurveSamples;
        RecordingPoints record(curve);
        DrawCurve(doc, record, sampled, xFromY);
    }
    auto within = [](const std::vector<std::pair<int, int>>& points, const PlotRect& r) {
        return int(std::count_if(points.begin(), points.end(), [&](const std::pair<int, int>& p) {
            return p.first >= r.left && p.first <= r.right && p.second >= r.bottom &&
                   p.second <= r.top;
        }));
    };
    const LegendBox box = PlaceLegend(entries, frame.rect, f, [&](const PlotRect& r) {
        return within(pairs,
                      {r.left - size.r, r.bottom - size.rv, r.right + size.r, r.top + size.rv}) +
               within(curve, r);
    });
    DrawLegend(s, box, entries, f, size.r, size.rv);
}

void DrawCurveAndMarkers(const CLumetraDoc& doc, Surface& s, const PlotLayout& l,
                         const PlotFrame& frame, const PlotRange& range, const FontMetrics& f,
                         const PlotOptions& options) {
    const int N = std::min(doc.m_nPairs, int(doc.m_pPairs.size()));
    const MarkerSize size = DensityRule(l, N);
    PlotFrame sampled = frame;
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    const bool xFromY = model && model->xFromY;
    sampled.steps = std::min(size.steps, kMaxCurveSteps);
    PixelSieve sieve(s, 0, l.H + 2000 / l.z - l.ScrollHeight(), l.ScrollWidth(), l.H + 2000 / l.z);
    if (options.residuals) {
        DrawResiduals(doc, s, sampled, range, size.r, size.rv, sieve);
        return;
    }
    const bool hasCurve = doc.m_strFitFailure.empty(); // a failed fit shows its pairs only
    // Bands first: a band narrower than a pixel must not hide the curve.
    const bool bands = hasCurve && DrawBands(doc, s, sampled, options);
    if (hasCurve)
        DrawCurve(doc, s, sampled, xFromY);
    s.SelectPen(kPenData);
    const PlotMapping& map = frame.map;
    bool anySigma = false; // a set without σ is not gone through again for error bars
    for (int k = 0; k < N; ++k) {
        const CXYdata& p = doc.m_pPairs[size_t(k)];
        anySigma |= p.m_dSigma > 0.0;
        const int px = map.Px(p.m_dX), py = map.Py(p.m_dY);
        // Past the sieve, as on the residual plot: an excluded pair never hides among the others.
        if (p.m_bExcluded)
            DrawExcludedMarker(s, px, py, size.r, size.rv);
        else if (sieve.First(px, py, size.r, size.rv))
            DrawMarker(s, px, py, size.r, size.rv);
    }
    const DrawnParts drawn{hasCurve, bands, anySigma && DrawErrorBars(doc, s, frame, size.r / 2)};
    if (drawn.bands || drawn.errorBars)
        DrawPlotLegend(doc, s, frame, f, options, size, xFromY, drawn);
}

} // namespace

PlotLayout::PlotLayout(int zoomDiv)
    : z(zoomDiv), W(8000 / z), H(5000 / z), L0(2000 / z), B0(1000 / z), tickStep(1000 / z),
      tick(100 / z) {}

PlotPlacement PlaceWholePlot(int width, int height) {
    const PlotLayout l(1);
    const double dpi = std::max(
        1.0, std::min(width * 1000.0 / l.ScrollWidth(), height * 1000.0 / l.ScrollHeight()));
    return {dpi, int(std::lround((width - l.ScrollWidth() * dpi / 1000.0) / 2)),
            int(std::lround((height - l.ScrollHeight() * dpi / 1000.0) / 2))};
}

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
                                    const FontMetrics& f, const PlotOptions& asked) {
    s.SetWindowOrigin(0, l.H + 2000 / l.z);
    if (std::optional<std::string> refusal = PlotRefusal(doc, asked))
        return refusal;
    // A failed fit has no differences to show: its pairs are plotted as they are.
    PlotOptions options = asked;
    options.residuals = asked.residuals && doc.m_strFitFailure.empty();
    const PlotRange range = options.residuals
                                ? ResidualRange(doc)
                                : PlotRange{doc.m_dMinX, doc.m_dMaxX, doc.m_dMinY, doc.m_dMaxY};
    // The differences of X=Ae^BY are X values; the vertical axis says whose differences it shows.
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    const bool xDifferences = options.residuals && model && model->xFromY;
    const std::string& yFormat = xDifferences ? doc.m_szXFormat : doc.m_szYFormat;
    const std::string yTitle =
        !options.residuals ? doc.m_strYTitle
        : ResidualsToPlot(doc).weighted
            ? std::string(kWeightedResidualTitle)
            : (xDifferences ? doc.m_strXTitle : doc.m_strYTitle) + " difference";
    // Differences straddle zero: a residual plot's vertical axis is never logarithmic.
    const PlotAxes axes = MakePlotAxes(range, {options.logX, options.readable},
                                       {options.logY && !options.residuals, options.readable}, l,
                                       doc.m_szXFormat, yFormat);
    const int yLabelsLeft = DrawAxes(s, l, f, axes);
    const PlotFrame frame{axes.map, 0, options.readable, {l.L0, l.B0, l.L0 + l.W, l.B0 + l.H}};
    DrawCurveAndMarkers(doc, s, l, frame, range, f, options);
    DrawTitles(doc, s, l, f, yLabelsLeft, yTitle);
    return std::nullopt;
}

std::optional<std::string> PaintPlot(const CLumetraDoc& doc, Surface& surface, bool fullSize,
                                     const PlotOptions& options) {
    if (doc.m_nPairs < 1)
        return std::nullopt;
    const FontMetrics metrics = surface.SelectFont(PlotFontHeight(fullSize));
    surface.SelectPen(kPenAxes);
    return DrawPlot(doc, surface, PlotLayout(fullSize ? 1 : 2), metrics, options);
}

void PaintPlotRefusal(Surface& s, bool fullSize, const std::string& reason) {
    const FontMetrics f = s.SelectFont(PlotFontHeight(fullSize));
    s.SelectPen(kPenAxes);
    const PlotLayout l(fullSize ? 1 : 2);
    s.SetWindowOrigin(0, l.H + 2000 / l.z);
    s.MoveTo(l.L0, l.B0);
    s.LineTo(l.L0 + l.W, l.B0);
    s.LineTo(l.L0 + l.W, l.B0 + l.H);
    s.LineTo(l.L0, l.B0 + l.H);
    s.LineTo(l.L0, l.B0);
    std::vector<std::string_view> lines;
    for (std::string_view rest = reason;;) {
        const size_t nl = rest.find('\n');
        lines.push_back(rest.substr(0, nl));
        if (nl == std::string_view::npos)
            break;
        rest.remove_prefix(nl + 1);
    }
    int top = l.B0 + l.H / 2 + int(lines.size()) * f.lineHeight / 2;
    for (std::string_view line : lines) {
        const int width = int(Utf8Length(line)) * f.charWidth;
        s.TextOut(std::max(0, l.L0 + (l.W - width) / 2), top, line);
        top -= f.lineHeight;
    }
}

} // namespace lumetra
