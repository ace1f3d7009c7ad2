#pragma once
// The smallest and largest finite value of a trace's samples from a time on, kept from
// frame to frame. A fed chart asks every frame while its time span moves on: only the
// samples that came and left are looked at, and the whole span again only when the last
// sample holding an extreme leaves it.

#include <cstdint>

#include "widgets/instruments/TraceBuffer.h"

namespace kestrum {

class TraceExtremes {
public:
    // The extremes of the samples whose key is `start` or later; false when none is finite.
    bool From(const TraceBuffer& buffer, double start, double& minimum, double& maximum);

private:
    void Rebuild(const TraceBuffer& buffer, std::uint64_t oldest);
    void Enter(double value);
    bool Leave(double value);  // false once the last sample holding an extreme has left

    // The samples covered, by their number in the buffer's history.
    std::uint64_t first_ = 0;
    std::uint64_t end_ = 0;
    bool known_ = false;
    double minimum_ = 0.0;
    double maximum_ = 0.0;
    int minimumCount_ = 0;  // covered samples holding each extreme
    int maximumCount_ = 0;
};

}  // namespace kestrum
