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
    auto place = [](int centre, int before, int after, int span, int shift) {
        const int a = centre - before - span, b = after - centre - span;
        const bool exact = (a == 0 || a == 1) && (b == 0 || b == 1);
        return Place{centre, std::uint8_t((a | b << 1) << shift), exact};
    };
    try {
        m_xPlaces.resize(size_t(m_nLogRight - m_nLogLeft + 1));
        m_yPlaces.resize(size_t(m_nLogTop - m_nLogBottom + 1));
    } catch (const std::bad_alloc&) {
        m_pCells.reset();
        return;
    }
    for (size_t i = 0; i < m_xPlaces.size(); ++i) {
        const int x = m_nLogLeft + int(i);
        m_xPlaces[i] = place(m_map.X(x), m_map.X(SaturatingAdd(x, -r)),
                             m_map.X(SaturatingAdd(x, r)), spanX, 0);
    }
    for (size_t j = 0; j < m_yPlaces.size(); ++j) {
        const int y = m_nLogTop - int(j);
        m_yPlaces[j] = place(m_map.Y(y), m_map.Y(SaturatingAdd(y, rv)),
                             m_map.Y(SaturatingAdd(y, -rv)), spanY, 2);
    }
}

bool PixelSieve::Mark(long long col, long long row, int variant) {
    if (col < 0 || row < 0 || col >= m_nWidth || row >= m_nHeight)
        return true;
    const long long cell = row * m_nWidth + col;
    if (m_bDevice) {
        std::uint16_t& seen = static_cast<std::uint16_t*>(m_pCells.get())[cell];
        const std::uint16_t bit = std::uint16_t(1u << variant);
        const bool first = !(seen & bit);
        seen = std::uint16_t(seen | bit);
        return first;
    }
    std::uint64_t& word = static_cast<std::uint64_t*>(m_pCells.get())[cell / 64];
    const std::uint64_t bit = std::uint64_t(1) << (cell % 64);
    const bool first = !(word & bit);
    word |= bit;
    return first;
}

bool PixelSieve::First(int x, int y, int r, int rv) {
    if (!m_pCells)
        return true;
    const long long i = (long long)x - m_nLogLeft, j = (long long)m_nLogTop - y;
    if (!m_bDevice)
        return Mark(i, j, 0);
    if (r != m_nR || rv != m_nRv)
        MeasureArms(r, rv);
    if (!m_pCells || i < 0 || j < 0 || i >= (long long)m_xPlaces.size() ||
        j >= (long long)m_yPlaces.size())
        return true;
    const Place& px = m_xPlaces[size_t(i)];
    const Place& py = m_yPlaces[size_t(j)];
    if (!px.exact || !py.exact)
        return true;
    return Mark(px.pixel - m_nLeft, py.pixel - m_nTop, px.arms | py.arms);
}

} // namespace lumetra
