#pragma once
// The arithmetic of the value slider, without painting: its values run from 0 to 100
// and are kept as doubles (a heater shows 37.5 exactly); the style draws them at an
// integer resolution fine enough for any pixel. A drag picks whole values from the
// handle's position along its travel.

#include "widgets/instruments/LinearScale.h"

namespace kestrum {

class SliderGeometry {
public:
    static constexpr double kMinimum = 0.0;
    static constexpr double kMaximum = 100.0;
    static constexpr int kPositions = 10000;  // integer positions across the range, for drawing
    static constexpr double kKeyStep = 1.0;
    static constexpr double kPageStep = 10.0;

    // Within 0..100; not-a-number becomes 0.
    static double Clamp(double value);
    static int ToPosition(double value);
    // steps key steps from value, within the range.
    static double Stepped(double value, double steps);

    SliderGeometry() = default;
    // The handle's leading edge travels from firstPixel to lastPixel; maximumFirst puts 100
    // at firstPixel (a vertical slider's top).
    SliderGeometry(double firstPixel, double lastPixel, bool maximumFirst);

    // The whole value whose handle edge lies nearest the pixel, within the range.
    double ValueAt(double pixel) const;
    double ToPixel(double value) const;

private:
    LinearScale scale_{kMinimum, kMaximum, 0.0, 1.0};
};

}  // namespace kestrum
