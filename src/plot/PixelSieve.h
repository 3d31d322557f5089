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
    bool First(int x, int y, int r, int rv);

private:
    struct Free {
        void operator()(void* cells) const;
    };
    // Where the marker of a logical x (or y) falls: the centre's pixel and, a bit an arm, whether
    // the arm's end lands a pixel further than r · scale; not exact where it lands elsewhere.
    struct Place {
        int pixel = 0;
        std::uint8_t arms = 0;
        bool exact = false;
    };
    void MeasureArms(int r, int rv);
    bool Mark(long long col, long long row, int variant);

    PixelMap m_map;
    int m_nLogLeft, m_nLogBottom, m_nLogRight, m_nLogTop;
    bool m_bDevice = false; // cells are device pixels (else logical units)
    long long m_nLeft = 0, m_nTop = 0, m_nWidth = 0, m_nHeight = 0;
    // Device cells: a bit for each of the 16 arm variants; logical cells: one bit.
    std::unique_ptr<void, Free> m_pCells;
    // The places of every logical x and y of the rectangle, for the marker size last asked about.
    int m_nR = -1, m_nRv = -1;
    std::vector<Place> m_xPlaces, m_yPlaces;
};

} // namespace lumetra
