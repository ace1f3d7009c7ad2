#include "widgets/instruments/AxisTicks.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kestrum {

namespace {
// Ticks closer than this fraction of a step to an end still count as on it.
constexpr double kTickSlack = 1e-9;
}  // namespace

double AxisRange::FirstTick() const {
    if (!(step > 0.0)) return minimum;
    return std::ceil(minimum / step - kTickSlack) * step;
}

int AxisRange::TickCount() const {
    if (!(step > 0.0) || !(maximum >= minimum)) return 0;
    return static_cast<int>(std::floor((maximum - FirstTick()) / step + kTickSlack)) + 1;
}

double NiceStep(double span, int maxIntervals) {
    maxIntervals = std::max(maxIntervals, 1);
    if (!(span > 0.0) || !std::isfinite(span)) return 1.0;
    const double rough = span / maxIntervals;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double mantissa : {1.0, 2.0, 5.0, 10.0})
        if (mantissa * power >= rough * (1.0 - kTickSlack)) return mantissa * power;
    return 10.0 * power;
}

AxisRange NiceRange(double dataMinimum, double dataMaximum, int maxIntervals) {
    if (!std::isfinite(dataMinimum) || !std::isfinite(dataMaximum)) return {};
    if (dataMaximum < dataMinimum) std::swap(dataMinimum, dataMaximum);
    double low = dataMinimum;
    double high = dataMaximum;
    if (high - low <= 1e-12 * std::max(1.0, std::abs(high))) {
        const double half = std::max(std::abs(low) * 0.05, 1.0);
        low = (dataMinimum >= 0.0 && low - half < 0.0) ? 0.0 : low - half;
        high += half;
    }
    // A rounded range can need a step larger than the first guess; a few rounds settle it.
    double step = NiceStep(high - low, maxIntervals);
    AxisRange range;
    for (int round = 0; round < 4; ++round) {
        range = {std::floor(low / step + kTickSlack) * step, std::ceil(high / step - kTickSlack) * step,
                 step};
        if (range.TickCount() - 1 <= std::max(maxIntervals, 1)) break;
        step = NiceStep(step * 1.5, 1);
    }
    return range;
}

AxisRange FixedRange(double minimum, double maximum, int maxIntervals) {
    if (maximum < minimum) std::swap(minimum, maximum);
    return {minimum, maximum, NiceStep(maximum - minimum, maxIntervals)};
}

int TickDecimals(double step) {
    if (!(step > 0.0) || step >= 1.0) return 0;
    return std::clamp(static_cast<int>(std::ceil(-std::log10(step) - kTickSlack)), 0, 12);
}

QString TickLabel(double value, double step) {
    // A tick that should be zero may carry rounding noise of the sign.
    if (std::abs(value) < step * kTickSlack) value = 0.0;
    return QString::number(value, 'f', TickDecimals(step));
}

double TimeStep(double spanSeconds, int maxIntervals) {
    static constexpr std::array<double, 17> kSteps = {1,   2,   5,    10,   15,   30,    60,    120,  300,
                                                      600, 900, 1800, 3600, 7200, 10800, 21600, 43200};
    maxIntervals = std::max(maxIntervals, 1);
    for (const double step : kSteps)
        if (step * maxIntervals >= spanSeconds) return step;
    return kSteps.back();
}

QString TimeLabel(double seconds) {
    const auto whole = static_cast<long long>(std::floor(seconds + 1e-6));
    const long long ofDay = ((whole % 86400) + 86400) % 86400;
    return QStringLiteral("%1 %2 %3")
        .arg(ofDay / 3600, 2, 10, QLatin1Char('0'))
        .arg(ofDay / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(ofDay % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace kestrum
