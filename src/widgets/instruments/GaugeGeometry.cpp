#include "widgets/instruments/GaugeGeometry.h"

#include <algorithm>
#include <cmath>

#include "widgets/instruments/AxisTicks.h"

namespace kestrum {
namespace {

constexpr double kMargin = 3.0;  // room for the focus frame
constexpr double kGap = 3.0;
constexpr double kMinorSpacing = 5.0;  // pixels between minor ticks at least
constexpr int kMaxTicks = 1000;        // whatever the scale, the tick list stays small

double PointerSize(const GaugeTextMetrics& text) { return std::max(8.0, std::round(text.height * 0.75)); }
double TrackWidth(const GaugeTextMetrics& text) { return std::max(8.0, std::round(text.height * 0.7)); }
double TickLength(const GaugeTextMetrics& text) { return std::max(4.0, std::round(text.height * 0.4)); }

}  // namespace

double GaugeGeometry::ContentWidth(const GaugeTextMetrics& text) {
    return kMargin + text.labelWidth + kGap + TickLength(text) + PointerSize(text) + TrackWidth(text) +
           PointerSize(text) + kGap + kMargin;
}

double GaugeGeometry::MinimumTrackLength(const GaugeTextMetrics& text) { return 4.0 * text.height; }

GaugeGeometry::GaugeGeometry(double minimum, double maximum, const QRectF& area, const GaugeTextMetrics& text)
    : majorTick_(TickLength(text)), pointerSize_(PointerSize(text)), textHeight_(text.height) {
    caption_ = QRectF(area.left() + kMargin, area.bottom() - kMargin - text.height,
                      area.width() - 2 * kMargin, text.height);
    // Centred when the widget is wider than the gauge needs.
    const double left = area.left() + std::max(0.0, (area.width() - ContentWidth(text)) / 2.0);
    labelRight_ = left + kMargin + text.labelWidth;
    tickRight_ = labelRight_ + kGap + majorTick_;
    const double trackLeft = tickRight_ + pointerSize_;
    // The end labels and pointers overhang the track by half their height.
    const double overhang = std::max(text.height, pointerSize_) / 2.0;
    const double top = area.top() + kMargin + overhang;
    const double bottom = std::max(top, caption_.top() - kGap - overhang);
    track_ = QRectF(trackLeft, top, TrackWidth(text), bottom - top);
    scale_ = LinearScale(minimum, maximum, track_.bottom() - 2.0, track_.top() + 2.0);
}

QPolygonF GaugeGeometry::NeedleShape(double value) const {
    const double y = ToPixel(Clamp(value));
    const double tip = track_.left();
    const double half = pointerSize_ / 2.0;
    return QPolygonF(
        {QPointF(tip, y), QPointF(tip - pointerSize_, y - half), QPointF(tip - pointerSize_, y + half)});
}

QPolygonF GaugeGeometry::MarkerShape(double value) const {
    const double y = ToPixel(Clamp(value));
    const double tip = track_.right();
    const double half = pointerSize_ / 2.0;
    return QPolygonF(
        {QPointF(tip, y), QPointF(tip + pointerSize_, y - half), QPointF(tip + pointerSize_, y + half)});
}

int GaugeGeometry::MarkerAt(const QPointF& point, const std::vector<GaugeMarkerState>& markers) const {
    if (IsEmpty()) return kNoMarker;
    // Markers are grabbed on the track (their limit line) or right of it.
    if (point.x() < track_.left() - 1.0 || point.x() > track_.right() + pointerSize_ + kGap + 2.0)
        return kNoMarker;
    const double reach = pointerSize_ / 2.0 + 2.0;
    const double pointerValue = scale_.ToValue(point.y());
    int best = kNoMarker;
    double bestDistance = reach;
    double bestValue = 0.0;
    for (const GaugeMarkerState& m : markers) {
        if (!m.visible) continue;
        const double value = Clamp(m.value);
        const double distance = std::abs(ToPixel(value) - point.y());
        if (distance > reach) continue;
        const bool tie = best != kNoMarker && std::abs(distance - bestDistance) < 0.5;
        if (tie) {
            // Prefer the marker whose side of the other the pointer is on.
            const bool pointerAbove = pointerValue > std::max(value, bestValue);
            const bool higher = m.marker > best;
            if (pointerAbove == higher) {
                best = m.marker;
                bestValue = value;
            }
        } else if (best == kNoMarker || distance < bestDistance) {
            best = m.marker;
            bestDistance = distance;
            bestValue = value;
        }
    }
    return best;
}

double GaugeGeometry::KeyStep() const {
    if (IsEmpty()) return 0.0;
    const double onePercent = std::abs(scale_.Maximum() - scale_.Minimum()) / 100.0;
    return std::pow(10.0, std::floor(std::log10(onePercent) + 1e-9));
}

double GaugeGeometry::Stepped(double value, int steps) const {
    const double step = KeyStep();
    if (step == 0.0 || steps == 0) return Clamp(value);
    const double slack = 1e-9;  // a value already on the grid counts as on it
    const double grid = value / step;
    const double start = steps > 0 ? std::floor(grid + slack) : std::ceil(grid - slack);
    const double stepped = (start + steps) * step;
    // Round away the binary noise of multiplying by a power of ten below one.
    const double decimals = std::max(0.0, -std::floor(std::log10(step)));
    const double unit = std::pow(10.0, decimals);
    return Clamp(std::round(stepped * unit) / unit);
}

double GaugeGeometry::MajorStep() const {
    if (IsEmpty()) return 0.0;
    const double span = std::abs(scale_.Maximum() - scale_.Minimum());
    const double length =
        std::max(1.0, std::abs(scale_.ToPixel(scale_.Maximum()) - scale_.ToPixel(scale_.Minimum())));
    // A label and a label's height of space per step.
    return NiceStep(std::max(span * 2.0 * textHeight_ / length, span / kMaxTicks), 1);
}

std::vector<GaugeTick> GaugeGeometry::Ticks() const {
    std::vector<GaugeTick> ticks;
    const double major = MajorStep();
    if (major == 0.0) return ticks;
    const double pixelsPerUnit =
        std::abs(scale_.ToPixel(scale_.Maximum()) - scale_.ToPixel(scale_.Minimum())) /
        std::abs(scale_.Maximum() - scale_.Minimum());
    const double mantissa = major / std::pow(10.0, std::floor(std::log10(major) + 1e-9));
    const int divisions = std::abs(mantissa - 2.0) < 1e-6 ? 4 : 5;
    const bool minors = major / divisions * pixelsPerUnit >= kMinorSpacing;
    const double step = minors ? major / divisions : major;
    const double low = std::min(scale_.Minimum(), scale_.Maximum());
    const double high = std::max(scale_.Minimum(), scale_.Maximum());
    const double slack = step * 1e-6;
    for (double k = std::ceil((low - slack) / step); k * step <= high + slack; k += 1.0) {
        const double value = k * step;
        const double inMajors = value / major;
        const bool isMajor = std::abs(inMajors - std::round(inMajors)) < 1e-6;
        ticks.push_back({std::abs(value) < slack ? 0.0 : value, isMajor});
    }
    return ticks;
}

int GaugeGeometry::LabelDecimals() const { return TickDecimals(MajorStep()); }

}  // namespace kestrum
