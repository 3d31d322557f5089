#include "plot/PlotDrawing.h"

#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "fit/ModelEval.h"
#include "platform/Ui.h"
#include "plot/PlotBands.h"
#include "plot/PlotFile.h"

namespace lumetra {
namespace {

constexpr size_t kWorkBuffer = 199; // characters a label or the vertical title may hold

std::string Label(const std::string& format, double value) {
    std::string text = FormatC(format, {value});
    TrimBlanks(text);
    if (text.size() > kWorkBuffer)
        text.resize(kWorkBuffer);
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
    s.SelectPen(kPenCurve);
    const int steps = N * m;
    if (doc.m_nCurveType == 3) {
        DrawSampledCurve(s, doc.m_dMinY, doc.m_dMaxY, steps, [&](double y, int& px, int& py) {
            double x = 0.0;
            EvalCurvePoint(doc, x, y);
            px = map.Px(x);
            py = map.Py(y);
            return true;
        });
    } else {
        DrawSampledCurve(s, doc.m_dMinX, doc.m_dMaxX, steps, [&](double x, int& px, int& py) {
            double y = 0.0;
            if (!EvalCurvePoint(doc, x, y))
                return false;
            px = map.Px(x);
            py = map.Py(y);
            return true;
        });
    }
    DrawBands(doc, s, map, steps, options);
    s.SelectPen(kPenData);
    for (int k = 0; k < N; ++k) {
        const CXYdata& p = doc.m_pPairs[size_t(k)];
        DrawMarker(s, map.Px(p.m_dX), map.Py(p.m_dY), r, rv);
    }
}

void DrawTitles(const CLumetraDoc& doc, Surface& s, const PlotLayout& l, const FontMetrics& f) {
    const Rgb previous = s.SetTextColor({255, 0, 0});
    auto centredLeft = [&](size_t n) {
        return Trunc((double(l.W) - double(f.charWidth) * double(n)) * 0.5 + l.L0);
    };
    s.TextOut(centredLeft(doc.m_strDataTitle.size()), l.B0 + l.H + 2 * f.lineHeight,
              doc.m_strDataTitle);
    s.SetTextColor({0, 0, 255});
    s.TextOut(centredLeft(doc.m_strXTitle.size()), (l.B0 - f.lineHeight) / 2, doc.m_strXTitle);
    std::string y = doc.m_strYTitle.substr(0, kWorkBuffer);
    TrimBlanks(y);
    const int Lt = f.lineHeight * int(y.size());
    int top = Trunc(Lt + (double(l.H) - Lt) * 0.5 + l.B0);
    for (char c : y) {
        s.TextOut(f.charWidth, top, std::string_view(&c, 1));
        top -= f.lineHeight;
    }
    s.SetTextColor(previous);
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

void DrawPlot(const CLumetraDoc& doc, Surface& s, Ui& ui, const PlotLayout& l, const FontMetrics& f,
              const PlotOptions& options) {
    s.SetWindowOrigin(0, l.H + 2000 / l.z);
    if (const std::optional<std::string> refusal = PlotRangeMessage(doc)) {
        ui.MessageBox(*refusal);
        return;
    }
    const PlotRange range = options.residuals
                                ? ResidualRange(doc)
                                : PlotRange{doc.m_dMinX, doc.m_dMaxX, doc.m_dMinY, doc.m_dMaxY};
    // The differences of X=Ae^BY are X values.
    const std::string& yFormat =
        options.residuals && doc.m_nCurveType == 3 ? doc.m_szXFormat : doc.m_szYFormat;
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
    for (int j = 0, y = l.B0; j <= 5; ++j, y += l.tickStep) {
        s.MoveTo(l.L0, y);
        s.LineTo(l.L0 - l.tick, y);
        const std::string text = Label(yFormat, w);
        s.TextOut(YLabelLeft(text, l.L0 - l.tick, f.charWidth), y + f.lineHeight / 2, text);
        w += (range.maxY - range.minY) * 0.2;
    }

    DrawCurveAndMarkers(doc, s, l, map, range, options);
    DrawTitles(doc, s, l, f);
}

void PaintPlot(const CLumetraDoc& doc, Surface& surface, Ui& ui, bool fullSize,
               const PlotOptions& options) {
    if (doc.m_nPairs < 1)
        return;
    const FontMetrics metrics = surface.SelectFont(PlotFontHeight(fullSize));
    surface.SelectPen(kPenAxes);
    DrawPlot(doc, surface, ui, PlotLayout(fullSize ? 1 : 2), metrics, options);
}

} // namespace lumetra
