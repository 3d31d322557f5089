#pragma once

#include "platform/Surface.h"

#include <QFont>
#include <QLine>
#include <QPoint>

#include <cstdint>
#include <vector>

class QPainter;

namespace lumetra {

// The Surface on a QPainter: logical units of 1/1000 inch, y upward, mapped point by point onto
// whole device pixels (so text stays upright), less a scroll offset in device pixels.
//
// A large plot maps a million markers onto a few hundred thousand pixels, so lines are batched
// and a line that repeats one already drawn with the same pen since the last text is
// skipped: same pen, same pixels, the same picture. Lines are flushed before any text, pen
// change and on destruction.
class PainterSurface : public Surface {
public:
    PainterSurface(QPainter& painter, double dpiX, double dpiY, QPoint scroll = {});
    ~PainterSurface() override;

    void SetWindowOrigin(int x, int y) override;
    void SelectPen(const Pen& pen) override;
    FontMetrics SelectFont(int height) override;
    Rgb SetTextColor(Rgb color) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view text) override;
    std::optional<PixelMap> Pixels() const override { return m_map; }

private:
    QPoint Map(int x, int y) const;
    bool AlreadyDrawn(const QLine& line);
    void Flush();

    QPainter& m_painter;
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
