// The strip chart's arithmetic, without painting: ring buffer, time line, ticks, layout
// fractions and zoom limits.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "support/CommaLocale.h"
#include "widgets/instruments/AxisTicks.h"
#include "widgets/instruments/ChartLayout.h"
#include "widgets/instruments/ChartTime.h"
#include "widgets/instruments/ChartZoom.h"
#include "widgets/instruments/TraceBuffer.h"
#include "widgets/instruments/TraceExtremes.h"

namespace kestrum {
namespace {

TEST(TraceBuffer, KeepsTheNewestInOrderOnceFullAndFindsKeysAcrossTheWrap) {
    TraceBuffer buffer(4);
    for (int i = 1; i <= 6; ++i) buffer.Push(i, 10.0 * i);
    ASSERT_EQ(buffer.Size(), 4u);
    EXPECT_EQ(buffer.Capacity(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(buffer[i].key, 3.0 + i) << "oldest first";
    EXPECT_DOUBLE_EQ(buffer.Newest().value, 60.0);

    // Keys 3 4 5 6, stored from the middle of the storage.
    EXPECT_EQ(buffer.FirstAtOrAfter(0.0), 0u);
    EXPECT_EQ(buffer.FirstAtOrAfter(4.0), 1u);
    EXPECT_EQ(buffer.FirstAtOrAfter(4.5), 2u);
    EXPECT_EQ(buffer.FirstAtOrAfter(6.0), 3u);
    EXPECT_EQ(buffer.FirstAtOrAfter(7.0), 4u) << "none at or after";
}

// The extremes kept from frame to frame are those of a fresh look at the span, whatever
// came and left: plateaus, gaps, a wrapped buffer, a span reaching back, a cleared trace.
TEST(TraceExtremes, MatchAFreshLookAsTheSpanMovesOn) {
    TraceBuffer buffer(300);
    TraceExtremes kept;
    std::mt19937 random(7);
    double key = 0.0;
    double span = 10.0;
    for (int frame = 0; frame < 3000; ++frame) {
        const int phase = frame / 500;  // flat, stepped, noisy with gaps, ...
        for (int i = static_cast<int>(random() % 4); i > 0; --i) {
            double value = phase % 3 == 0 ? 5.0 : phase % 3 == 1 ? std::floor(key / 3.0) : random() % 9;
            if (phase == 2 && random() % 5 == 0) value = NAN;
            buffer.Push(key += 0.05, value);
        }
        if (frame == 1200) span = 40.0;  // reaches back beyond what was kept
        if (frame == 1900) span = 2.0;
        if (frame == 2500) buffer.Clear();
        const double start = key - span;
        double low = 0.0;
        double high = 0.0;
        bool any = false;
        double fresh[2] = {0.0, 0.0};
        for (std::size_t i = buffer.FirstAtOrAfter(start); i < buffer.Size(); ++i) {
            const double value = buffer[i].value;
            if (!std::isfinite(value)) continue;
            fresh[0] = any ? std::min(fresh[0], value) : value;
            fresh[1] = any ? std::max(fresh[1], value) : value;
            any = true;
        }
        ASSERT_EQ(kept.From(buffer, start, low, high), any) << "frame " << frame;
        if (!any) continue;
        ASSERT_EQ(low, fresh[0]) << "frame " << frame;
        ASSERT_EQ(high, fresh[1]) << "frame " << frame;
    }
}

TEST(TraceBuffer, TakesItsStorageOnceAndKeepsItThroughClear) {
    TraceBuffer buffer(1000);
    EXPECT_EQ(buffer.BytesHeld(), 0u) << "an unused trace costs nothing";
    buffer.Push(1.0, 2.0);
    const std::size_t held = buffer.BytesHeld();
    EXPECT_EQ(held, 1000 * sizeof(ChartSample));
    for (int i = 0; i < 5000; ++i) buffer.Push(i, i);
    EXPECT_EQ(buffer.BytesHeld(), held);

    buffer.Clear();
    EXPECT_TRUE(buffer.Empty());
    EXPECT_EQ(buffer.BytesHeld(), held);
    buffer.Push(7.0, 8.0);
    ASSERT_EQ(buffer.Size(), 1u);
    EXPECT_DOUBLE_EQ(buffer[0].key, 7.0);
    EXPECT_EQ(buffer.FirstAtOrAfter(7.0), 0u);
}

TEST(ContinuousTime, KeepsGrowingAcrossMidnightAndNeverStepsBack) {
    ContinuousTime time;
    EXPECT_DOUBLE_EQ(time.Advance(86399.5), 86399.5);
    EXPECT_DOUBLE_EQ(time.Advance(0.25), 86400.25) << "the clock wrapped: the next day";
    EXPECT_DOUBLE_EQ(time.Advance(0.24), 86400.25) << "a reading a hair back keeps the time";
    EXPECT_DOUBLE_EQ(time.Advance(3600.0), 90000.0);
    EXPECT_DOUBLE_EQ(time.Advance(86399.0), 172799.0);
    EXPECT_DOUBLE_EQ(time.Advance(1.0), 172801.0) << "and the one after";
    EXPECT_DOUBLE_EQ(time.Now(), 172801.0);
}

TEST(AxisTicks, RangesCoverTheDataWithRoundEnds) {
    const AxisRange percent = NiceRange(3.2, 97.1, 5);
    EXPECT_EQ(percent, (AxisRange{0.0, 100.0, 20.0}));
    EXPECT_EQ(percent.TickCount(), 6);
    EXPECT_DOUBLE_EQ(percent.Tick(5), 100.0);

    const AxisRange negative = NiceRange(-12.3, 7.9, 5);
    EXPECT_EQ(negative, (AxisRange{-15.0, 10.0, 5.0}));
    EXPECT_EQ(negative.TickCount(), 6);

    const AxisRange reversed = NiceRange(7.9, -12.3, 5);
    EXPECT_EQ(reversed, negative) << "ends given the wrong way round";

    // Rounding both ends outwards can need one step more than the data's span: the step grows.
    const AxisRange tight = NiceRange(1.0, 9.0, 4);
    EXPECT_LE(tight.TickCount() - 1, 4);
    EXPECT_LE(tight.minimum, 1.0);
    EXPECT_GE(tight.maximum, 9.0);
}

TEST(AxisTicks, AFlatTraceGetsASmallRangeThatStaysAtOrAboveZeroWhenItDoes) {
    EXPECT_EQ(NiceRange(25.0, 25.0, 5), (AxisRange{23.0, 27.0, 1.0}));
    EXPECT_EQ(NiceRange(0.0, 0.0, 5), (AxisRange{0.0, 1.0, 0.2})) << "a stalled fan: no negative speeds";
    EXPECT_EQ(NiceRange(-5.0, -5.0, 5), (AxisRange{-6.0, -4.0, 0.5}));
    const AxisRange large = NiceRange(2450.0, 2450.0, 5);
    EXPECT_LT(large.minimum, 2450.0);
    EXPECT_GT(large.maximum, 2450.0);
    EXPECT_LE(large.TickCount() - 1, 5);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(NiceRange(nan, 1.0, 5), AxisRange{}) << "no data: the default range";
}

TEST(AxisTicks, FixedEndsKeepTheirValuesAndTickOnRoundNumbersBetween) {
    const AxisRange range = FixedRange(-20.0, 125.0, 6);
    EXPECT_DOUBLE_EQ(range.minimum, -20.0);
    EXPECT_DOUBLE_EQ(range.maximum, 125.0);
    EXPECT_DOUBLE_EQ(range.step, 50.0);
    EXPECT_DOUBLE_EQ(range.FirstTick(), 0.0);
    EXPECT_EQ(range.TickCount(), 3) << "0, 50 and 100";
}

TEST(AxisTicks, LabelsReadAsPlainNumbersAndClockTimesWhateverTheLocale) {
    const test::CommaLocale comma;
    ASSERT_TRUE(comma.Active()) << "the German locale could not be set up";
    EXPECT_EQ(TickLabel(2.5, 0.5), "2.5");
    EXPECT_EQ(TickLabel(100.0, 20.0), "100");
    EXPECT_EQ(TickLabel(0.30000000000000004, 0.1), "0.3");
    EXPECT_EQ(TickLabel(-1e-17, 0.2), "0.0") << "no negative zero";
    EXPECT_EQ(TickDecimals(0.05), 2);

    EXPECT_EQ(TimeLabel(10 * 3600 + 5 * 60 + 30), "10 05 30");
    EXPECT_EQ(TimeLabel(86400.0 + 61.9), "00 01 01") << "the day after, whole seconds";
    EXPECT_DOUBLE_EQ(TimeStep(60.0, 6), 10.0);
    EXPECT_DOUBLE_EQ(TimeStep(600.0, 6), 120.0);
    EXPECT_DOUBLE_EQ(TimeStep(7.0, 20), 1.0);
}

ChartMetrics Sizes(double width, double height) {
    ChartMetrics metrics;
    metrics.width = width;
    metrics.height = height;
    metrics.lineHeight = 16.0;
    metrics.valueLabelWidth[0] = 24.0;
    metrics.legendWidth = 120.0;
    return metrics;
}

TEST(ChartLayout, GivesThePlotsEdgesAndPlacesLabelsAsFractionsOfTheHeight) {
    const ChartLayout layout(Sizes(600, 400));
    const QRectF plot = layout.Plot();
    EXPECT_DOUBLE_EQ(layout.PlotLowerEdge() * 400, plot.bottom());
    EXPECT_DOUBLE_EQ(layout.ReferenceHeight() * 400, plot.top());
    EXPECT_LT(layout.ReferenceHeight(), 0.15) << "the title band is one line";
    EXPECT_GT(layout.PlotLowerEdge(), 0.85);
    EXPECT_TRUE(QRectF(0, 0, 600, 400).contains(plot));
    EXPECT_GE(layout.Legend().left(), plot.right()) << "legend beside the plot";
    EXPECT_LE(layout.Legend().right(), 600);
    EXPECT_GE(layout.ValueScale(0).width(), 24.0) << "room for the tick labels";

    EXPECT_DOUBLE_EQ(layout.LabelCentre(0.5), 200.0);
    EXPECT_DOUBLE_EQ(layout.LabelCentre(0.0), 8.0) << "kept inside the chart";
    EXPECT_DOUBLE_EQ(layout.LabelCentre(1.0), 392.0);
    EXPECT_DOUBLE_EQ(layout.LegendSlotCentre(0), plot.top());
    EXPECT_DOUBLE_EQ(layout.LegendSlotCentre(2) - layout.LegendSlotCentre(1), 19.0)
        << "a line and a bit apart";
}

TEST(ChartLayout, ASecondAxisAndTheArrowsKeepClearOfThePlot) {
    ChartMetrics metrics = Sizes(600, 400);
    const ChartLayout one(metrics);
    metrics.valueLabelWidth[1] = 40.0;
    const ChartLayout two(metrics);
    EXPECT_LT(two.Plot().right(), one.Plot().right()) << "the second axis's labels take room";
    EXPECT_EQ(two.Plot().top(), one.Plot().top()) << "only the width changes";
    EXPECT_GE(two.ValueScale(1).width(), 40.0);

    for (const ChartLayout* layout : {&one, &two}) {
        EXPECT_FALSE(layout->HorizontalArrow().intersects(layout->Plot()));
        EXPECT_FALSE(layout->ValueArrow(0).intersects(layout->Plot()));
        EXPECT_FALSE(layout->ValueArrow(1).intersects(layout->Plot()));
        EXPECT_FALSE(layout->HorizontalArrow().intersects(layout->Legend()));
        EXPECT_GE(layout->HorizontalArrow().left(), layout->Plot().right());
        EXPECT_LE(layout->ValueArrow(0).bottom(), layout->Plot().top());
        EXPECT_TRUE(layout->DataRegion().contains(layout->HorizontalArrow()));
    }
}

TEST(ChartLayout, ATinyChartStillHasAPlotAndAnEmptyOneNoFractions) {
    const ChartLayout tiny(Sizes(30, 20));
    EXPECT_GT(tiny.Plot().width(), 0.0);
    EXPECT_GT(tiny.Plot().height(), 0.0);
    const ChartLayout empty(Sizes(0, 0));
    EXPECT_DOUBLE_EQ(empty.PlotLowerEdge(), 0.0);
    EXPECT_TRUE(std::isfinite(empty.LabelCentre(0.5)));
}

TEST(ChartLayout, LinesSitOnDevicePixelCentres) {
    EXPECT_DOUBLE_EQ(PixelCentre(10.0, 1.0), 10.5);
    EXPECT_DOUBLE_EQ(PixelCentre(10.7, 1.0), 10.5);
    EXPECT_DOUBLE_EQ(PixelCentre(10.3, 2.0), 10.25) << "HiDPI: half a logical pixel is one device pixel";
    EXPECT_DOUBLE_EQ(PixelCentre(10.0, 0.0), 10.5) << "no ratio counts as one";
}

TEST(ChartZoom, ExtentsStayWithinTheirLimits) {
    ChartZoom zoom;
    EXPECT_DOUBLE_EQ(zoom.time.Value(), ChartZoom::kDefaultTimeSpan);
    EXPECT_DOUBLE_EQ(zoom.xSpan.Value(), 150.0);
    EXPECT_TRUE(zoom.time.Set(1.0));
    EXPECT_DOUBLE_EQ(zoom.time.Value(), ChartZoom::kMinimumTimeSpan);
    EXPECT_FALSE(zoom.time.Set(2.0)) << "already at the limit";
    EXPECT_TRUE(zoom.time.Set(1e6));
    EXPECT_DOUBLE_EQ(zoom.time.Value(), ChartZoom::kMaximumTimeSpan);
    EXPECT_FALSE(zoom.time.Set(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_LT(ChartZoom::kMaximumXSpan, 1000.0) << "the no-limit point stays out of view";
    EXPECT_TRUE(zoom.valueFactor[1].Set(100.0));
    EXPECT_DOUBLE_EQ(zoom.valueFactor[1].Value(), ChartZoom::kMaximumValueFactor);
    EXPECT_DOUBLE_EQ(zoom.valueFactor[0].Value(), 1.0) << "axes zoom apart";
}

TEST(ChartZoom, DraggingOutwardsStretchesAndInwardsSqueezes) {
    const ZoomExtent extent(60.0, 5.0, 600.0);
    EXPECT_DOUBLE_EQ(extent.Dragged(60.0, 200.0, 400.0), 30.0) << "half the axis out: half the span";
    EXPECT_DOUBLE_EQ(extent.Dragged(60.0, -200.0, 400.0), 120.0);
    EXPECT_DOUBLE_EQ(extent.Dragged(60.0, 0.0, 400.0), 60.0);
    EXPECT_DOUBLE_EQ(extent.Dragged(60.0, 5000.0, 400.0), 5.0);
    EXPECT_DOUBLE_EQ(extent.Dragged(60.0, -5000.0, 400.0), 600.0);
    EXPECT_DOUBLE_EQ(extent.Dragged(60.0, 100.0, 0.0), 60.0) << "an axis of no length";

    const ZoomedRange centred = ZoomAboutCentre(20.0, 30.0, 2.0);
    EXPECT_DOUBLE_EQ(centred.minimum, 15.0);
    EXPECT_DOUBLE_EQ(centred.maximum, 35.0);
    const ZoomedRange floored = ZoomFromMinimum(0.0, 100.0, 0.5);
    EXPECT_DOUBLE_EQ(floored.minimum, 0.0);
    EXPECT_DOUBLE_EQ(floored.maximum, 50.0);
}

}  // namespace
}  // namespace kestrum
