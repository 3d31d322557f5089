#pragma once

#include "platform/Surface.h"
#include "plot/PlotBands.h"

#include <string>

namespace lumetra {

class CLumetraDoc;
class Ui;

inline constexpr Pen kPenAxes{20, {0, 0, 0}};
inline constexpr Pen kPenData{10, {255, 0, 0}};
inline constexpr Pen kPenCurve{10, {0, 255, 0}};

// The plot's geometry at zoom divisor z (1 at 100 %, 2 at 50 %): integer constants divided by z.
struct PlotLayout {
    explicit PlotLayout(int zoomDiv);
    int z, W, H, L0, B0, tickStep, tick;
    int ScrollWidth() const { return 11500 / z; }
    int ScrollHeight() const { return 7500 / z; }
};

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

// Draws the whole plot of the document: axes, ticks and labels, the fitted curve with the bands
// asked for, the markers and the titles; or in place of curve and pairs the residual plot. With no
// X or Y range it shows the message and draws nothing. The plot font and the axes pen are expected
// to be selected; metrics are the font's measures.
void DrawPlot(const CLumetraDoc& doc, Surface& surface, Ui& ui, const PlotLayout& layout,
              const FontMetrics& metrics, const PlotOptions& options = {});

// Everything a plot window paints: nothing without pairs, else the font, the axes pen and
// DrawPlot.
void PaintPlot(const CLumetraDoc& doc, Surface& surface, Ui& ui, bool fullSize,
               const PlotOptions& options = {});

} // namespace lumetra
