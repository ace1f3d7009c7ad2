#pragma once
// The layout and arithmetic of the vertical linear gauge, without painting: where the
// scale, its ticks, the needles, the limit markers and the caption lie in a widget of a
// given size, which marker a pointer grabs, the value a drag or a key step gives, and
// which ticks to label. The minimum sits at the bottom of the track.

#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <vector>

#include "widgets/instruments/LinearScale.h"

namespace kestrum {

// What the font needs room for, in pixels.
struct GaugeTextMetrics {
    double height = 14.0;      // one line of text
    double labelWidth = 30.0;  // the widest tick label
};

struct GaugeTick {
    double value = 0.0;
    bool major = false;
};

struct GaugeMarkerState {
    int marker = 0;
    double value = 0.0;
    bool visible = false;
};

class GaugeGeometry {
public:
    static constexpr int kNoMarker = -1;

    GaugeGeometry() = default;
    GaugeGeometry(double minimum, double maximum, const QRectF& area, const GaugeTextMetrics& text);

    // The width the gauge needs beside its caption, and the smallest sensible track.
    static double ContentWidth(const GaugeTextMetrics& text);
    static double MinimumTrackLength(const GaugeTextMetrics& text);

    bool IsEmpty() const { return scale_.IsEmpty(); }
    const LinearScale& Scale() const { return scale_; }

    QRectF Track() const { return track_; }
    QRectF Caption() const { return caption_; }
    double LabelRight() const { return labelRight_; }
    double TickRight() const { return tickRight_; }
    double MajorTickLength() const { return majorTick_; }

    double ToPixel(double value) const { return scale_.ToPixel(value); }
    // The value under a pixel row, kept within the scale.
    double ValueAt(double y) const { return scale_.Clamp(scale_.ToValue(y)); }
    double Clamp(double value) const { return scale_.Clamp(value); }

    // A needle's pointer rides between the ticks and the track, pointing at the track; a
    // marker sits right of the track, pointing back at it. Values beyond the scale are
    // drawn at its end.
    QPolygonF NeedleShape(double value) const;
    QPolygonF MarkerShape(double value) const;
    // The marker under the pointer, or kNoMarker. Two markers on one spot: the one that
    // can move towards the pointer, so overlapping limits can always be pulled apart.
    int MarkerAt(const QPointF& point, const std::vector<GaugeMarkerState>& markers) const;

    // A key step: the largest power of ten not above 1 % of the scale. A step lands on a
    // multiple of the step, within the scale.
    double KeyStep() const;
    double Stepped(double value, int steps) const;

    // Ticks a label's height apart or more, on round numbers; minor ticks between them
    // where there is room. Label texts show the major step's decimals.
    double MajorStep() const;
    std::vector<GaugeTick> Ticks() const;
    int LabelDecimals() const;

private:
    LinearScale scale_;
    QRectF track_;
    QRectF caption_;
    double labelRight_ = 0.0;
    double tickRight_ = 0.0;
    double majorTick_ = 6.0;
    double pointerSize_ = 10.0;
    double textHeight_ = 14.0;
};

}  // namespace kestrum
