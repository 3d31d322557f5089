#pragma once

#include "plot/PlotGeometry.h"
#include "plot/PlotOptions.h"

#include <vector>

namespace lumetra {

class CLumetraDoc;
class PixelSieve;

inline constexpr Pen kPenConfidence{10, {0, 0, 255}};
inline constexpr Pen kPenPrediction{10, {255, 0, 255}};
inline constexpr Pen kPenZeroLine{10, {0, 0, 0}};

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
// X=Ae^BY, with caps `cap` wide; a bar a log axis cannot show stops at the frame. True when a
// bar was drawn.
bool DrawErrorBars(const CLumetraDoc& doc, Surface& s, const PlotFrame& frame, int cap);

// Each band asked for, both of its edges, sampled over the curve's range in the frame's steps
// (even in the logarithm where the input's axis is logarithmic). A fit without a curve or without
// degrees of freedom has no bands: nothing is drawn, and false is returned.
bool DrawBands(const CLumetraDoc& doc, Surface& s, const PlotFrame& frame,
               const PlotOptions& options);

// The zero line across the range and a marker at each pair's X and difference, once a pixel.
void DrawResiduals(const CLumetraDoc& doc, Surface& s, const PlotFrame& frame,
                   const PlotRange& range, int r, int rv, PixelSieve& sieve);

} // namespace lumetra
