#include "plot/PlotFile.h"

#include "data/LumetraDoc.h"
#include "plot/PlotDrawing.h"

#include <cctype>

namespace lumetra {
namespace {

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size())
        return false;
    const std::string_view tail = text.substr(text.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(tail[i])) != suffix[i])
            return false;
    return true;
}

} // namespace

std::optional<PlotFileFormat> PlotFileFormatFor(std::string_view path) {
    // A bare ".png" names no file.
    const size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (name.size() <= 4)
        return std::nullopt;
    if (EndsWithNoCase(name, ".png"))
        return PlotFileFormat::Png;
    if (EndsWithNoCase(name, ".svg"))
        return PlotFileFormat::Svg;
    if (EndsWithNoCase(name, ".pdf"))
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

std::string PlotWriteMessage(const std::string& path) {
    return "Cannot write the plot to " + path + "!\nAny earlier file of that name is unchanged.";
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
