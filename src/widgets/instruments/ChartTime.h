#pragma once
// The chart's time line. The clock gives seconds since midnight and starts again at 0
// each midnight; the chart needs a time that only grows, so a reading far below the
// previous one counts as the next day. A reading a little below it (a clock stepped back
// by rounding) keeps the previous time, so samples stay in order.

namespace kestrum {

class ContinuousTime {
public:
    static constexpr double kDay = 86400.0;

    // The time of this clock reading on the chart's time line, in seconds from the
    // midnight before the first reading.
    double Advance(double secondsSinceMidnight);
    double Now() const { return last_; }

private:
    double dayStart_ = 0.0;
    double lastReading_ = 0.0;
    double last_ = 0.0;
    bool started_ = false;
};

}  // namespace kestrum
