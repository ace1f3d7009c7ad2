#include "features/fancontrol/ChannelLabel.h"

#include <algorithm>
#include <cmath>

namespace kestrum {

double ChannelLabelFraction(double value, double lowerEdge, double axisMinimum, double axisMaximum) {
    const double range = axisMaximum - axisMinimum;
    if (range == 0.0 || !std::isfinite(range)) return lowerEdge;
    const double scale = (kLabelTop - lowerEdge) / range;
    const double offset = ((lowerEdge + kLabelTop) - scale * (axisMinimum + axisMaximum)) / 2.0;
    const double fraction = value * scale + offset;
    if (fraction < kLabelTop) return kLabelTop;
    if (fraction > lowerEdge) return lowerEdge;
    return fraction;
}

}  // namespace kestrum
