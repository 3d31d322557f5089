#include "plot/PlotBands.h"

#include "data/LumetraDoc.h"
#include "fit/CurveModels.h"
#include "fit/Influence.h"
#include "fit/Prediction.h"
#include "plot/PixelSieve.h"
#include "plot/PlotDrawing.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace lumetra {
PlottedResiduals ResidualsToPlot(const CLumetraDoc& doc) {
    const size_t N = size_t(std::clamp(doc.m_nPairs, 0, int(doc.m_pPairs.size())));
    PlottedResiduals out;
    if (doc.m_eWeights != WeightScheme::None) {
        if (const StateOutcome state = UsableFitState(doc); state.state) {
            out.values = AllWeightedResiduals(doc, *state.state);
            out.weighted = out.values.size() == N;
            if (out.weighted)
                return out;
        }
    }
    out.values.resize(N);
    for (size_t k = 0; k < N; ++k)
        out.values[k] = doc.m_pPairs[k].m_dDifference;
    return out;
}

PlotRange ResidualRange(const CLumetraDoc& doc) {
    PlotRange range{doc.m_dMinX, doc.m_dMaxX, 0.0, 0.0};
    for (const double d : ResidualsToPlot(doc).values) {
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
    // The curve is solved once a sample for all four edges; each edge is then drawn whole.
    // Edges: prediction lower and upper, confidence lower and upper (gaps where undefined).
    constexpr size_t kEdges = 4;
    struct EdgePoint {
        int px = 0, py = 0;
        bool defined = false;
    };
    // On a surface of pixels two samples a pixel column draw the band that more would.
    int steps = frame.steps;
    if (const std::optional<PixelMap> pixels = s.Pixels()) {
        const double columns = std::fabs((frame.rect.right - frame.rect.left) * pixels->sx);
        steps = std::clamp(2 * int(std::ceil(columns)), 2, steps);
    }
    std::vector<std::array<EdgePoint, kEdges>> samples;
    ForEachSample(curve.low, curve.high, steps, logSampled, [&](double input) {
        std::array<EdgePoint, kEdges>& sample = samples.emplace_back();
        const std::optional<double> u = FittedInput(curve, input);
        if (!u)
            return;
        const CurvePoint p = CurveAt(curve, *u);
        // A new observation's scatter follows the weighting: 1/w at the input (1 unweighted).
        const double spreads[2] = {
            options.predictionBand ? 1.0 / NewObservationWeight(curve, *u) : 0.0, 0.0};
        for (int e = options.predictionBand ? 0 : 2; e < (options.confidenceBand ? 4 : 2); ++e) {
            const double side = e % 2 == 0 ? -1.0 : 1.0;
            const double output = OutputFromFitted(
                curve, p.v + side * t * SigmaScale(curve) * std::sqrt(spreads[e / 2] + p.leverage));
            const double x = xFromY ? output : input;
            const double y = xFromY ? input : output;
            if (map.Defined(x, y))
                sample[size_t(e)] = {map.Px(x), map.Py(y), true};
        }
    });
    auto edge = [&](int e) {
        CurveTracer trace(s, frame);
        for (const std::array<EdgePoint, kEdges>& sample : samples) {
            const EdgePoint& point = sample[size_t(e)];
            if (point.defined)
                trace.To(point.px, point.py);
            else
                trace.Break();
        }
    };
    if (options.predictionBand) {
        s.SelectPen(kPenPrediction);
        edge(0);
        edge(1);
    }
    if (options.confidenceBand) {
        s.SelectPen(kPenConfidence);
        edge(2);
        edge(3);
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
    const std::vector<double> residuals = ResidualsToPlot(doc).values;
    for (size_t k = 0; k < residuals.size(); ++k) {
        const int px = map.Px(doc.m_pPairs[k].m_dX), py = map.Py(residuals[k]);
        // Past the sieve: an excluded pair is never hidden among the fitted ones.
        if (doc.m_pPairs[k].m_bExcluded)
            DrawExcludedMarker(s, px, py, r, rv);
        else if (sieve.First(px, py, r, rv))
            DrawMarker(s, px, py, r, rv);
    }
    // A box round each flagged pair, past the sieve so that none hides among its neighbours; the
    // pen is chosen only when one is flagged, and a drawing without flags stays as it was.
    const std::shared_ptr<const InfluenceOutcome> measured = DocumentInfluence(doc);
    const InfluenceOutcome& influence = *measured;
    if (!influence.table)
        return;
    bool chosen = false;
    for (const PairInfluence& pair : influence.table->pairs) {
        if (!pair.Flagged() || pair.pair >= residuals.size())
            continue;
        if (!chosen)
            s.SelectPen(kPenFlagged);
        chosen = true;
        const int px = map.Px(doc.m_pPairs[pair.pair].m_dX), py = map.Py(residuals[pair.pair]);
        const int left = SaturatingAdd(px, -2 * r), right = SaturatingAdd(px, 2 * r);
        const int down = SaturatingAdd(py, -2 * rv), up = SaturatingAdd(py, 2 * rv);
        s.MoveTo(left, down);
        s.LineTo(right, down);
        s.LineTo(right, up);
        s.LineTo(left, up);
        s.LineTo(left, down);
    }
}

bool DrawErrorBars(const CLumetraDoc& doc, Surface& s, const PlotFrame& frame, int cap) {
    const PlotMapping& map = frame.map;
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    const bool onX = model && model->xFromY;
    const int N = std::min(doc.m_nPairs, int(doc.m_pPairs.size()));
    s.SelectPen(kPenData);
    bool drawn = false;
    for (int k = 0; k < N; ++k) {
        const CXYdata& p = doc.m_pPairs[size_t(k)];
        if (!(p.m_dSigma > 0.0) || !map.Defined(p.m_dX, p.m_dY))
            continue;
        drawn = true;
        const int px = map.Px(p.m_dX), py = map.Py(p.m_dY);
        // The end a log axis cannot show (at or below zero) is drawn to the frame's edge.
        if (onX) {
            const double lowX = p.m_dX - p.m_dSigma;
            const int left = map.Defined(lowX, p.m_dY) ? map.Px(lowX) : frame.rect.left;
            const int right = map.Px(p.m_dX + p.m_dSigma);
            s.MoveTo(left, py);
            s.LineTo(right, py);
            for (int end : {left, right}) {
                s.MoveTo(end, py - cap);
                s.LineTo(end, py + cap);
            }
        } else {
            const double lowY = p.m_dY - p.m_dSigma;
            const int low = map.Defined(p.m_dX, lowY) ? map.Py(lowY) : frame.rect.bottom;
            const int high = map.Py(p.m_dY + p.m_dSigma);
            s.MoveTo(px, low);
            s.LineTo(px, high);
            for (int end : {low, high}) {
                s.MoveTo(px - cap, end);
                s.LineTo(px + cap, end);
            }
        }
    }
    return drawn;
}

} // namespace lumetra
