#pragma once

#include "platform/Surface.h"
#include "plot/PlotOptions.h"

#include <cstddef>
#include <optional>
#include <string>

namespace lumetra {

class CLumetraDoc;

inline constexpr Pen kPenAxes{20, {0, 0, 0}};
inline constexpr Pen kPenData{10, {255, 0, 0}};
inline constexpr Pen kPenCurve{10, {0, 255, 0}};
// The box round a flagged pair's marker on the residual plot.
inline constexpr Pen kPenFlagged{10, {255, 128, 0}};

// The plot's geometry at zoom divisor z (1 at 100 %, 2 at 50 %): integer constants divided by z.
struct PlotLayout {
    explicit PlotLayout(int zoomDiv);
    int z, W, H, L0, B0, tickStep, tick;
    int ScrollWidth() const { return 11500 / z; }
    int ScrollHeight() const { return 7500 / z; }
};

// The whole drawing at 100 % fitted into width × height pixels and centred in them: its pixels
// an inch (at least 1) and where its top-left corner goes.
struct PlotPlacement {
    double dpi;
    int left, top;
};
PlotPlacement PlaceWholePlot(int width, int height);

// Characters a tick label or the vertical Y title may hold.
inline constexpr size_t kPlotWorkBuffer = 199;

// The font height of the plot at 100 % (true) or 50 %.
inline int PlotFontHeight(bool fullSize) {
    return fullSize ? 150 : 100;
}

// Removes leading and trailing C white space.
void TrimBlanks(std::string& text);
// Left edges of tick labels: an X label puts its decimal point on its tick; a Y label ends one
// character left of x but never starts left of the drawing.
int XLabelLeft(const std::string& text, int x, int charWidth);
int YLabelLeft(const std::string& text, int x, int charWidth);

// A curve and its bands take the density rule's steps, but never more than one a thousandth of
// an inch of the drawing at 100 %, the finest it resolves: beyond 8000 pairs more samples would
// only draw the same pixels again.
inline constexpr int kMaxCurveSteps = 8000;

// Draws the whole plot of the document: axes, ticks and labels, the fitted curve with the bands
// asked for, the markers (one a device pixel), the legend of the bands and the titles; or in place
// of curve and pairs the residual plot. With no X or Y range, or data a log axis cannot show, it
// draws nothing and returns the message for the caller to show. The plot font and
// the axes pen are expected to be selected; metrics are the font's measures.
std::optional<std::string> DrawPlot(const CLumetraDoc& doc, Surface& surface,
                                    const PlotLayout& layout, const FontMetrics& metrics,
                                    const PlotOptions& options = {});

// Everything a plot window paints: nothing without pairs, else the font, the axes pen and
// DrawPlot, whose refusal it passes on.
std::optional<std::string> PaintPlot(const CLumetraDoc& doc, Surface& surface, bool fullSize,
                                     const PlotOptions& options = {});

// What a plot window shows in place of a plot it refused: the plot's frame with the reason,
// line by line, centred in it.
void PaintPlotRefusal(Surface& surface, bool fullSize, const std::string& reason);

} // namespace lumetra
