#pragma once
// How far the user has zoomed a chart, within limits. Each axis keeps one extent: the
// visible time span, the visible x span of an x-y plot, and for each value axis a factor
// on its range (below 1 zoomed in, above 1 zoomed out). Dragging an axis's arrow away
// from the plot's origin stretches that axis (zooms in); towards it squeezes (zooms out):
// a drag over half the axis's length halves or doubles the extent.

namespace kestrum {

class ZoomExtent {
public:
    ZoomExtent(double initial, double minimum, double maximum);

    double Value() const { return value_; }
    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }
    // Sets the extent within the limits; whether it changed.
    bool Set(double value);
    // The extent after a drag of `outwards` pixels along an axis `axisLength` pixels long,
    // from a drag that started at `startValue`; within the limits.
    double Dragged(double startValue, double outwards, double axisLength) const;

private:
    double value_;
    double minimum_;
    double maximum_;
};

class ChartZoom {
public:
    // The time spans a user can zoom between, in seconds. The longest decides how much
    // history a trace keeps.
    static constexpr double kDefaultTimeSpan = 60.0;
    static constexpr double kMinimumTimeSpan = 5.0;
    static constexpr double kMaximumTimeSpan = 600.0;
    // The x spans of an x-y plot (default view 0..150); the widest stays short of the
    // x = 1000 that marks "no limit".
    static constexpr double kDefaultXSpan = 150.0;
    static constexpr double kMinimumXSpan = 10.0;
    static constexpr double kMaximumXSpan = 600.0;
    static constexpr double kMinimumValueFactor = 1.0 / 8.0;
    static constexpr double kMaximumValueFactor = 8.0;

    ZoomExtent time{kDefaultTimeSpan, kMinimumTimeSpan, kMaximumTimeSpan};
    ZoomExtent xSpan{kDefaultXSpan, kMinimumXSpan, kMaximumXSpan};
    ZoomExtent valueFactor[2] = {{1.0, kMinimumValueFactor, kMaximumValueFactor},
                                 {1.0, kMinimumValueFactor, kMaximumValueFactor}};
};

// A value range zoomed by `factor`: about its centre for an automatic range, from its
// minimum for a fixed one (so a 0 % floor stays put).
struct ZoomedRange {
    double minimum;
    double maximum;
};
ZoomedRange ZoomAboutCentre(double minimum, double maximum, double factor);
ZoomedRange ZoomFromMinimum(double minimum, double maximum, double factor);

}  // namespace kestrum
