#include "widgets/instruments/ChartScroll.h"

#include <algorithm>
#include <cmath>

namespace kestrum {

double WholePixelEnd(double newest, double pixelsPerSecond) {
    if (!(pixelsPerSecond > 0.0) || !std::isfinite(newest)) return newest;
    return std::ceil(newest * pixelsPerSecond) / pixelsPerSecond;
}

std::optional<ChartScroll> PlanScroll(const QRectF& plot, const QRectF& traces, const QRectF& data,
                                      double pixelsPerSecond, double shownEnd, double end, double changedFrom,
                                      double reach) {
    const double exact = (end - shownEnd) * pixelsPerSecond;
    if (!std::isfinite(exact) || !std::isfinite(changedFrom)) return std::nullopt;
    const long shift = std::lround(exact);
    // The frame's columns stay; the columns between them move.
    const int left = static_cast<int>(std::floor(plot.left())) + 1;
    const int right = static_cast<int>(std::floor(plot.right()));
    const int top = static_cast<int>(std::floor(traces.top()));
    const int bottom = static_cast<int>(std::ceil(traces.bottom()));
    if (shift < 0 || std::abs(exact - static_cast<double>(shift)) > 1e-3 || shift >= right - left)
        return std::nullopt;

    ChartScroll scroll;
    scroll.shift = static_cast<int>(shift);
    scroll.moved = QRect(left, top, right - left, bottom - top);
    // From where the oldest changed line starts, or the columns moving uncovered, rightwards.
    const int outerLeft = static_cast<int>(std::floor(traces.left()));
    const int outerRight = static_cast<int>(std::ceil(traces.right()));
    const double from = std::min(plot.right() - (end - changedFrom) * pixelsPerSecond, double(right - shift));
    const int first = std::clamp(static_cast<int>(std::floor(from - reach)), outerLeft, right);
    scroll.repaint = QRect(first, top, outerRight - first, bottom - top);
    if (shift > 0) {
        const int reachCeil = static_cast<int>(std::ceil(reach));
        scroll.repaint += QRect(outerLeft, top, left + reachCeil - outerLeft, bottom - top);
        scroll.repaint += QRect(0, bottom, static_cast<int>(std::ceil(data.right())),
                                static_cast<int>(std::ceil(data.bottom())) - bottom);
    }
    return scroll;
}

}  // namespace kestrum
