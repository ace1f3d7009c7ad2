#include "widgets/instruments/TraceExtremes.h"

#include <algorithm>
#include <cmath>

namespace kestrum {

bool TraceExtremes::From(const TraceBuffer& buffer, double start, double& minimum, double& maximum) {
    const std::uint64_t oldest = buffer.Pushed() - buffer.Size();
    const std::uint64_t first = oldest + buffer.FirstAtOrAfter(start);
    const std::uint64_t end = buffer.Pushed();
    // Samples no longer held, or a span that reaches further back, need a fresh look.
    bool fresh = !known_ || first_ < oldest || first < first_;
    for (std::uint64_t n = first_; !fresh && n < std::min(first, end_); ++n)
        fresh = !Leave(buffer[n - oldest].value);
    const std::uint64_t entered = std::max(end_, first);
    first_ = first;
    end_ = end;
    if (fresh) {
        Rebuild(buffer, oldest);
    } else {
        for (std::uint64_t n = entered; n < end; ++n) Enter(buffer[n - oldest].value);
    }
    if (minimumCount_ == 0) return false;
    minimum = minimum_;
    maximum = maximum_;
    return true;
}

void TraceExtremes::Rebuild(const TraceBuffer& buffer, std::uint64_t oldest) {
    known_ = true;
    minimumCount_ = maximumCount_ = 0;
    for (std::uint64_t n = first_; n < end_; ++n) Enter(buffer[n - oldest].value);
}

void TraceExtremes::Enter(double value) {
    if (!std::isfinite(value)) return;
    if (minimumCount_ == 0 || value < minimum_) {
        minimum_ = value;
        minimumCount_ = 0;
    }
    if (maximumCount_ == 0 || value > maximum_) {
        maximum_ = value;
        maximumCount_ = 0;
    }
    minimumCount_ += value == minimum_;
    maximumCount_ += value == maximum_;
}

bool TraceExtremes::Leave(double value) {
    if (!std::isfinite(value)) return true;
    if (value == minimum_ && --minimumCount_ == 0) return false;
    if (value == maximum_ && --maximumCount_ == 0) return false;
    return true;
}

}  // namespace kestrum
