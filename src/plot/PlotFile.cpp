#include "plot/PlotFile.h"

#include "data/FileSuffix.h"
#include "data/LumetraDoc.h"
#include "plot/PlotDrawing.h"

namespace lumetra {

std::optional<PlotFileFormat> PlotFileFormatFor(std::string_view path) {
    if (HasFileSuffix(path, ".png"))
        return PlotFileFormat::Png;
    if (HasFileSuffix(path, ".svg"))
        return PlotFileFormat::Svg;
    if (HasFileSuffix(path, ".pdf"))
        return PlotFileFormat::Pdf;
    return std::nullopt;
}

PlotPictureSize PlotPictureSizeAt(bool fullSize, int dpi) {
    const PlotLayout layout(fullSize ? 1 : 2);
    return {layout.ScrollWidth() * dpi / 1000, layout.ScrollHeight() * dpi / 1000};
}

std::string PlotSuffixMessage(const std::string& path) {
    return "Cannot export the plot to " + path + "!\nThe file name must end in .png, .svg or .pdf.";
}

std::string PlotWriteFailure(const std::string& path) {
    return "Cannot write the plot to " + path + "!";
}

std::optional<std::string> PlotRangeMessage(const CLumetraDoc& doc) {
    if (doc.m_dMaxX == doc.m_dMinX)
        return "Maximum value for X equals Minimum!\nCan't plot if no range in X!";
    if (doc.m_dMaxY == doc.m_dMinY)
        return "Maximum value for Y equals Minimum!\nCan't plot if no range in Y!";
    return std::nullopt;
}

std::optional<std::string> PlotExportRefusal(const CLumetraDoc& doc) {
    if (doc.m_nPairs < 1)
        return "No data pairs to plot!";
    return PlotRangeMessage(doc);
}

} // namespace lumetra
