#pragma once

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
};

} // namespace lumetra
