#pragma once

#include "plot/PlotGeometry.h"

#include <string>
#include <vector>

namespace lumetra {

struct PlotLayout;

// One tick: where it stands along its axis, its label ("" for none) and whether it is a short
// one between labelled ticks of a log axis.
struct AxisTick {
    int pos;
    std::string label;
    bool minor = false;
};

// An axis's ticks. The described axis has nine X (six Y) ticks at exact eighths (fifths) of the
// data's range, X labels with their point on the tick in two alternating rows; the others centre
// their labels and use a second row only where neighbours would meet.
struct PlotAxis {
    std::vector<AxisTick> ticks;
    bool described = true;
};

// How an axis runs: logarithmic, readable (widened to tidy values, ticks at 1, 2 or 5 times a
// power of ten, labels in as few digits as tell them apart), or as described.
struct AxisChoice {
    bool log = false;
    bool readable = false;
};

struct PlotAxes {
    PlotAxis x, y;
    PlotMapping map;
};

// The axes over the range (min < max; on a log axis both above 0) for the layout, labelled in
// the display formats where they are not readable.
PlotAxes MakePlotAxes(const PlotRange& range, AxisChoice x, AxisChoice y, const PlotLayout& layout,
                      const std::string& xFormat, const std::string& yFormat);

// The axes as one line, then the X ticks with their labels and the Y ticks with theirs. Returns
// the leftmost edge of the Y labels (the axis's x when there are none left of it).
int DrawAxes(Surface& s, const PlotLayout& layout, const FontMetrics& f, const PlotAxes& axes);

// A tick label: the value in a display format, trimmed, at most the work buffer's length.
std::string TickLabel(const std::string& format, double value);

} // namespace lumetra
