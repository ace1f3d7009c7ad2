#include "widgets/instruments/ChartTime.h"

namespace kestrum {

double ContinuousTime::Advance(double secondsSinceMidnight) {
    if (started_ && secondsSinceMidnight < lastReading_ - kDay / 2) dayStart_ += kDay;
    lastReading_ = secondsSinceMidnight;
    const double time = dayStart_ + secondsSinceMidnight;
    if (!started_ || time > last_) last_ = time;
    started_ = true;
    return last_;
}

}  // namespace kestrum
