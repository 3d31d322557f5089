#include "plot/PlotDrawing.h"

#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "data/Utf8Text.h"
#include "fit/CurveModels.h"
#include "fit/ModelEval.h"
#include "plot/PlotBands.h"
#include "plot/PlotFile.h"
#include "plot/PlotTitles.h"

#include <algorithm>

namespace lumetra {
namespace {

std::string Label(const std::string& format, double value) {
    std::string text = FormatC(format, {value});
    TrimBlanks(text);
    if (text.size() > kPlotWorkBuffer)
        text.resize(kPlotWorkBuffer);
    return text;
}

void DrawCurveAndMarkers(const CLumetraDoc& doc, Surface& s, const PlotLayout& l,
                         const PlotMapping& map, const PlotRange& range,
                         const PlotOptions& options) {
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
    const int rv = Trunc(double(r) * double(l.W) / double(l.H));
    if (options.residuals) {
        DrawResiduals(doc, s, map, range, r, rv);
        return;
    }
    const int steps = N * m;
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    const bool hasCurve = doc.m_strFitFailure.empty(); // a failed fit shows its pairs only
    // Bands first: a band narrower than a pixel must not hide the curve.
    if (hasCurve)
        DrawBands(doc, s, map, steps, options);
    s.SelectPen(kPenCurve);
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
    for (int k = 0; k < N; ++k) {
        const CXYdata& p = doc.m_pPairs[size_t(k)];
        DrawMarker(s, map.Px(p.m_dX), map.Py(p.m_dY), r, rv);
    }
    DrawErrorBars(doc, s, map, r / 2);
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
                                    const FontMetrics& f, const PlotOptions& asked) {
    s.SetWindowOrigin(0, l.H + 2000 / l.z);
    if (std::optional<std::string> refusal = PlotRangeMessage(doc))
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
    const PlotMapping map{range.minX,
                          range.minY,
                          double(l.W) / (range.maxX - range.minX),
                          double(l.H) / (range.maxY - range.minY),
                          l.L0,
                          l.B0};

    s.MoveTo(l.L0, l.B0 + l.H);
    s.LineTo(l.L0, l.B0);
    s.LineTo(l.L0 + l.W, l.B0);

    double v = range.minX;
    for (int i = 0, x = l.L0; i <= 8; ++i, x += l.tickStep) {
        s.MoveTo(x, l.B0);
        s.LineTo(x, l.B0 - l.tick);
        const std::string text = Label(doc.m_szXFormat, v);
        const int rows = i % 2 == 0 ? 1 : 2;
        s.TextOut(XLabelLeft(text, x, f.charWidth), l.B0 - l.tick - rows * f.lineHeight, text);
        v += (range.maxX - range.minX) * 0.125;
    }
    double w = range.minY;
    int yLabelsLeft = l.L0;
    for (int j = 0, y = l.B0; j <= 5; ++j, y += l.tickStep) {
        s.MoveTo(l.L0, y);
        s.LineTo(l.L0 - l.tick, y);
        const std::string text = Label(yFormat, w);
        const int left = YLabelLeft(text, l.L0 - l.tick, f.charWidth);
        s.TextOut(left, y + f.lineHeight / 2, text);
        yLabelsLeft = std::min(yLabelsLeft, left);
        w += (range.maxY - range.minY) * 0.2;
    }

    DrawCurveAndMarkers(doc, s, l, map, range, options);
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

} // namespace lumetra
