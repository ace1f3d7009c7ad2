#include "widgets/instruments/SliderGeometry.h"

#include <cmath>

namespace kestrum {

double SliderGeometry::Clamp(double value) { return LinearScale(kMinimum, kMaximum, 0.0, 1.0).Clamp(value); }

int SliderGeometry::ToPosition(double value) {
    return static_cast<int>(std::lround(Clamp(value) / (kMaximum - kMinimum) * kPositions));
}

double SliderGeometry::Stepped(double value, double steps) { return Clamp(Clamp(value) + steps * kKeyStep); }

SliderGeometry::SliderGeometry(double firstPixel, double lastPixel, bool maximumFirst)
    : scale_(kMinimum, kMaximum, maximumFirst ? lastPixel : firstPixel,
             maximumFirst ? firstPixel : lastPixel) {}

double SliderGeometry::ValueAt(double pixel) const { return Clamp(std::round(scale_.ToValue(pixel))); }

double SliderGeometry::ToPixel(double value) const { return scale_.ToPixel(Clamp(value)); }

}  // namespace kestrum
