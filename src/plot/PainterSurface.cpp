#include "plot/PainterSurface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace lumetra {
namespace {

constexpr size_t kBatch = 4096;
constexpr size_t kFirstSetSize = size_t(1) << 12;

// The four ends of a line in 16 bits each, plus one so that no line has the key 0; false for a
// line beyond that range (those are drawn without looking them up).
bool LineKey(const QLine& line, std::uint64_t& key) {
    const int ends[4] = {line.x1(), line.y1(), line.x2(), line.y2()};
    key = 0;
    for (int c : ends) {
        if (c < -30000 || c > 30000)
            return false;
        key = (key << 16) | std::uint64_t(c + 32768);
    }
    key += 1;
    return true;
}

size_t Slot(std::uint64_t key, size_t mask) {
    return size_t((key * 0x9E3779B97F4A7C15ull) >> 20) & mask;
}

} // namespace

PainterSurface::PainterSurface(QPainter& painter, double dpiX, double dpiY, QPoint scroll)
    : m_painter(painter), m_scaleX(dpiX / 1000.0), m_scaleY(dpiY / 1000.0), m_scroll(scroll) {
    // Plain lines: antialiasing doubles the cost of a large plot.
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    SetWindowOrigin(0, 0);
}

PainterSurface::~PainterSurface() {
    Flush();
}

QPoint PainterSurface::Map(int x, int y) const {
    return {m_map.X(x), m_map.Y(y)};
}

void PainterSurface::SetWindowOrigin(int x, int y) {
    m_map = {m_scaleX, -x * m_scaleX - m_scroll.x(), -m_scaleY, y * m_scaleY - m_scroll.y()};
}

void PainterSurface::SelectPen(const Pen& pen) {
    Flush();
    QPen qpen(QColor(pen.color.r, pen.color.g, pen.color.b));
    qpen.setWidthF(std::max(1.0, pen.width * m_scaleX));
    qpen.setCapStyle(Qt::RoundCap);
    m_painter.setPen(qpen);
}

FontMetrics PainterSurface::SelectFont(int height) {
    m_font = QFont("Courier New");
    m_font.setStyleHint(QFont::TypeWriter);
    m_font.setPixelSize(std::max(1, int(std::lround(height * m_scaleY))));
    m_painter.setFont(m_font);
    const QFontMetricsF metrics(m_font);
    return {int(std::lround((metrics.height() + metrics.leading()) / m_scaleY)),
            int(std::lround(metrics.averageCharWidth() / m_scaleX))};
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
    const QLine line(m_current, Map(x, y));
    m_current = line.p2();
    if (AlreadyDrawn(line))
        return;
    m_pending.push_back(line);
    if (m_pending.size() == kBatch) {
        m_painter.drawLines(m_pending.data(), int(m_pending.size()));
        m_pending.clear();
    }
}

bool PainterSurface::AlreadyDrawn(const QLine& line) {
    std::uint64_t key = 0;
    if (!LineKey(line, key))
        return false;
    if (m_drawn.empty())
        m_drawn.assign(kFirstSetSize, 0);
    size_t mask = m_drawn.size() - 1;
    for (size_t i = Slot(key, mask);; i = (i + 1) & mask) {
        if (m_drawn[i] == key)
            return true;
        if (m_drawn[i] == 0) {
            m_drawn[i] = key;
            break;
        }
    }
    if (++m_drawnCount * 2 > m_drawn.size()) { // keep probes short: grow at half full
        std::vector<std::uint64_t> old(m_drawn.size() * 2, 0);
        old.swap(m_drawn);
        mask = m_drawn.size() - 1;
        for (std::uint64_t k : old) {
            if (k == 0)
                continue;
            size_t i = Slot(k, mask);
            while (m_drawn[i] != 0)
                i = (i + 1) & mask;
            m_drawn[i] = k;
        }
    }
    return false;
}

void PainterSurface::Flush() {
    if (!m_pending.empty())
        m_painter.drawLines(m_pending.data(), int(m_pending.size()));
    m_pending.clear();
    if (m_drawnCount > 0)
        std::fill(m_drawn.begin(), m_drawn.end(), std::uint64_t(0));
    m_drawnCount = 0;
}

void PainterSurface::TextOut(int x, int y, std::string_view text) {
    Flush();
    const QPen lines = m_painter.pen();
    m_painter.setPen(QColor(m_textColor.r, m_textColor.g, m_textColor.b));
    const QPoint top = Map(x, y);
    const QFontMetricsF metrics(m_font);
    m_painter.drawText(QPointF(top.x(), top.y() + metrics.ascent()),
                       QString::fromUtf8(text.data(), int(text.size())));
    m_painter.setPen(lines);
}

} // namespace lumetra
