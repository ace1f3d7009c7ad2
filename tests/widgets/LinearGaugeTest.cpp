#include "widgets/instruments/LinearGauge.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

namespace kestrum {
namespace {

class LinearGaugeTest : public ::testing::Test {
protected:
    void SetUp() override {
        gauge.resize(140, 320);
        gauge.SetScale(0.0, 100.0);
        gauge.SetMarkerValue(2, 20.0);
        gauge.SetMarkerValue(3, 80.0);
        gauge.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&gauge));
    }

    QPoint MarkerPoint(int marker) const {
        return gauge.Geometry().MarkerShape(gauge.markerValue(marker)).boundingRect().center().toPoint();
    }

    LinearGauge gauge;
    QSignalSpy moved{&gauge, &LinearGauge::markerMoved};
};

TEST_F(LinearGaugeTest, ADragIsReportedOnceOnReleaseAndStaysOnTheScale) {
    const QPoint start = MarkerPoint(3);
    const double trackTop = gauge.Geometry().Track().top();
    QTest::mousePress(&gauge, Qt::LeftButton, {}, start);
    QTest::mouseMove(&gauge, start - QPoint(0, 10));
    QTest::mouseMove(&gauge, QPoint(start.x(), static_cast<int>(trackTop) - 40));
    EXPECT_TRUE(gauge.IsDragging());
    EXPECT_EQ(moved.count(), 0) << "nothing while the marker is still being dragged";
    EXPECT_DOUBLE_EQ(gauge.markerValue(3), 100.0) << "dragged past the top, held at the scale's end";
    QTest::mouseRelease(&gauge, Qt::LeftButton, {}, QPoint(start.x(), static_cast<int>(trackTop) - 40));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(0).toInt(), 3);
    EXPECT_DOUBLE_EQ(gauge.markerValue(3), 100.0);
    EXPECT_DOUBLE_EQ(gauge.markerValue(2), 20.0) << "the other marker stays";

    // Down to a pixel row inside the scale: the value under it, whatever the grab offset.
    const QPoint low = MarkerPoint(2);
    const QPoint grab = low + QPoint(0, 2);
    QTest::mousePress(&gauge, Qt::LeftButton, {}, grab);
    QTest::mouseMove(&gauge, grab + QPoint(0, 30));
    QTest::mouseRelease(&gauge, Qt::LeftButton, {}, grab + QPoint(0, 30));
    ASSERT_EQ(moved.count(), 2);
    EXPECT_EQ(moved.at(1).at(0).toInt(), 2);
    EXPECT_NEAR(gauge.markerValue(2), gauge.Geometry().ValueAt(gauge.Geometry().ToPixel(20.0) + 30.0), 1e-9);
    EXPECT_LT(gauge.markerValue(2), 20.0);
}

TEST_F(LinearGaugeTest, APressThatMovesNothingOrIsCancelledReportsNothing) {
    const QPoint start = MarkerPoint(3);
    QTest::mouseClick(&gauge, Qt::LeftButton, {}, start);
    EXPECT_EQ(moved.count(), 0);

    QTest::mousePress(&gauge, Qt::LeftButton, {}, start);
    QTest::mouseMove(&gauge, start - QPoint(0, 25));
    QTest::keyClick(&gauge, Qt::Key_Escape);
    EXPECT_DOUBLE_EQ(gauge.markerValue(3), 80.0) << "Escape puts the marker back";
    QTest::mouseRelease(&gauge, Qt::LeftButton, {}, start - QPoint(0, 25));
    EXPECT_EQ(moved.count(), 0);

    const QPoint empty(MarkerPoint(3).x(), (MarkerPoint(2).y() + MarkerPoint(3).y()) / 2);
    QTest::mousePress(&gauge, Qt::LeftButton, {}, empty);
    QTest::mouseMove(&gauge, empty - QPoint(0, 40));
    QTest::mouseRelease(&gauge, Qt::LeftButton, {}, empty - QPoint(0, 40));
    EXPECT_EQ(moved.count(), 0) << "a press between the markers grabs none";
    EXPECT_DOUBLE_EQ(gauge.markerValue(2), 20.0);
    EXPECT_DOUBLE_EQ(gauge.markerValue(3), 80.0);
}

TEST_F(LinearGaugeTest, ADragCutShortByALostGrabIsStillReportedOnce) {
    const QPoint start = MarkerPoint(2);
    QTest::mousePress(&gauge, Qt::LeftButton, {}, start);
    QTest::mouseMove(&gauge, start - QPoint(0, 20));
    const double left = gauge.markerValue(2);
    QEvent ungrab(QEvent::UngrabMouse);
    QApplication::sendEvent(&gauge, &ungrab);
    EXPECT_FALSE(gauge.IsDragging());
    ASSERT_EQ(moved.count(), 1);
    EXPECT_DOUBLE_EQ(gauge.markerValue(2), left);
    QTest::mouseRelease(&gauge, Qt::LeftButton, {}, start - QPoint(0, 20));
    EXPECT_EQ(moved.count(), 1);
}

