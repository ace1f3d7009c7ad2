#pragma once
// Window geometry is given and stored in twips: 1440 per inch, 15 per pixel at 96 dpi.

#include <cmath>

namespace kestrum {

inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

}  // namespace kestrum
