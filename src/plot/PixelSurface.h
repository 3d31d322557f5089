#pragma once

#include "platform/Surface.h"

#include <QFont>
#include <QLine>
#include <QPoint>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <vector>

namespace lumetra {

// The Surface on a grid of device pixels: logical units of 1/1000 inch, y upward, mapped point
// by point onto whole pixels (so text stays upright), less a scroll offset in pixels. What is
// drawn goes to the grid's owner (a painter, an SVG stream) through the four Apply/Draw calls.
//
// A large plot maps a million markers onto a few hundred thousand pixels, so lines are batched
// and a line that repeats one already drawn with the same pen since the last text is skipped:
// same pen, same pixels, the same picture. The lines remembered for that take at most 16 MB;
// past that they are forgotten and the next repeats drawn again. Lines are flushed before any
// text and pen change; the owner flushes the rest before it is done.
class PixelSurface : public Surface {
public:
    PixelSurface(double dpiX, double dpiY, QPoint scroll = {});

    void SetWindowOrigin(int x, int y) override;
    void SelectPen(const Pen& pen) override;
    FontMetrics SelectFont(int height) override;
    Rgb SetTextColor(Rgb color) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view text) override;
    std::optional<PixelMap> Pixels() const override { return m_map; }

protected:
    void Flush();
    // The pen's colour and its width in pixels.
    virtual void ApplyPen(Rgb color, double width) = 0;
    virtual void ApplyFont(const QFont& font) = 0;
    virtual void DrawLines(const QLine* lines, int count) = 0;
    // Text whose baseline starts at `at`.
    virtual void DrawText(QPointF at, const QString& text, Rgb color) = 0;

private:
    QPoint Map(int x, int y) const;
    bool AlreadyDrawn(const QLine& line);

    double m_scaleX, m_scaleY;
    PixelMap m_map; // the scales and the device position of the logical origin
    QPoint m_scroll;
    QPoint m_current;
    Rgb m_textColor;
    QFont m_font;
    std::vector<QLine> m_pending;
    std::vector<std::uint64_t> m_drawn; // open-addressing set of line keys; 0 marks a free slot
    size_t m_drawnCount = 0;
};

} // namespace lumetra
