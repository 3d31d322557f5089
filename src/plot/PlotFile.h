#pragma once

#include "plot/PlotOptions.h"

#include <optional>
#include <string>
#include <string_view>

namespace lumetra {

class CLumetraDoc;

// The plot written to a picture file: what a name asks for, its size, and why it may be refused.

enum class PlotFileFormat { Png, Svg, Pdf };

// The format a file name's suffix names (".png", ".svg", ".pdf", in any case); nothing for any
// other name.
std::optional<PlotFileFormat> PlotFileFormatFor(std::string_view path);

// Pixels an inch of a PNG or SVG picture: a common screen's.
inline constexpr int kPlotPictureDpi = 96;

struct PlotPictureSize {
    int width, height;
};
// The picture of the whole drawing at 100 % (true) or 50 %, at `dpi` pixels an inch.
PlotPictureSize PlotPictureSizeAt(bool fullSize, int dpi);

std::string PlotSuffixMessage(const std::string& path);
// The first line of the message on a picture that could not be written.
std::string PlotWriteFailure(const std::string& path);

// Why the document's plot cannot be drawn, in the words the plot window uses; nothing when it
// can.
std::optional<std::string> PlotRangeMessage(const CLumetraDoc& doc);
// Why the plot with these options cannot be drawn: no range, or pairs a log axis cannot show
// (0 or below; a residual plot's vertical axis is never logarithmic), counted.
std::optional<std::string> PlotRefusal(const CLumetraDoc& doc, const PlotOptions& options = {});
// The same for a picture file, which also needs pairs to show.
std::optional<std::string> PlotExportRefusal(const CLumetraDoc& doc,
                                             const PlotOptions& options = {});

} // namespace lumetra
