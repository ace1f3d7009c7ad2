#include "widgets/instruments/LinearScale.h"

#include <algorithm>
#include <cmath>

namespace kestrum {

LinearScale::LinearScale(double minimum, double maximum, double pixelStart, double pixelEnd)
    : minimum_(minimum), maximum_(maximum), pixelStart_(pixelStart), pixelEnd_(pixelEnd) {}

bool LinearScale::IsEmpty() const {
    return !(std::isfinite(minimum_) && std::isfinite(maximum_)) || minimum_ == maximum_;
}

double LinearScale::ToPixel(double value) const {
    if (IsEmpty() || !std::isfinite(value)) return pixelStart_;
    return pixelStart_ + (value - minimum_) / (maximum_ - minimum_) * (pixelEnd_ - pixelStart_);
}

double LinearScale::ToValue(double pixel) const {
    if (IsEmpty() || pixelStart_ == pixelEnd_ || !std::isfinite(pixel)) return minimum_;
    return minimum_ + (pixel - pixelStart_) / (pixelEnd_ - pixelStart_) * (maximum_ - minimum_);
}

double LinearScale::Clamp(double value) const {
    if (std::isnan(value)) return minimum_;
    return std::clamp(value, std::min(minimum_, maximum_), std::max(minimum_, maximum_));
}

}  // namespace kestrum
