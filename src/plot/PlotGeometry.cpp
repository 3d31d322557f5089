#include "plot/PlotGeometry.h"

#include <algorithm>

namespace lumetra {
namespace {

int ToInt(double v) {
    return Trunc(std::round(v));
}

} // namespace

void CurveTracer::To(int px, int py) {
    const double x = px, y = py;
    if (!m_frame.clip) {
        if (m_bHasLast)
            m_s.LineTo(px, py);
        else
            m_s.MoveTo(px, py);
        m_bHasLast = true;
        return;
    }
    if (!m_bHasLast) {
        m_bHasLast = true;
        m_bPenAtLast = false;
        m_lastX = x;
        m_lastY = y;
        const PlotRect& r = m_frame.rect;
        if (px >= r.left && px <= r.right && py >= r.bottom && py <= r.top) {
            m_s.MoveTo(px, py);
            m_bPenAtLast = true;
        }
        return;
    }
    // Liang and Barsky: the part t0 … t1 of the segment from the last point that lies inside.
    const PlotRect& r = m_frame.rect;
    const double dx = x - m_lastX, dy = y - m_lastY;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {m_lastX - r.left, r.right - m_lastX, m_lastY - r.bottom, r.top - m_lastY};
    bool visible = true;
    for (int i = 0; i < 4 && visible; ++i) {
        if (p[i] == 0.0) {
            visible = q[i] >= 0.0;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        visible = t0 <= t1;
    }
    if (visible) {
        if (t0 > 0.0 || !m_bPenAtLast)
            m_s.MoveTo(ToInt(m_lastX + t0 * dx), ToInt(m_lastY + t0 * dy));
        if (t1 < 1.0)
            m_s.LineTo(ToInt(m_lastX + t1 * dx), ToInt(m_lastY + t1 * dy));
        else
            m_s.LineTo(px, py);
    }
    m_bPenAtLast = visible && t1 >= 1.0;
    m_lastX = x;
    m_lastY = y;
}

} // namespace lumetra
