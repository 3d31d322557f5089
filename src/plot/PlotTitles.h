#pragma once

#include "platform/Surface.h"

#include <string>

namespace lumetra {

class CLumetraDoc;
struct PlotLayout;

// The data title centred over the plot, the X title under the X labels and the Y title stacked
// left of the Y labels, each moved clear of the labels where the plain layout would run into
// them. yLabelsLeft is the leftmost edge of the Y tick labels; yTitle is what the vertical axis
// shows (the data's Y title but on a residual plot).
void DrawTitles(const CLumetraDoc& doc, Surface& surface, const PlotLayout& layout,
                const FontMetrics& metrics, int yLabelsLeft, const std::string& yTitle);

} // namespace lumetra
