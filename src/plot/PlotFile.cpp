#include "plot/PlotFile.h"

#include "data/FileSuffix.h"
#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotOptions.h"

#include <algorithm>

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

namespace {

// "3 X values are 0 or negative!\nCan't plot them on a logarithmic X axis!"
std::string LogAxisMessage(long long count, const char* axis) {
    const bool one = count == 1;
    return FormatC(one ? "%lld %s value is 0 or negative!\nCan't plot it on a logarithmic %s axis!"
                       : "%lld %s values are 0 or negative!\nCan't plot them on a logarithmic %s "
                         "axis!",
                   {count, axis, axis});
}

} // namespace

std::optional<std::string> PlotRefusal(const CLumetraDoc& doc, const PlotOptions& options) {
    if (std::optional<std::string> refusal = PlotRangeMessage(doc))
        return refusal;
    const auto pairs = doc.m_pPairs.begin();
    const auto end = pairs + std::min<ptrdiff_t>(std::max(doc.m_nPairs, 0), doc.m_pPairs.size());
    if (options.logX)
        if (const auto n =
                std::count_if(pairs, end, [](const CXYdata& p) { return !(p.m_dX > 0); }))
            return LogAxisMessage(n, "X");
    if (options.logY && !options.residuals)
        if (const auto n =
                std::count_if(pairs, end, [](const CXYdata& p) { return !(p.m_dY > 0); }))
            return LogAxisMessage(n, "Y");
    return std::nullopt;
}

std::optional<std::string> PlotExportRefusal(const CLumetraDoc& doc, const PlotOptions& options) {
    if (doc.m_nPairs < 1)
        return "No data pairs to plot!";
    return PlotRefusal(doc, options);
}

} // namespace lumetra
