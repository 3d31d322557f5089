#pragma once

#include "plot/PlotGeometry.h"

#include <functional>
#include <string>
#include <vector>

namespace lumetra {

// One line of the legend: a marker or a piece of line in the pen it stands for, and its words.
struct LegendEntry {
    bool marker;
    Pen pen;
    std::string text;
};

// The legend's box: its top-left corner and size in logical units.
struct LegendBox {
    int left, top, width, height;
};

inline constexpr Pen kPenLegendFrame{5, {128, 128, 128}};

// The box for the entries inside the plot rectangle, a character in from a corner: of the four
// corners (top right, top left, bottom right, bottom left, in this order of preference) the one
// where `occupied` counts the fewest points inside the box.
LegendBox PlaceLegend(const std::vector<LegendEntry>& entries, const PlotRect& rect,
                      const FontMetrics& f, const std::function<int(const PlotRect&)>& occupied);

// The frame, each entry's sample (lines twice as wide as on the plot, to be seen at this size;
// a marker r wide and rv high) and its words in the default text colour.
void DrawLegend(Surface& s, const LegendBox& box, const std::vector<LegendEntry>& entries,
                const FontMetrics& f, int r, int rv);

} // namespace lumetra
