#pragma once
// Maps the values of a scale onto a span of pixels and back, for every instrument. The
// scale may run either way (minimum above maximum draws it inverted). An empty scale
// (minimum = maximum) maps nothing: IsEmpty() says so, every value lies at the span's
// start and no division by its width ever happens.

namespace kestrum {

class LinearScale {
public:
    LinearScale() = default;
    LinearScale(double minimum, double maximum, double pixelStart, double pixelEnd);

    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }
    bool IsEmpty() const;

    double ToPixel(double value) const;
    // The value at a pixel; the scale's minimum on an empty scale.
    double ToValue(double pixel) const;
    // The value kept between the scale's two ends, whichever way round they are.
    double Clamp(double value) const;

private:
    double minimum_ = 0.0;
    double maximum_ = 1.0;
    double pixelStart_ = 0.0;
    double pixelEnd_ = 1.0;
};

}  // namespace kestrum
