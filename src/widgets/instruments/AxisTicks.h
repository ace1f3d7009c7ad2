#pragma once
// Choice of an axis's range and ticks: steps of 1, 2 or 5 times a power of ten for value
// axes, and steps of whole seconds, minutes or hours for the time axis, so that the
// labels read as round numbers and clock times.

#include <QString>

namespace kestrum {

struct AxisRange {
    double minimum = 0.0;
    double maximum = 100.0;
    double step = 20.0;  // between ticks; ticks lie on whole multiples of it

    // The ticks inside [minimum, maximum]: FirstTick() + i * step for i < TickCount().
    double FirstTick() const;
    int TickCount() const;
    double Tick(int i) const { return FirstTick() + i * step; }
    bool operator==(const AxisRange&) const = default;
};

// A round step that cuts `span` into at most `maxIntervals` parts (at least one).
double NiceStep(double span, int maxIntervals);

// The smallest range of round ends that holds every value from dataMinimum to dataMaximum,
// with at most `maxIntervals` ticks between. A flat trace (both equal) gets a small range
// around its value that stays at or above zero when the value does.
AxisRange NiceRange(double dataMinimum, double dataMaximum, int maxIntervals);

// Fixed ends, with round ticks between them.
AxisRange FixedRange(double minimum, double maximum, int maxIntervals);

// Decimals that show every tick of this step exactly.
int TickDecimals(double step);
// A tick value as text, locale-independent ("-2.5", "100").
QString TickLabel(double value, double step);

// A time step of 1, 2, 5, 10, 15, 30 s, 1, 2, 5, 10, 15, 30 min or 1, 2, 3, 6, 12 h
// that cuts `spanSeconds` into at most `maxIntervals` parts.
double TimeStep(double spanSeconds, int maxIntervals);
// A time of the chart's time line as clock time, "%H %M %S": "10 05 30".
QString TimeLabel(double seconds);

}  // namespace kestrum
