#include "plot/PainterSurface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace lumetra {

PainterSurface::PainterSurface(QPainter& painter, double dpiX, double dpiY, QPoint scroll)
    : m_painter(painter), m_dpiX(dpiX), m_dpiY(dpiY), m_scroll(scroll) {
    // Plain lines: antialiasing doubles the cost of a large plot.
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

QPointF PainterSurface::Map(int x, int y) const {
    return {(x - m_originX) * m_dpiX / 1000.0 - m_scroll.x(),
            (m_originY - y) * m_dpiY / 1000.0 - m_scroll.y()};
}

void PainterSurface::SetWindowOrigin(int x, int y) {
    m_originX = x;
    m_originY = y;
}

void PainterSurface::SelectPen(const Pen& pen) {
    QPen qpen(QColor(pen.color.r, pen.color.g, pen.color.b));
    qpen.setWidthF(std::max(1.0, pen.width * m_dpiX / 1000.0));
    qpen.setCapStyle(Qt::RoundCap);
    m_painter.setPen(qpen);
}

FontMetrics PainterSurface::SelectFont(int height) {
    m_font = QFont("Courier New");
    m_font.setStyleHint(QFont::TypeWriter);
    m_font.setPixelSize(std::max(1, int(std::lround(height * m_dpiY / 1000.0))));
    m_painter.setFont(m_font);
    const QFontMetricsF metrics(m_font);
    return {int(std::lround((metrics.height() + metrics.leading()) * 1000.0 / m_dpiY)),
            int(std::lround(metrics.averageCharWidth() * 1000.0 / m_dpiX))};
}

Rgb PainterSurface::SetTextColor(Rgb color) {
    const Rgb previous = m_textColor;
    m_textColor = color;
    return previous;
}

void PainterSurface::MoveTo(int x, int y) {
    m_current = Map(x, y);
}

void PainterSurface::LineTo(int x, int y) {
    const QPointF to = Map(x, y);
    m_painter.drawLine(m_current, to);
    m_current = to;
}

void PainterSurface::TextOut(int x, int y, std::string_view text) {
    const QPen lines = m_painter.pen();
    m_painter.setPen(QColor(m_textColor.r, m_textColor.g, m_textColor.b));
    const QPointF top = Map(x, y);
    const QFontMetricsF metrics(m_font);
    m_painter.drawText(QPointF(top.x(), top.y() + metrics.ascent()),
                       QString::fromUtf8(text.data(), int(text.size())));
    m_painter.setPen(lines);
}

} // namespace lumetra