TEST_F(LinearGaugeTest, CodeMovesMarkersSilentlyWithinTheScale) {
    gauge.SetMarkerValue(3, 250.0);
    EXPECT_DOUBLE_EQ(gauge.markerValue(3), 100.0);
    gauge.SetMarkerValue(2, -5.0);
    EXPECT_DOUBLE_EQ(gauge.markerValue(2), 0.0);
    gauge.SetScale(10.0, 50.0);
    EXPECT_DOUBLE_EQ(gauge.markerValue(2), 10.0) << "a narrowed scale pulls the markers in";
    EXPECT_DOUBLE_EQ(gauge.markerValue(3), 50.0);
    gauge.SetMarkerValue(7, 30.0);
    EXPECT_DOUBLE_EQ(gauge.markerValue(7), 0.0) << "only markers 2 and 3 exist";
    gauge.SetNeedleValue(1, 75.5);
    EXPECT_DOUBLE_EQ(gauge.needleValue(1), 75.5) << "a needle keeps a reading beyond the scale";
    EXPECT_EQ(moved.count(), 0);

    // The windows' way in: properties and invokable methods.
    EXPECT_TRUE(gauge.setProperty("scaleMinimum", -64.0));
    EXPECT_TRUE(gauge.setProperty("scaleMaximum", 191.0));
    EXPECT_TRUE(gauge.setProperty("caption", QStringLiteral("45.25°C")));
    EXPECT_EQ(gauge.Caption(), QStringLiteral("45.25°C"));
    EXPECT_DOUBLE_EQ(gauge.property("scaleMaximum").toDouble(), 191.0);
    double value = 0.0;
    ASSERT_TRUE(QMetaObject::invokeMethod(&gauge, "moveMarkerAsUser", Q_ARG(int, 3), Q_ARG(double, 300.0)));
    ASSERT_TRUE(QMetaObject::invokeMethod(&gauge, "markerValue", Q_RETURN_ARG(double, value), Q_ARG(int, 3)));
    EXPECT_DOUBLE_EQ(value, 191.0);
    ASSERT_EQ(moved.count(), 1) << "a user's move is reported even to the end of the scale";
    EXPECT_EQ(moved.at(0).at(0).toInt(), 3);
}

TEST_F(LinearGaugeTest, ArrowKeysStepTheSelectedMarkerWithOneReportEach) {
    gauge.SetMarkerValue(3, 97.5);
    QTest::keyClick(&gauge, Qt::Key_Up);
    QTest::keyClick(&gauge, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(gauge.markerValue(3), 99.0);
    EXPECT_EQ(moved.count(), 2);
    QTest::keyClick(&gauge, Qt::Key_PageUp);
    QTest::keyClick(&gauge, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(gauge.markerValue(3), 100.0);
    EXPECT_EQ(moved.count(), 3) << "a step at the end of the scale moves and reports nothing";

    QTest::keyClick(&gauge, Qt::Key_Left);
    EXPECT_EQ(gauge.SelectedMarker(), 2);
    QTest::keyClick(&gauge, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(gauge.markerValue(2), 19.0);
    ASSERT_EQ(moved.count(), 4);
    EXPECT_EQ(moved.at(3).at(0).toInt(), 2);

    gauge.SetMarkerVisible(2, false);
    EXPECT_EQ(gauge.SelectedMarker(), 3) << "a hidden marker is not the one the keys move";
    QTest::keyClick(&gauge, Qt::Key_Left);
    QTest::keyClick(&gauge, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(gauge.markerValue(2), 19.0);
    EXPECT_DOUBLE_EQ(gauge.markerValue(3), 99.0);
    gauge.moveMarkerAsUser(2, 50.0);
    EXPECT_DOUBLE_EQ(gauge.markerValue(2), 19.0) << "nor can a user move it";
    EXPECT_EQ(moved.count(), 5);
}

TEST_F(LinearGaugeTest, AnEmptyScaleShowsNoNeedleOrMarkerAndTakesNoMove) {
    gauge.SetScale(3.3, 3.3);
    gauge.SetNeedleValue(0, 1.0);
    gauge.SetNeedleValue(1, 5.0);
    const QImage first = gauge.grab().toImage();
    gauge.SetNeedleValue(1, 2.0);
    gauge.SetMarkerVisible(2, false);
    EXPECT_EQ(gauge.grab().toImage(), first) << "needles and markers leave no trace";

    const QPoint spot = MarkerPoint(3);
    QTest::mousePress(&gauge, Qt::LeftButton, {}, spot);
    QTest::mouseMove(&gauge, spot - QPoint(0, 30));
    QTest::mouseRelease(&gauge, Qt::LeftButton, {}, spot - QPoint(0, 30));
    QTest::keyClick(&gauge, Qt::Key_Up);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_DOUBLE_EQ(gauge.markerValue(3), 3.3);
}

TEST_F(LinearGaugeTest, SizesLeaveRoomForLabelsAndCaption) {
    gauge.SetScale(0.0, 12000.0);
    const QSize small = gauge.minimumSizeHint();
    const QSize hint = gauge.sizeHint();
    EXPECT_GE(hint.height(), small.height());
    EXPECT_GE(small.width(), gauge.fontMetrics().horizontalAdvance(QStringLiteral("12000")));
    gauge.SetCaption(QStringLiteral("A caption far wider than any gauge needs"));
    EXPECT_GE(gauge.sizeHint().width(), gauge.fontMetrics().horizontalAdvance(gauge.Caption()));

    // A tall gauge on a fine scale labels more decimals, and makes room for them.
    gauge.SetScale(0.0, 1.0);
    gauge.resize(140, 900);
    gauge.resize(gauge.minimumSizeHint().width(), 900);  // no centring slack beside the labels
    const GaugeGeometry geometry = gauge.Geometry();
    const QString widest = QString::number(1.0, 'f', geometry.LabelDecimals());
    EXPECT_GE(geometry.LabelDecimals(), 2);
    EXPECT_GE(geometry.LabelRight(), gauge.fontMetrics().horizontalAdvance(widest));
}

}  // namespace
}  // namespace kestrum
