#include "widgets/instruments/ChartZoom.h"

#include <algorithm>
#include <cmath>

namespace kestrum {

ZoomExtent::ZoomExtent(double initial, double minimum, double maximum)
    : value_(std::clamp(initial, minimum, maximum)), minimum_(minimum), maximum_(maximum) {}

bool ZoomExtent::Set(double value) {
    if (!std::isfinite(value)) return false;
    const double clamped = std::clamp(value, minimum_, maximum_);
    if (clamped == value_) return false;
    value_ = clamped;
    return true;
}

double ZoomExtent::Dragged(double startValue, double outwards, double axisLength) const {
    if (!(axisLength > 0.0) || !std::isfinite(outwards)) return std::clamp(startValue, minimum_, maximum_);
    return std::clamp(startValue * std::exp2(-outwards / (axisLength / 2.0)), minimum_, maximum_);
}

ZoomedRange ZoomAboutCentre(double minimum, double maximum, double factor) {
    const double centre = (minimum + maximum) / 2.0;
    const double half = (maximum - minimum) / 2.0 * factor;
    return {centre - half, centre + half};
}

ZoomedRange ZoomFromMinimum(double minimum, double maximum, double factor) {
    return {minimum, minimum + (maximum - minimum) * factor};
}

}  // namespace kestrum
