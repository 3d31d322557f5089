#pragma once

#include "fit/FitStatistics.h"
#include "plot/PlotGeometry.h"

namespace lumetra {

class CLumetraDoc;
class SettingsStore;

// What the plot shows beside the pairs and the curve: the bands of the fit at a level, or
// instead of the curve the residuals (the differences against X with a zero line).
struct PlotOptions {
    bool confidenceBand = false;
    bool predictionBand = false;
    bool residuals = false;
    double level = kDefaultLevel;
    bool operator==(const PlotOptions&) const = default;
};

inline constexpr Pen kPenConfidence{10, {0, 0, 255}};
inline constexpr Pen kPenPrediction{10, {255, 0, 255}};
inline constexpr Pen kPenZeroLine{10, {0, 0, 0}};

// A band is smooth between the pairs: it takes at most one sample a thousandth of an inch of
// the drawing at 100 %, however many pairs the curve is sampled for.
inline constexpr int kMaxBandSteps = 8000;

// The plot window's choices, remembered under "Preferences" as "1" or "0".
inline constexpr const char* kConfidenceBandEntry = "PlotConfidenceBand";
inline constexpr const char* kPredictionBandEntry = "PlotPredictionBand";
inline constexpr const char* kResidualsEntry = "PlotResiduals";
PlotOptions LoadPlotOptions(const SettingsStore& settings);
void SavePlotOptions(SettingsStore& settings, const PlotOptions& options);

// The residual plot's axes: X as the data's, the differences with 0 among them (one either side
// of 0 when every difference is 0).
PlotRange ResidualRange(const CLumetraDoc& doc);

// What the residual plot shows: each pair's difference, or for a weighted fit its weighted
// residual √w·(v − fitted) in the fitted scale.
struct PlottedResiduals {
    std::vector<double> values;
    bool weighted = false;
};
PlottedResiduals ResidualsToPlot(const CLumetraDoc& doc);
inline constexpr const char* kWeightedResidualTitle = "Weighted residual";

// Bars of ±σ through the marker of each pair that has a σ: vertical on Y, horizontal on X for
// X=Ae^BY, with caps `cap` wide.
void DrawErrorBars(const CLumetraDoc& doc, Surface& s, const PlotMapping& map, int cap);

// Each band asked for, both of its edges, sampled over the curve's range in at most `steps`
// steps. A fit without a curve or without degrees of freedom has no bands: nothing is drawn.
void DrawBands(const CLumetraDoc& doc, Surface& s, const PlotMapping& map, int steps,
               const PlotOptions& options);

// The zero line across the range and a marker at each pair's X and difference.
void DrawResiduals(const CLumetraDoc& doc, Surface& s, const PlotMapping& map,
                   const PlotRange& range, int r, int rv);

} // namespace lumetra
