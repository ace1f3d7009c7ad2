#include "widgets/instruments/Slider.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <limits>

namespace kestrum {
namespace {

TEST(SliderGeometry, KeepsValuesExactWithinTheRangeAndDragsToWholeValues) {
    EXPECT_DOUBLE_EQ(SliderGeometry::Clamp(37.5), 37.5);
    EXPECT_DOUBLE_EQ(SliderGeometry::Clamp(120.0), 100.0);
    EXPECT_DOUBLE_EQ(SliderGeometry::Clamp(-3.0), 0.0);
    EXPECT_DOUBLE_EQ(SliderGeometry::Clamp(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(SliderGeometry::ToPosition(37.5), 3750);
    EXPECT_EQ(SliderGeometry::ToPosition(100.0), SliderGeometry::kPositions);
    EXPECT_DOUBLE_EQ(SliderGeometry::Stepped(99.5, 1), 100.0);
    EXPECT_DOUBLE_EQ(SliderGeometry::Stepped(37.5, -10), 27.5);

    const SliderGeometry vertical(10.0, 210.0, true);
    EXPECT_DOUBLE_EQ(vertical.ValueAt(10.0), 100.0) << "the top is the maximum";
    EXPECT_DOUBLE_EQ(vertical.ValueAt(210.0), 0.0);
    EXPECT_DOUBLE_EQ(vertical.ValueAt(500.0), 0.0);
    EXPECT_DOUBLE_EQ(vertical.ValueAt(134.0), 38.0) << "37.999... rounds to whole";
    EXPECT_DOUBLE_EQ(vertical.ToPixel(37.5), 135.0);

    const SliderGeometry horizontal(0.0, 100.0, false);
    EXPECT_DOUBLE_EQ(horizontal.ValueAt(-20.0), 0.0);
    EXPECT_DOUBLE_EQ(horizontal.ValueAt(62.4), 62.0);
    EXPECT_DOUBLE_EQ(SliderGeometry(40.0, 40.0, true).ValueAt(40.0), 0.0) << "no travel, no division";
}

class SliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        slider.resize(40, 220);
        slider.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    }

    QPoint HandleCentre() const { return slider.HandleRect().center(); }

    Slider slider;
    QSignalSpy changed{&slider, &Slider::valueChanged};
    QSignalSpy downs{&slider, &Slider::mouseDown};
    QSignalSpy ups{&slider, &Slider::mouseUp};
};

TEST_F(SliderTest, CodeSetsTheExactValueWithoutAReport) {
    slider.SetValue(37.5);
    EXPECT_DOUBLE_EQ(slider.Value(), 37.5);
    EXPECT_TRUE(slider.setProperty("value", 18.5));
    EXPECT_DOUBLE_EQ(slider.property("value").toDouble(), 18.5);
    slider.SetValue(250.0);
    EXPECT_DOUBLE_EQ(slider.Value(), 100.0);
    EXPECT_EQ(changed.count(), 0);

    ASSERT_TRUE(QMetaObject::invokeMethod(&slider, "moveAsUser", Q_ARG(double, 62.5)));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_DOUBLE_EQ(changed.at(0).at(0).toDouble(), 62.5);
    slider.moveAsUser(62.5);
    EXPECT_EQ(changed.count(), 1) << "a move to where it is changes nothing";
}

TEST_F(SliderTest, ADragReportsEachNewValueBetweenMouseDownAndMouseUp) {
    slider.SetValue(50.0);
    const QPoint start = HandleCentre();
    QTest::mousePress(&slider, Qt::LeftButton, {}, start);
    EXPECT_EQ(downs.count(), 1);
    EXPECT_TRUE(slider.IsHeld());
    EXPECT_EQ(changed.count(), 0) << "pressing on the handle does not move it";
    QTest::mouseMove(&slider, start - QPoint(0, 20));
    QTest::mouseMove(&slider, QPoint(start.x(), -50));
    EXPECT_GE(changed.count(), 2);
    EXPECT_DOUBLE_EQ(slider.Value(), 100.0) << "dragged past the top";
    EXPECT_DOUBLE_EQ(changed.last().at(0).toDouble(), 100.0);
    EXPECT_EQ(ups.count(), 0);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(start.x(), -50));
    EXPECT_EQ(ups.count(), 1);
    EXPECT_FALSE(slider.IsHeld());
}

TEST_F(SliderTest, AClickOnTheTrackBringsTheHandleThere) {
    slider.SetValue(100.0);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(slider.width() / 2, slider.height() - 2));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_LT(slider.Value(), 5.0);
    EXPECT_EQ(downs.count(), 1);
    EXPECT_EQ(ups.count(), 1);
}

TEST_F(SliderTest, KeysAndTheWheelMoveOneReportPerStep) {
    slider.SetValue(37.5);
    QTest::keyClick(&slider, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(slider.Value(), 38.5);
    QTest::keyClick(&slider, Qt::Key_PageDown);
    EXPECT_DOUBLE_EQ(slider.Value(), 28.5);
    QTest::keyClick(&slider, Qt::Key_End);
    QTest::keyClick(&slider, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(slider.Value(), 100.0);
    EXPECT_EQ(changed.count(), 3) << "no report for a step past the end";

    QWheelEvent halfNotch(QPointF(10, 10), slider.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 60),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QWheelEvent down(QPointF(10, 10), slider.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -240),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&slider, &down);
    EXPECT_DOUBLE_EQ(slider.Value(), 98.0);
    QApplication::sendEvent(&slider, &halfNotch);
    EXPECT_DOUBLE_EQ(slider.Value(), 98.0) << "half a notch is not yet a step";
    QApplication::sendEvent(&slider, &halfNotch);
    EXPECT_DOUBLE_EQ(slider.Value(), 99.0);
    EXPECT_EQ(changed.count(), 5);
}

TEST_F(SliderTest, APressEndedAnyOtherWayStillEndsWithOneMouseUp) {
    const auto pressAndLose = [&](const std::function<void()>& lose) {
        const int before = ups.count();
        QTest::mousePress(&slider, Qt::LeftButton, {}, HandleCentre());
        EXPECT_TRUE(slider.IsHeld());
        lose();
        EXPECT_FALSE(slider.IsHeld());
        EXPECT_EQ(ups.count(), before + 1);
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, HandleCentre());
        EXPECT_EQ(ups.count(), before + 1) << "the late release adds nothing";
    };
    pressAndLose([&] {
        QEvent ungrab(QEvent::UngrabMouse);
        QApplication::sendEvent(&slider, &ungrab);
    });
    pressAndLose([&] {
        QFocusEvent out(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(&slider, &out);
    });
    pressAndLose([&] {
        slider.setEnabled(false);
        slider.setEnabled(true);
    });
    pressAndLose([&] {
        slider.hide();
        slider.show();
    });
    EXPECT_EQ(downs.count(), ups.count());
}

TEST_F(SliderTest, ADisabledSliderCannotBeMoved) {
    slider.SetValue(40.0);
    slider.setEnabled(false);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(slider.width() / 2, 2));
    QTest::keyClick(&slider, Qt::Key_Up);
    slider.moveAsUser(70.0);
    EXPECT_DOUBLE_EQ(slider.Value(), 40.0);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(downs.count(), 0);
    slider.SetValue(55.0);
    EXPECT_DOUBLE_EQ(slider.Value(), 55.0) << "the window still shows the measured value";
}

}  // namespace
}  // namespace kestrum
