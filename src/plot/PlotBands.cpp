#include "plot/PlotBands.h"

#include "data/LumetraDoc.h"
#include "fit/Prediction.h"
#include "plot/PixelSieve.h"
#include "plot/PlotDrawing.h"

#include <algorithm>

namespace lumetra {
PlotRange ResidualRange(const CLumetraDoc& doc) {
    PlotRange range{doc.m_dMinX, doc.m_dMaxX, 0.0, 0.0};
    const int N = std::min(doc.m_nPairs, int(doc.m_pPairs.size()));
    for (int k = 0; k < N; ++k) {
        const double d = doc.m_pPairs[size_t(k)].m_dDifference;
        range.minY = std::min(range.minY, d);
        range.maxY = std::max(range.maxY, d);
    }
    if (range.minY == range.maxY) {
        range.minY = -1.0;
        range.maxY = 1.0;
    }
    return range;
}

bool DrawBands(const CLumetraDoc& doc, Surface& s, const PlotFrame& frame,
               const PlotOptions& options) {
    if (!options.confidenceBand && !options.predictionBand)
        return false;
    const CurveOutcome outcome = DocumentCurve(doc);
    if (!outcome.curve || outcome.curve->dof < 1)
        return false;
    const FittedCurve& curve = *outcome.curve;
    const double t = StudentQuantile(curve, options.level);
    const bool xFromY = curve.model->xFromY;
    const PlotMapping& map = frame.map;
    const bool logSampled = xFromY ? map.logY : map.logX;
    // scatter 0: the mean response's band; 1: a new observation's. side: −1 lower, +1 upper.
    auto edge = [&](double scatter, double side) {
        DrawSampledCurve(s, frame, curve.low, curve.high, logSampled,
                         [&](double input, int& px, int& py) {
                             const std::optional<double> u = FittedInput(curve, input);
                             if (!u)
                                 return false;
                             const CurvePoint p = CurveAt(curve, *u);
                             const double output = OutputFromFitted(
                                 curve, p.v + side * t * curve.s * std::sqrt(scatter + p.leverage));
                             const double x = xFromY ? output : input;
                             const double y = xFromY ? input : output;
                             if (!map.Defined(x, y))
                                 return false;
                             px = map.Px(x);
                             py = map.Py(y);
                             return true;
                         });
    };
    if (options.predictionBand) {
        s.SelectPen(kPenPrediction);
        edge(1.0, -1.0);
        edge(1.0, 1.0);
    }
    if (options.confidenceBand) {
        s.SelectPen(kPenConfidence);
        edge(0.0, -1.0);
        edge(0.0, 1.0);
    }
    return true;
}

void DrawResiduals(const CLumetraDoc& doc, Surface& s, const PlotFrame& frame,
                   const PlotRange& range, int r, int rv, PixelSieve& sieve) {
    const PlotMapping& map = frame.map;
    s.SelectPen(kPenZeroLine);
    s.MoveTo(frame.clip ? frame.rect.left : map.Px(range.minX), map.Py(0.0));
    s.LineTo(frame.clip ? frame.rect.right : map.Px(range.maxX), map.Py(0.0));
    s.SelectPen(kPenData);
    const int N = std::min(doc.m_nPairs, int(doc.m_pPairs.size()));
    for (int k = 0; k < N; ++k) {
        const CXYdata& p = doc.m_pPairs[size_t(k)];
        const int px = map.Px(p.m_dX), py = map.Py(p.m_dDifference);
        if (sieve.First(px, py, r, rv))
            DrawMarker(s, px, py, r, rv);
    }
}

} // namespace lumetra
