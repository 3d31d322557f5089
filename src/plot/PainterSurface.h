#pragma once

#include "platform/Surface.h"

#include <QFont>
#include <QPoint>
#include <QPointF>

class QPainter;

namespace lumetra {

// The Surface on a QPainter: logical units of 1/1000 inch, y upward, mapped point by point onto
// the device (so text stays upright), less a scroll offset in device pixels.
class PainterSurface : public Surface {
public:
    PainterSurface(QPainter& painter, double dpiX, double dpiY, QPoint scroll = {});

    void SetWindowOrigin(int x, int y) override;
    void SelectPen(const Pen& pen) override;
    FontMetrics SelectFont(int height) override;
    Rgb SetTextColor(Rgb color) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view text) override;

private:
    QPointF Map(int x, int y) const;

    QPainter& m_painter;
    double m_dpiX, m_dpiY;
    QPoint m_scroll;
    int m_originX = 0, m_originY = 0;
    QPointF m_current;
    Rgb m_textColor;
    QFont m_font;
};

} // namespace lumetra
