#include "plot/PainterSurface.h"

#include <QPainter>
#include <QPen>

namespace lumetra {

PainterSurface::PainterSurface(QPainter& painter, double dpiX, double dpiY, QPoint scroll)
    : PixelSurface(dpiX, dpiY, scroll), m_painter(painter) {
    // Plain lines: antialiasing doubles the cost of a large plot.
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

PainterSurface::~PainterSurface() {
    Flush();
}

void PainterSurface::ApplyPen(Rgb color, double width) {
    QPen pen(QColor(color.r, color.g, color.b));
    pen.setWidthF(width);
    pen.setCapStyle(Qt::RoundCap);
    m_painter.setPen(pen);
}

void PainterSurface::ApplyFont(const QFont& font) {
    m_painter.setFont(font);
}

void PainterSurface::DrawLines(const QLine* lines, int count) {
    m_painter.drawLines(lines, count);
}

void PainterSurface::DrawText(QPointF at, const QString& text, Rgb color) {
    const QPen lines = m_painter.pen();
    m_painter.setPen(QColor(color.r, color.g, color.b));
    m_painter.drawText(at, text);
    m_painter.setPen(lines);
}

} // namespace lumetra
