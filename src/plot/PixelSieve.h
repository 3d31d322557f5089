#pragma once

#include "platform/Surface.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace lumetra {

// Lets through a marker only where it would change the picture: a million pairs fall on a few
// hundred thousand pixels, and a marker drawn again over one of the same pixels adds nothing.
// On a surface with coarse pixels (a screen, a picture) a marker is passed over when one with the
// same pixels (centre and arm ends, which sub-pixel positions vary) was drawn; on a finer one when
// one was drawn at the same logical point. It covers a logical rectangle; markers outside it, all
// markers on a surface without pixels, and all when there is no memory for it, are drawn.
class PixelSieve {
public:
    PixelSieve(const Surface& surface, int left, int bottom, int right, int top);

    // True when the marker of half-width r and half-height rv at the logical point is to be drawn.
    // Inline: a repaint asks it for every one of a million pairs.
    bool First(int x, int y, int r, int rv) {
        if (!m_bDevice)
            return FirstLogical(x, y);
        if (r != m_nR || rv != m_nRv)
            MeasureArms(r, rv);
        const auto i = static_cast<unsigned long long>((long long)x - m_nLogLeft);
        const auto j = static_cast<unsigned long long>((long long)m_nLogTop - y);
        if (!m_pCells || i >= m_xKeys.size() || j >= m_yKeys.size())
            return true;
        const std::int32_t kx = m_xKeys[i], ky = m_yKeys[j];
        if ((kx | ky) < 0)
            return true;
        const std::int32_t key = kx + ky;
        std::uint16_t& seen = static_cast<std::uint16_t*>(m_pCells.get())[key >> 4];
        const auto bit = std::uint16_t(1u << (key & 15));
        const bool first = !(seen & bit);
        seen = std::uint16_t(seen | bit);
        return first;
    }

private:
    struct Free {
        void operator()(void* cells) const;
    };
    void MeasureArms(int r, int rv);
    bool FirstLogical(int x, int y);

    PixelMap m_map;
    int m_nLogLeft, m_nLogBottom, m_nLogRight, m_nLogTop;
    bool m_bDevice = false; // cells are device pixels (else logical units)
    long long m_nLeft = 0, m_nTop = 0, m_nWidth = 0, m_nHeight = 0;
    // Device cells: a bit for each of the 16 arm variants; logical cells: one bit.
    std::unique_ptr<void, Free> m_pCells;
    // For the marker size last asked about, every logical x and y of the rectangle as its part of
    // a device key (cell · 16 + arm variant): x its column and arm bits 0-1, y its row's first
    // cell and arm bits 2-3; −1 where the arm ends are not exactly a span from the centre's pixel
    // (such markers are drawn) or the pixel is off the grid.
    int m_nR = -1, m_nRv = -1;
    std::vector<std::int32_t> m_xKeys, m_yKeys;
};

} // namespace lumetra
