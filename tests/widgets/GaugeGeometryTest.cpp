#include "widgets/instruments/GaugeGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "widgets/instruments/AxisTicks.h"

namespace kestrum {
namespace {

const GaugeTextMetrics kText{14.0, 30.0};
const QRectF kArea(0.0, 0.0, 120.0, 300.0);

TEST(GaugeGeometry, PutsTheMinimumAtTheBottomOfTheTrackAndKeepsDragsOnTheScale) {
    const GaugeGeometry gauge(-64.0, 191.0, kArea, kText);
    const QRectF track = gauge.Track();
    EXPECT_LT(track.bottom(), gauge.Caption().top()) << "the caption lies below the track";
    EXPECT_NEAR(gauge.ToPixel(-64.0), track.bottom() - 2.0, 1e-9);
    EXPECT_NEAR(gauge.ToPixel(191.0), track.top() + 2.0, 1e-9);
    EXPECT_NEAR(gauge.ValueAt(gauge.ToPixel(86.0)), 86.0, 1e-9);
    EXPECT_DOUBLE_EQ(gauge.ValueAt(track.top() - 50.0), 191.0);
    EXPECT_DOUBLE_EQ(gauge.ValueAt(track.bottom() + 50.0), -64.0);

    const GaugeGeometry inverted(100.0, 0.0, kArea, kText);
    EXPECT_NEAR(inverted.ToPixel(100.0), inverted.Track().bottom() - 2.0, 1e-9);
    EXPECT_DOUBLE_EQ(inverted.ValueAt(-1000.0), 0.0);
    EXPECT_DOUBLE_EQ(inverted.ValueAt(1000.0), 100.0);
}

TEST(GaugeGeometry, AnEmptyScaleOffersNoTicksStepsOrMarkers) {
    const GaugeGeometry empty(0.0, 0.0, kArea, kText);
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_TRUE(empty.Ticks().empty());
    EXPECT_DOUBLE_EQ(empty.KeyStep(), 0.0);
    EXPECT_DOUBLE_EQ(empty.Stepped(5.0, 3), 0.0) << "kept on the one value the scale has";
    const QPointF onMarker = empty.MarkerShape(0.0).boundingRect().center();
    EXPECT_EQ(empty.MarkerAt(onMarker, {{3, 0.0, true}}), GaugeGeometry::kNoMarker);
    EXPECT_DOUBLE_EQ(empty.ValueAt(100.0), 0.0);
}

TEST(GaugeGeometry, KeyStepsAreAPowerOfTenAndLandOnItsMultiples) {
    EXPECT_DOUBLE_EQ(GaugeGeometry(-64.0, 191.0, kArea, kText).KeyStep(), 1.0);
    EXPECT_DOUBLE_EQ(GaugeGeometry(0.0, 12000.0, kArea, kText).KeyStep(), 100.0);
    EXPECT_DOUBLE_EQ(GaugeGeometry(0.0, 100.0, kArea, kText).KeyStep(), 1.0);

    const GaugeGeometry volts(0.0, 15.94, kArea, kText);
    EXPECT_DOUBLE_EQ(volts.KeyStep(), 0.1);
    EXPECT_DOUBLE_EQ(volts.Stepped(3.12, 1), 3.2) << "off the grid: the next multiple up";
    EXPECT_DOUBLE_EQ(volts.Stepped(3.12, -1), 3.1);
    EXPECT_DOUBLE_EQ(volts.Stepped(12.0, 1), 12.1) << "on the grid: one whole step";
    EXPECT_DOUBLE_EQ(volts.Stepped(12.0, -10), 11.0);
    EXPECT_DOUBLE_EQ(volts.Stepped(15.9, 1), 15.94) << "the scale's end bounds a step";
    EXPECT_DOUBLE_EQ(volts.Stepped(0.05, -1), 0.0);

    const GaugeGeometry inverted(100.0, 0.0, kArea, kText);
    EXPECT_DOUBLE_EQ(inverted.Stepped(50.0, 1), 51.0) << "up is towards larger values either way round";
}

TEST(GaugeGeometry, TicksFallOnRoundValuesWithRoomForTheirLabels) {
    EXPECT_DOUBLE_EQ(NiceStep(0.13, 1), 0.2);
    EXPECT_DOUBLE_EQ(NiceStep(3.0, 1), 5.0);
    EXPECT_DOUBLE_EQ(NiceStep(7.0, 1), 10.0);
    EXPECT_DOUBLE_EQ(NiceStep(20.0, 1), 20.0);

    const GaugeGeometry gauge(-64.0, 191.0, kArea, kText);
    const double major = gauge.MajorStep();
    const std::vector<GaugeTick> ticks = gauge.Ticks();
    ASSERT_FALSE(ticks.empty());
    int majors = 0;
    double lastMajorY = 1e9;
    for (const GaugeTick& tick : ticks) {
        EXPECT_GE(tick.value, -64.0);
        EXPECT_LE(tick.value, 191.0);
        if (!tick.major) continue;
        ++majors;
        EXPECT_NEAR(std::remainder(tick.value, major), 0.0, 1e-9) << tick.value;
        const double y = gauge.ToPixel(tick.value);
        EXPECT_GE(lastMajorY - y, 2.0 * kText.height - 1e-9) << "labels overlap at " << tick.value;
        lastMajorY = y;
    }
    EXPECT_GE(majors, 3);
    EXPECT_LT(majors, static_cast<int>(ticks.size())) << "a tall gauge has minor ticks";
    EXPECT_EQ(gauge.LabelDecimals(), 0);

    const GaugeGeometry fraction(0.0, 1.0, kArea, kText);
    EXPECT_EQ(fraction.LabelDecimals(), 1);
    EXPECT_DOUBLE_EQ(fraction.Ticks().front().value, 0.0);
}

TEST(GaugeGeometry, APointerGrabsTheNearestShownMarkerAndPullsOverlappingOnesApart) {
    const GaugeGeometry gauge(0.0, 100.0, kArea, kText);
    const double x = gauge.MarkerShape(0.0).boundingRect().center().x();
    const std::vector<GaugeMarkerState> apart{{2, 20.0, true}, {3, 80.0, true}};
    EXPECT_EQ(gauge.MarkerAt({x, gauge.ToPixel(20.0) + 2.0}, apart), 2);
    EXPECT_EQ(gauge.MarkerAt({x, gauge.ToPixel(80.0) - 2.0}, apart), 3);
    EXPECT_EQ(gauge.MarkerAt({x, gauge.ToPixel(50.0)}, apart), GaugeGeometry::kNoMarker);
    EXPECT_EQ(gauge.MarkerAt({gauge.LabelRight(), gauge.ToPixel(20.0)}, apart), GaugeGeometry::kNoMarker)
        << "the scale's labels are not a handle";

    const std::vector<GaugeMarkerState> hidden{{2, 20.0, false}, {3, 80.0, true}};
    EXPECT_EQ(gauge.MarkerAt({x, gauge.ToPixel(20.0)}, hidden), GaugeGeometry::kNoMarker);

    const std::vector<GaugeMarkerState> together{{2, 50.0, true}, {3, 50.0, true}};
    EXPECT_EQ(gauge.MarkerAt({x, gauge.ToPixel(50.0) - 2.0}, together), 3);
    EXPECT_EQ(gauge.MarkerAt({x, gauge.ToPixel(50.0) + 2.0}, together), 2);

    const std::vector<GaugeMarkerState> beyond{{3, 150.0, true}};
    EXPECT_EQ(gauge.MarkerAt({x, gauge.ToPixel(100.0)}, beyond), 3)
        << "drawn, and grabbed, at the scale's end";
}

}  // namespace
}  // namespace kestrum
