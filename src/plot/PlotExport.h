#pragma once

#include "plot/PlotOptions.h"

#include <QByteArray>
#include <QImage>
#include <QRect>

class QPainter;

#include <optional>
#include <string>

namespace lumetra {

class CLumetraDoc;
class Ui;

// Writes the document's plot at 100 % (true) or 50 % to a PNG, SVG or PDF file, as the file
// name's suffix asks, drawn as the plot window draws it with the options, as SaveFile writes
// files: whole or not at all. The SVG is written as it is drawn. Refusals and failures are shown
// through the Ui; false then.
bool ExportPlot(const CLumetraDoc& doc, bool fullSize, const std::string& path, Ui& ui,
                const PlotOptions& options = {});

// The plot at 100 % scaled into the painter's area and centred there, as Fit to Window and a
// printed page show it; where it cannot be drawn, its frame with the reason, which is returned.
std::optional<std::string> PaintPlotInto(QPainter& painter, QRect area, const CLumetraDoc& doc,
                                         const PlotOptions& options);

// The same plot as the PNG and the SVG file would hold it, for the clipboard; nothing after a
// refusal shown through the Ui.
struct PlotPictures {
    QImage image;
    QByteArray svg;
};
std::optional<PlotPictures> DrawPlotPictures(const CLumetraDoc& doc, bool fullSize, Ui& ui,
                                             const PlotOptions& options = {});

} // namespace lumetra
