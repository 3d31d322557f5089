#include "plot/PlotTitles.h"

#include "data/LumetraDoc.h"
#include "data/Utf8Text.h"
#include "plot/PlotDrawing.h"

#include <algorithm>
#include <cmath>

namespace lumetra {
namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

// Left edge of a text of n characters centred over the plot, never left of the drawing.
int CentredLeft(const PlotLayout& l, const FontMetrics& f, size_t n) {
    const double left = (double(l.W) - double(f.charWidth) * double(n)) * 0.5 + l.L0;
    return left > 0.0 ? int(left) : 0;
}

// Top of the X title: half-way between the X axis and the drawing's bottom where that is below
// the lower row of X labels, else a quarter line under that row.
int XTitleTop(const PlotLayout& l, const FontMetrics& f) {
    const int halfway = (l.B0 - f.lineHeight) / 2;
    const int lowerRowBottom = l.B0 - l.tick - 3 * f.lineHeight;
    return std::min(halfway, lowerRowBottom - f.lineHeight / 4);
}

} // namespace

void DrawTitles(const CLumetraDoc& doc, Surface& s, const PlotLayout& l, const FontMetrics& f,
                int yLabelsLeft, const std::string& yTitle) {
    const Rgb previous = s.SetTextColor(kRed);
    const int dataLeft = CentredLeft(l, f, Utf8Length(doc.m_strDataTitle));
    const int dataTop = l.B0 + l.H + 2 * f.lineHeight;
    s.TextOut(dataLeft, dataTop, doc.m_strDataTitle);

    s.SetTextColor(kBlue);
    s.TextOut(CentredLeft(l, f, Utf8Length(doc.m_strXTitle)), XTitleTop(l, f), doc.m_strXTitle);

    std::string y(Utf8Prefix(yTitle, kPlotWorkBuffer));
    TrimBlanks(y);
    const int n = int(Utf8Length(y));
    const int Lt = f.lineHeight * n;
    // One character wide, one character in from the edge, half a character clear of the labels.
    const int columnLeft = std::min(f.charWidth, yLabelsLeft - f.charWidth - f.charWidth / 2);
    if (n > 0 && columnLeft >= 0 && Lt <= l.H) {
        int top = int(Lt + (double(l.H) - Lt) * 0.5 + l.B0);
        // One character a row, never a part of one.
        for (std::string_view rest = y; !rest.empty();) {
            const size_t bytes = Utf8CharBytes(rest);
            s.TextOut(columnLeft, top, rest.substr(0, bytes));
            rest.remove_prefix(bytes);
            top -= f.lineHeight;
        }
    } else if (n > 0) {
        // No room for the column: the title reads across, above the Y axis at the drawing's
        // left edge, on the data title's line or, where the two would meet, the line above.
        const bool meets = !doc.m_strDataTitle.empty() && n * f.charWidth + f.charWidth > dataLeft;
        s.TextOut(0, meets ? dataTop + f.lineHeight : dataTop, y);
    }
    s.SetTextColor(previous);
}

} // namespace lumetra
