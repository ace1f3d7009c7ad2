#include "widgets/instruments/LinearScale.h"

#include <gtest/gtest.h>

#include <limits>

namespace kestrum {
namespace {

TEST(LinearScale, MapsTheEndsAndBackEitherWayRound) {
    // A vertical scale: the minimum at the bottom pixel.
    const LinearScale up(0.0, 100.0, 200.0, 0.0);
    EXPECT_DOUBLE_EQ(up.ToPixel(0.0), 200.0);
    EXPECT_DOUBLE_EQ(up.ToPixel(100.0), 0.0);
    EXPECT_DOUBLE_EQ(up.ToPixel(25.0), 150.0);
    EXPECT_DOUBLE_EQ(up.ToValue(150.0), 25.0);
    EXPECT_DOUBLE_EQ(up.ToPixel(150.0), -100.0) << "beyond the scale maps beyond the span";

    const LinearScale inverted(100.0, 0.0, 0.0, 200.0);
    EXPECT_DOUBLE_EQ(inverted.ToPixel(100.0), 0.0);
    EXPECT_DOUBLE_EQ(inverted.ToValue(50.0), 75.0);
    EXPECT_DOUBLE_EQ(inverted.Clamp(150.0), 100.0);
    EXPECT_DOUBLE_EQ(inverted.Clamp(-5.0), 0.0);
}

TEST(LinearScale, AnEmptyScaleMapsNothingAndDividesByNothing) {
    const LinearScale empty(3.3, 3.3, 10.0, 110.0);
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_DOUBLE_EQ(empty.ToPixel(3.3), 10.0);
    EXPECT_DOUBLE_EQ(empty.ToPixel(1e9), 10.0);
    EXPECT_DOUBLE_EQ(empty.ToValue(60.0), 3.3);
    EXPECT_DOUBLE_EQ(empty.Clamp(7.0), 3.3);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(LinearScale(0.0, nan, 0.0, 1.0).IsEmpty());
    const LinearScale scale(0.0, 10.0, 0.0, 100.0);
    EXPECT_DOUBLE_EQ(scale.ToPixel(nan), 0.0);
    EXPECT_DOUBLE_EQ(scale.Clamp(nan), 0.0);
    EXPECT_DOUBLE_EQ(LinearScale(0.0, 10.0, 5.0, 5.0).ToValue(5.0), 0.0) << "a span of no pixels";
}

}  // namespace
}  // namespace kestrum
