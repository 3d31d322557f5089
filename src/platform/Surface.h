#pragma once

#include <optional>
#include <string_view>

namespace lumetra {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Pen {
    int width = 0; // logical units
    Rgb color;
    bool operator==(const Pen&) const = default;
};

// How a surface with pixels puts a logical coordinate on one: ⌊v · scale + offset + ½⌋ on each
// axis, held far outside any device so that an extrapolated curve cannot overflow.
struct PixelMap {
    double sx = 1.0, ox = 0.0, sy = -1.0, oy = 0.0;
    static int Round(double v) {
        const double w = v + 0.5;
        if (!(w > -1e9)) // also NaN
            return -1000000000;
        if (w >= 1e9)
            return 1000000000;
        // floor by truncation, which compiles to one instruction where floor is a call
        const int t = int(w);
        return double(t) > w ? t - 1 : t;
    }
    int X(int x) const { return Round(x * sx + ox); }
    int Y(int y) const { return Round(y * sy + oy); }
};

struct FontMetrics {
    int lineHeight = 0; // character height plus external leading, logical units
    int charWidth = 0;  // average character width, logical units
};

// Where the plot draws: logical units of 1/1000 inch with y growing upward. A text's point is
// the top-left corner of its cell; the text runs right and down (toward smaller y) and stays
// upright whatever the mapping.
class Surface {
public:
    virtual ~Surface() = default;
    // The logical point at the top-left corner of the drawing.
    virtual void SetWindowOrigin(int x, int y) = 0;
    virtual void SelectPen(const Pen& pen) = 0;
    // Selects the "Courier New" plot font of this height and reports its measures.
    virtual FontMetrics SelectFont(int height) = 0;
    // Returns the colour in effect before.
    virtual Rgb SetTextColor(Rgb color) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void TextOut(int x, int y, std::string_view text) = 0;

    // The device's pixels; nothing for a surface without pixels of its own (a recording).
    virtual std::optional<PixelMap> Pixels() const { return std::nullopt; }
};

} // namespace lumetra
