#include "widgets/instruments/ChartLayout.h"

#include <algorithm>
#include <cmath>

namespace kestrum {

ChartLayout::ChartLayout(const ChartMetrics& metrics) : metrics_(metrics) {
    const double line = std::max(metrics.lineHeight, 1.0);
    arrow_ = std::round(std::max(line * 0.35, 4.0));
    const double arrowLength = 2 * arrow_ + 2;

    // Vertically: title band, half a line so the top tick label fits, plot, scale below.
    const double titleHeight = std::max(line, arrowLength) + 2;
    titleBand_ = QRectF(0, kMargin, metrics.width, titleHeight);
    const double top = kMargin + titleHeight + line / 2;
    const double scaleHeight = kTickLength + 2 + line;
    const double bottom = std::max(top + 1, metrics.height - kMargin - scaleHeight);

    // Horizontally: left gutter, plot, right gutter (second axis and the x arrow), legend.
    const double leftGutter =
        std::max(metrics.valueLabelWidth[0] + kTickLength + kGap, 2 * arrow_ + 2 * kGap);
    const double secondAxis =
        metrics.valueLabelWidth[1] > 0.0 ? metrics.valueLabelWidth[1] + kTickLength + kGap : 0.0;
    rightGutter_ = std::max(secondAxis, arrowLength + 2 * kGap);
    double legendWidth = std::min(metrics.legendWidth, metrics.width * kMostLegendShare);
    const double left = kMargin + leftGutter;
    const double legendGap = legendWidth > 0.0 ? 2 * kGap : 0.0;
    const double right = std::max(left + 1, metrics.width - kMargin - legendWidth - legendGap - rightGutter_);

    plot_ = QRectF(QPointF(left, top), QPointF(right, bottom));
    horizontalScale_ = QRectF(0, bottom, right + rightGutter_, scaleHeight);
    legend_ = QRectF(right + rightGutter_ + legendGap, top - line / 2, legendWidth, bottom - top + line);
}

QRectF ChartLayout::ValueScale(int axis) const {
    if (axis == 0) return QRectF(QPointF(kMargin, plot_.top()), QPointF(plot_.left(), plot_.bottom()));
    return QRectF(QPointF(plot_.right(), plot_.top()), QPointF(plot_.right() + rightGutter_, plot_.bottom()));
}

QRectF ChartLayout::HorizontalArrow() const {
    const double y = plot_.bottom() + kTickLength + 2 + metrics_.lineHeight / 2;
    return QRectF(plot_.right() + kGap, y - arrow_, 2 * arrow_ + 2, 2 * arrow_);
}

QRectF ChartLayout::ValueArrow(int axis) const {
    const double bottom = plot_.top() - metrics_.lineHeight / 2 - 1;
    const double centre = axis == 0 ? plot_.left() - kGap - arrow_ : plot_.right() + kGap + arrow_;
    return QRectF(centre - arrow_, bottom - (2 * arrow_ + 2), 2 * arrow_, 2 * arrow_ + 2);
}

double ChartLayout::ToFraction(double y) const { return metrics_.height > 0.0 ? y / metrics_.height : 0.0; }

double ChartLayout::LabelCentre(double fraction) const {
    const double half = metrics_.lineHeight / 2;
    const double y = std::isfinite(fraction) ? fraction * metrics_.height : 0.0;
    return std::clamp(y, half, std::max(half, metrics_.height - half));
}

double ChartLayout::LegendSlotCentre(int slot) const {
    return plot_.top() + slot * std::round(metrics_.lineHeight * 1.2);
}

QRectF ChartLayout::DataRegion() const {
    return plot_.adjusted(-1, -1, 1, 1).united(horizontalScale_.adjusted(0, 0, 0, 1));
}

double PixelCentre(double logical, double devicePixelRatio) {
    const double ratio = devicePixelRatio > 0.0 ? devicePixelRatio : 1.0;
    return (std::floor(logical * ratio) + 0.5) / ratio;
}

}  // namespace kestrum
