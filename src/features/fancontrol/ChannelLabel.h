#pragma once
// Where the Dynamic Tmin charts put a value's legend entry: at the value's height on the
// temperature axis, as a fraction of the chart height from the top. The axis minimum
// maps to the plot's lower edge and the maximum to kLabelTop; values beyond the axis are
// held at those places.

namespace kestrum {

inline constexpr double kLabelTop = 0.03;

// An axis with no range puts every label at the lower edge.
double ChannelLabelFraction(double value, double lowerEdge, double axisMinimum, double axisMaximum);

}  // namespace kestrum
