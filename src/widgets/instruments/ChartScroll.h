#pragma once
// How a time chart follows the clock cheaply. Its time span ends on a whole pixel, so that
// as time moves on, the plot drawn so far moves left by whole pixels and only what moving
// cannot show is painted again: the newest samples at the right, the traces' ends beyond
// the frame at the left, and the time labels below.

#include <QRect>
#include <QRectF>
#include <QRegion>
#include <cmath>
#include <optional>

namespace kestrum {

// The end of a time span: the newest sample's time, moved up to the next whole pixel of a
// plot of this many pixels a second. The newest sample stays inside the plot.
double WholePixelEnd(double newest, double pixelsPerSecond);

// Where a time falls on a plot whose right edge shows `end`, a time on a whole pixel.
// Exact to the bit once the end is two time spans past midnight: a later
// frame puts every point whole pixels further left, so moved pixels match fresh ones.
class TimeToPixel {
public:
    TimeToPixel(double right, double end, double pixelsPerSecond)
        : right_(right), endPixel_(std::round(end * pixelsPerSecond)), perSecond_(pixelsPerSecond) {}
    double operator()(double time) const { return right_ - (endPixel_ - time * perSecond_); }

private:
    double right_;
    double endPixel_;
    double perSecond_;
};

struct ChartScroll {
    int shift = 0;    // pixels the plot moves left
    QRect moved;      // the pixels that move: inside the frame, every row a trace may cover
    QRegion repaint;  // what must be painted once they have moved
};

// From a plot shown up to `shownEnd` to one up to `end` (seconds, at `pixelsPerSecond`),
// where traces changed from `changedFrom` on. `traces` is where traces may draw, `data`
// all a sample may change (the plot and the scale below it), `reach` how far a sample's drawing reaches
// beside it. None when moving cannot show the new span: backwards, by a part of a pixel, or by the whole
// plot.
std::optional<ChartScroll> PlanScroll(const QRectF& plot, const QRectF& traces, const QRectF& data,
                                      double pixelsPerSecond, double shownEnd, double end, double changedFrom,
                                      double reach);

}  // namespace kestrum
