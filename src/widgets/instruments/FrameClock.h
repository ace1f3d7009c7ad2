#pragma once
// One frame timer for every chart. Charts due in the same frame repaint in one pass of the
// event loop, so the window system gets one paint and one flush a frame, not one per chart.

namespace kestrum {

class StripChart;

namespace FrameClock {

// The chart's RepaintDue runs each frame from now on, until it answers false; joining
// twice is joining once.
void Join(StripChart& chart);
void Leave(StripChart& chart);
bool Joined(const StripChart& chart);

}  // namespace FrameClock
}  // namespace kestrum
