#include "plot/PixelSurface.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace lumetra {
namespace {

constexpr size_t kBatch = 4096;
constexpr size_t kFirstSetSize = size_t(1) << 12;
constexpr size_t kLargestSetSize = size_t(1) << 21; // 16 MB of keys

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

PixelSurface::PixelSurface(double dpiX, double dpiY, QPoint scroll)
    : m_scaleX(dpiX / 1000.0), m_scaleY(dpiY / 1000.0), m_scroll(scroll) {
    SetWindowOrigin(0, 0);
}

QPoint PixelSurface::Map(int x, int y) const {
    return {m_map.X(x), m_map.Y(y)};
}

void PixelSurface::SetWindowOrigin(int x, int y) {
    m_map = {m_scaleX, -x * m_scaleX - m_scroll.x(), -m_scaleY, y * m_scaleY - m_scroll.y()};
}

void PixelSurface::SelectPen(const Pen& pen) {
    Flush();
    ApplyPen(pen.color, std::max(1.0, pen.width * m_scaleX));
}

FontMetrics PixelSurface::SelectFont(int height) {
    m_font = QFont("Courier New");
    m_font.setStyleHint(QFont::TypeWriter);
    m_font.setPixelSize(std::max(1, int(std::lround(height * m_scaleY))));
    ApplyFont(m_font);
    const QFontMetricsF metrics(m_font);
    return {int(std::lround((metrics.height() + metrics.leading()) / m_scaleY)),
            int(std::lround(metrics.averageCharWidth() / m_scaleX))};
}

Rgb PixelSurface::SetTextColor(Rgb color) {
    const Rgb previous = m_textColor;
    m_textColor = color;
    return previous;
}

void PixelSurface::MoveTo(int x, int y) {
    m_current = Map(x, y);
}

void PixelSurface::LineTo(int x, int y) {
    const QLine line(m_current, Map(x, y));
    m_current = line.p2();
    if (AlreadyDrawn(line))
        return;
    m_pending.push_back(line);
    if (m_pending.size() == kBatch) {
        DrawLines(m_pending.data(), int(m_pending.size()));
        m_pending.clear();
    }
}

bool PixelSurface::AlreadyDrawn(const QLine& line) {
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
    if (++m_drawnCount * 2 <= m_drawn.size()) // keep probes short: grow at half full
        return false;
    if (m_drawn.size() == kLargestSetSize) {
        std::fill(m_drawn.begin(), m_drawn.end(), std::uint64_t(0));
        m_drawnCount = 0;
        return false;
    }
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
    return false;
}

void PixelSurface::Flush() {
    if (!m_pending.empty())
        DrawLines(m_pending.data(), int(m_pending.size()));
    m_pending.clear();
    if (m_drawnCount > 0)
        std::fill(m_drawn.begin(), m_drawn.end(), std::uint64_t(0));
    m_drawnCount = 0;
}

void PixelSurface::TextOut(int x, int y, std::string_view text) {
    Flush();
    const QPoint top = Map(x, y);
    const QFontMetricsF metrics(m_font);
    DrawText(QPointF(top.x(), top.y() + metrics.ascent()),
             QString::fromUtf8(text.data(), int(text.size())), m_textColor);
}

} // namespace lumetra
