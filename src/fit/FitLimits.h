#pragma once

namespace lumetra {

// The highest polynomial order the program fits, and so the size of the fit's fixed storage.
inline constexpr int kMaxOrder = 10;
inline constexpr int kMaxCoefs = kMaxOrder + 1;

} // namespace lumetra
