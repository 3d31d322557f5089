#include "plot/PixelSieve.h"

#include "plot/PlotGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

namespace lumetra {
namespace {

// A device grid up to this many pixels (two bytes each); beyond, logical units (a bit each).
constexpr long long kMaxDevicePixels = 1ll << 22;
constexpr long long kMaxLogicalCells = 1ll << 32;

} // namespace

void PixelSieve::Free::operator()(void* cells) const {
    std::free(cells);
}

PixelSieve::PixelSieve(const Surface& surface, int left, int bottom, int right, int top)
    : m_nLogLeft(left), m_nLogBottom(bottom), m_nLogRight(right), m_nLogTop(top) {
    const std::optional<PixelMap> map = surface.Pixels();
    if (!map || right < left || top < bottom)
        return;
    m_map = *map;
    const long long x0 = m_map.X(left), x1 = m_map.X(right);
    const long long y0 = m_map.Y(top), y1 = m_map.Y(bottom);
    const long long width = std::llabs(x1 - x0) + 1, height = std::llabs(y1 - y0) + 1;
    m_bDevice = std::fabs(m_map.sx) <= 1.0 && std::fabs(m_map.sy) <= 1.0 &&
                width * height <= kMaxDevicePixels;
    if (m_bDevice) {
        m_nLeft = std::min(x0, x1);
        m_nTop = std::min(y0, y1);
        m_nWidth = width;
        m_nHeight = height;
    } else {
        m_nWidth = (long long)right - left + 1;
        m_nHeight = (long long)top - bottom + 1;
        if (m_nWidth * m_nHeight > kMaxLogicalCells)
            return;
    }
    const long long cells = m_nWidth * m_nHeight;
    // calloc: the system hands out zeroed pages as they are first touched.
    m_pCells.reset(m_bDevice ? std::calloc(size_t(cells), sizeof(std::uint16_t))
                             : std::calloc(size_t((cells + 63) / 64), sizeof(std::uint64_t)));
}

void PixelSieve::MeasureArms(int r, int rv) {
    m_nR = r;
    m_nRv = rv;
    // Computed as the surface maps each end, once for every logical x and y.
    const int spanX = int(std::floor(r * std::fabs(m_map.sx)));
    const int spanY = int(std::floor(rv * std::fabs(m_map.sy)));
    // The key part of a centre whose arms end at before and after, or −1.
    auto key = [](long long centre, long long before, long long after, int span, long long cells,
                  long long cellSize, int shift) {
        const long long a = centre - before - span, b = after - centre - span;
        const bool exact = (a == 0 || a == 1) && (b == 0 || b == 1);
        if (!exact || centre < 0 || centre >= cells)
            return std::int32_t(-1);
        return std::int32_t((centre * cellSize) * 16 + ((a | b << 1) << shift));
    };
    try {
        m_xKeys.resize(size_t(m_nLogRight - m_nLogLeft + 1));
        m_yKeys.resize(size_t(m_nLogTop - m_nLogBottom + 1));
    } catch (const std::bad_alloc&) {
        m_pCells.reset();
        return;
    }
    for (size_t i = 0; i < m_xKeys.size(); ++i) {
        const int x = m_nLogLeft + int(i);
        m_xKeys[i] = key(m_map.X(x) - m_nLeft, m_map.X(SaturatingAdd(x, -r)) - m_nLeft,
                         m_map.X(SaturatingAdd(x, r)) - m_nLeft, spanX, m_nWidth, 1, 0);
    }
    for (size_t j = 0; j < m_yKeys.size(); ++j) {
        const int y = m_nLogTop - int(j);
        m_yKeys[j] = key(m_map.Y(y) - m_nTop, m_map.Y(SaturatingAdd(y, rv)) - m_nTop,
                         m_map.Y(SaturatingAdd(y, -rv)) - m_nTop, spanY, m_nHeight, m_nWidth, 2);
    }
}

bool PixelSieve::FirstLogical(int x, int y) {
    const long long col = (long long)x - m_nLogLeft, row = (long long)m_nLogTop - y;
    if (!m_pCells || col < 0 || row < 0 || col >= m_nWidth || row >= m_nHeight)
        return true;
    const long long cell = row * m_nWidth + col;
    std::uint64_t& word = static_cast<std::uint64_t*>(m_pCells.get())[cell / 64];
    const std::uint64_t bit = std::uint64_t(1) << (cell % 64);
    const bool first = !(word & bit);
    word |= bit;
    return first;
}

} // namespace lumetra
