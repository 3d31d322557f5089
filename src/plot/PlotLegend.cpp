#include "plot/PlotLegend.h"

#include "data/Utf8Text.h"

#include <algorithm>

namespace lumetra {
namespace {

struct LegendMeasures {
    int padX, padY, sample, gap;
};

LegendMeasures Measures(const FontMetrics& f) {
    return {f.charWidth / 2 + 1, f.lineHeight / 4, 4 * f.charWidth, f.charWidth};
}

} // namespace

LegendBox PlaceLegend(const std::vector<LegendEntry>& entries, const PlotRect& rect,
                      const FontMetrics& f, const std::function<int(const PlotRect&)>& occupied) {
    const LegendMeasures m = Measures(f);
    size_t chars = 0;
    for (const LegendEntry& e : entries)
        chars = std::max(chars, Utf8Length(e.text));
    const int width = 2 * m.padX + m.sample + m.gap + int(chars) * f.charWidth;
    const int height = 2 * m.padY + int(entries.size()) * f.lineHeight;
    const int margin = f.charWidth;
    const int lefts[2] = {rect.right - margin - width, rect.left + margin};
    const int tops[2] = {rect.top - margin, rect.bottom + margin + height};
    LegendBox best{};
    int fewest = -1;
    for (int top : tops)
        for (int left : lefts) {
            const int n = occupied({left, top - height, left + width, top});
            if (fewest < 0 || n < fewest) {
                fewest = n;
                best = {left, top, width, height};
            }
        }
    return best;
}

void DrawLegend(Surface& s, const LegendBox& box, const std::vector<LegendEntry>& entries,
                const FontMetrics& f, int r, int rv) {
    const LegendMeasures m = Measures(f);
    const int right = box.left + box.width, bottom = box.top - box.height;
    s.SelectPen(kPenLegendFrame);
    s.MoveTo(box.left, box.top);
    s.LineTo(right, box.top);
    s.LineTo(right, bottom);
    s.LineTo(box.left, bottom);
    s.LineTo(box.left, box.top);
    int top = box.top - m.padY;
    for (const LegendEntry& e : entries) {
        const int x = box.left + m.padX, mid = top - f.lineHeight / 2;
        if (e.marker) {
            s.SelectPen(e.pen);
            DrawMarker(s, x + m.sample / 2, mid, r, rv);
        } else {
            s.SelectPen({2 * e.pen.width, e.pen.color});
            s.MoveTo(x, mid);
            s.LineTo(x + m.sample, mid);
        }
        s.TextOut(x + m.sample + m.gap, top, e.text);
        top -= f.lineHeight;
    }
}

} // namespace lumetra
