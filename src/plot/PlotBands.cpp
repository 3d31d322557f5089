#include "plot/PlotBands.h"

#include "data/LumetraDoc.h"
#include "fit/CurveModels.h"
#include "fit/Prediction.h"
#include "platform/SettingsStore.h"
#include "plot/PlotDrawing.h"

#include <algorithm>

namespace lumetra {
namespace {

bool ReadFlag(const SettingsStore& settings, const char* entry) {
    return settings.GetString("Preferences", entry, "0") == "1";
}

} // namespace

PlotOptions LoadPlotOptions(const SettingsStore& settings) {
    PlotOptions options;
    options.confidenceBand = ReadFlag(settings, kConfidenceBandEntry);
    options.predictionBand = ReadFlag(settings, kPredictionBandEntry);
    options.residuals = ReadFlag(settings, kResidualsEntry);
    return options;
}

void SavePlotOptions(SettingsStore& settings, const PlotOptions& options) {
    settings.SetString("Preferences", kConfidenceBandEntry, options.confidenceBand ? "1" : "0");
    settings.SetString("Preferences", kPredictionBandEntry, options.predictionBand ? "1" : "0");
    settings.SetString("Preferences", kResidualsEntry, options.residuals ? "1" : "0");
}

PlottedResiduals ResidualsToPlot(const CLumetraDoc& doc) {
    const size_t N = size_t(std::clamp(doc.m_nPairs, 0, int(doc.m_pPairs.size())));
    PlottedResiduals out;
    if (doc.m_eWeights != WeightScheme::None) {
        if (const StateOutcome state = UsableFitState(doc); state.state) {
            out.values = WeightedResiduals(doc, *state.state);
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

void DrawBands(const CLumetraDoc& doc, Surface& s, const PlotMapping& map, int steps,
               const PlotOptions& options) {
    if (!options.confidenceBand && !options.predictionBand)
        return;
    const CurveOutcome outcome = DocumentCurve(doc);
    if (!outcome.curve || outcome.curve->dof < 1)
        return;
    const FittedCurve& curve = *outcome.curve;
    const double t = StudentQuantile(curve, options.level);
    const bool xFromY = curve.model->xFromY;
    steps = std::clamp(steps, 1, kMaxBandSteps);
    // scatter 0: the mean response's band; 1: a new observation's. side: −1 lower, +1 upper.
    auto edge = [&](double scatter, double side) {
        DrawSampledCurve(s, curve.low, curve.high, steps, [&](double input, int& px, int& py) {
            const std::optional<double> u = FittedInput(curve, input);
            if (!u)
                return false;
            const CurvePoint p = CurveAt(curve, *u);
            // A new observation's scatter follows the weighting: 1/w at the input (1 unweighted).
            const double spread = scatter > 0.0 ? scatter / NewObservationWeight(curve, *u) : 0.0;
            const double output = OutputFromFitted(curve, p.v + side * t * SigmaScale(curve) *
                                                                    std::sqrt(spread + p.leverage));
            px = map.Px(xFromY ? output : input);
            py = map.Py(xFromY ? input : output);
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
}

void DrawResiduals(const CLumetraDoc& doc, Surface& s, const PlotMapping& map,
                   const PlotRange& range, int r, int rv) {
    s.SelectPen(kPenZeroLine);
    s.MoveTo(map.Px(range.minX), map.Py(0.0));
    s.LineTo(map.Px(range.maxX), map.Py(0.0));
    s.SelectPen(kPenData);
    const std::vector<double> residuals = ResidualsToPlot(doc).values;
    for (size_t k = 0; k < residuals.size(); ++k)
        DrawMarker(s, map.Px(doc.m_pPairs[k].m_dX), map.Py(residuals[k]), r, rv);
}

void DrawErrorBars(const CLumetraDoc& doc, Surface& s, const PlotMapping& map, int cap) {
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    const bool onX = model && model->xFromY;
    const int N = std::min(doc.m_nPairs, int(doc.m_pPairs.size()));
    s.SelectPen(kPenData);
    for (int k = 0; k < N; ++k) {
        const CXYdata& p = doc.m_pPairs[size_t(k)];
        if (!(p.m_dSigma > 0.0))
            continue;
        const int px = map.Px(p.m_dX), py = map.Py(p.m_dY);
        if (onX) {
            const int left = map.Px(p.m_dX - p.m_dSigma), right = map.Px(p.m_dX + p.m_dSigma);
            s.MoveTo(left, py);
            s.LineTo(right, py);
            for (int end : {left, right}) {
                s.MoveTo(end, py - cap);
                s.LineTo(end, py + cap);
            }
        } else {
            const int low = map.Py(p.m_dY - p.m_dSigma), high = map.Py(p.m_dY + p.m_dSigma);
            s.MoveTo(px, low);
            s.LineTo(px, high);
            for (int end : {low, high}) {
                s.MoveTo(px - cap, end);
                s.LineTo(px + cap, end);
            }
        }
    }
}

} // namespace lumetra
