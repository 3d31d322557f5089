#pragma once

#include "plot/PlotBands.h"

#include <QByteArray>
#include <QImage>

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

// The same plot as the PNG and the SVG file would hold it, for the clipboard; nothing after a
// refusal shown through the Ui.
struct PlotPictures {
    QImage image;
    QByteArray svg;
};
std::optional<PlotPictures> DrawPlotPictures(const CLumetraDoc& doc, bool fullSize, Ui& ui,
                                             const PlotOptions& options = {});

} // namespace lumetra
