#pragma once

#include "plot/PixelSurface.h"

#include <functional>
#include <string>
#include <string_view>

namespace lumetra {

// The plot written as an SVG picture while it is drawn, a piece at a time to the sink, so that a
// plot of any size needs little memory: the lines of each batch as one path, text as text.
class SvgSurface : public PixelSurface {
public:
    // Takes the next piece of the picture; false when it could not be written.
    using Sink = std::function<bool(std::string_view)>;

    // A white picture of width × height pixels at dpi pixels an inch.
    SvgSurface(Sink sink, int width, int height, int dpi, const std::string& title);

    // Ends the picture; false when any piece could not be written.
    bool Finish();

private:
    void ApplyPen(Rgb color, double width) override;
    void ApplyFont(const QFont& font) override;
    void DrawLines(const QLine* lines, int count) override;
    void DrawText(QPointF at, const QString& text, Rgb color) override;

    void Put(std::string_view text);
    void PutNumber(double value);
    void PutEscaped(const QString& text);
    void CloseGroup();

    Sink m_sink;
    std::string m_buffer;
    bool m_bFailed = false;
    bool m_bGroupOpen = false;
    int m_nFontPixels = 1;
};

} // namespace lumetra
