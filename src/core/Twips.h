#pragma once
// Window geometry is given and stored in twips: 1440 per inch, 15 per pixel at 96 dpi.
// The conversions work in wide arithmetic and saturate, so that any stored number, however
// large, negative or malformed, gives a pixel count an int can hold.

#include <cmath>
#include <cstdint>
#include <limits>

namespace kestrum {

inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(double twips) {
    if (std::isnan(twips)) return 0;
    constexpr double kMax = std::numeric_limits<int>::max();
    constexpr double kMin = std::numeric_limits<int>::min();
    const double pixels = std::nearbyint(twips / kTwipsPerPixel);
    if (pixels >= kMax) return std::numeric_limits<int>::max();
    if (pixels <= kMin) return std::numeric_limits<int>::min();
    return static_cast<int>(pixels);
}

inline int PixelsToTwips(int pixels) {
    const int64_t twips = static_cast<int64_t>(pixels) * kTwipsPerPixel;
    if (twips > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (twips < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(twips);
}

}  // namespace kestrum
