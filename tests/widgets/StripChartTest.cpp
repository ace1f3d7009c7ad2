// The strip chart as the windows drive it: samples at scripted clock times, x-y points,
// labels, axes, zoom by its arrows, and when it paints.

#include "widgets/instruments/StripChart.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QSignalSpy>
#include <QTest>
#include <array>
#include <cmath>
#include <memory>

#include "support/Fixture.h"
#include "support/Pictures.h"
#include "widgets/instruments/FrameClock.h"
#include "widgets/instruments/LinearScale.h"

namespace kestrum {
namespace {

using test::PixelsOf;

// Counts the paint events a widget receives and where they asked to paint.
class PaintCounter final : public QObject {
public:
    int paints = 0;
    QRect lastRect;
    int lastArea = 0;  // pixels the last paint asked for

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            lastRect = static_cast<QPaintEvent*>(event)->rect();
            lastArea = 0;
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                lastArea += r.width() * r.height();
        }
        return QObject::eventFilter(watched, event);
    }
};

class StripChartTest : public test::KestrumTest {
protected:
    void SetUp() override {
        KestrumTest::SetUp();
        clock.step = 0.0;  // each sample at the time the test sets
        clock.SetTime(10 * 3600.0);
        chart = std::make_unique<StripChart>();
        chart->resize(640, 360);
    }
    void TearDown() override {
        chart.reset();
        KestrumTest::TearDown();
    }
    void ShowAndSettle() {
        chart->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(chart.get()));
        QTest::qWait(2 * StripChart::kRefreshIntervalMs);
        chart->installEventFilter(&counter);
        counter.paints = 0;
    }
    // Feeds `seconds` of samples at `rate` per second to traces 0..traces-1.
    void Feed(int traces, double seconds, double rate, double (*value)(int trace, double t)) {
        const double start = clock.Now();
        for (int i = 0; i < static_cast<int>(seconds * rate); ++i) {
            clock.SetTime(start + i / rate);
            for (int trace = 0; trace < traces; ++trace) chart->AddSample(trace, value(trace, i / rate));
        }
    }
    // A press on the arrow's centre, a move by `by` with the button held, a release.
    void Drag(const QRectF& arrow, QPointF by) {
        const QPointF from = arrow.center();
        const QPointF to = from + by;
        QMouseEvent press(QEvent::MouseButtonPress, from, chart->mapToGlobal(from), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(chart.get(), &press);
        QMouseEvent move(QEvent::MouseMove, to, chart->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(chart.get(), &move);
        QMouseEvent release(QEvent::MouseButtonRelease, to, chart->mapToGlobal(to), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(chart.get(), &release);
    }
    void SavePicture(const QImage& image, const QString& name) { test::KeepPicture(image, name); }

    std::unique_ptr<StripChart> chart;
    PaintCounter counter;
};

double Wave(int trace, double t) { return 20.0 + 5.0 * trace + 3.0 * std::sin(t / 4.0 + trace); }

TEST_F(StripChartTest, SamplesTakeTheClocksTimeAndKeepGrowingAcrossMidnight) {
    chart->AddSample(0, 25.25);
    chart->AddSample(3, -4.5);
    clock.SetTime(10 * 3600.0 + 0.5);
    chart->AddSample(0, 25.5);
    EXPECT_EQ(chart->sampleCount(0), 2);
    EXPECT_EQ(chart->sampleCount(3), 1);
    EXPECT_EQ(chart->sampleCount(1), 0);
    EXPECT_DOUBLE_EQ(chart->lastSample(0), 25.5);
    EXPECT_DOUBLE_EQ(chart->lastSample(3), -4.5);
    EXPECT_TRUE(std::isnan(chart->lastSample(1))) << "a trace without samples";
    EXPECT_DOUBLE_EQ(chart->TimeMaximum(), 36000.5);

    clock.SetTime(86399.5);
    chart->AddSample(0, 1.0);
    clock.SetTime(0.25);
    chart->AddSample(0, 2.0);
    EXPECT_DOUBLE_EQ(chart->TimeMaximum(), 86400.25) << "the time line goes on past midnight";

    chart->AddSample(-1, 9.0);
    chart->AddSample(StripChart::kTraceCount, 9.0);
    EXPECT_EQ(chart->sampleCount(StripChart::kTraceCount), 0) << "traces out of range are ignored";
}

TEST_F(StripChartTest, EachTraceKeepsABoundedHistoryOfItsNewestSamples) {
    const int total = static_cast<int>(StripChart::kSampleCapacity) + 100;
    for (int i = 0; i < total; ++i) {
        clock.SetTime(36000.0 + i * 0.05);
        chart->AddSample(2, i);
    }
    EXPECT_EQ(chart->sampleCount(2), static_cast<int>(StripChart::kSampleCapacity));
    EXPECT_DOUBLE_EQ(chart->lastSample(2), total - 1);
    EXPECT_EQ(chart->BytesHeld(), StripChart::kSampleCapacity * sizeof(ChartSample)) << "one trace in use";
    EXPECT_GE(StripChart::kSampleCapacity * 0.05, ChartZoom::kMaximumTimeSpan) << "the widest zoom at 20 Hz";
}

TEST_F(StripChartTest, ClearEmptiesEveryTraceAndKeepsLabelsAndMode) {
    chart->SetLabelCaption(0, "Temperature (°C)");
    chart->AddSample(0, 1.0);
    chart->AddSample(5, 2.0);
    chart->Clear();
    EXPECT_EQ(chart->sampleCount(0), 0);
    EXPECT_EQ(chart->sampleCount(5), 0);
    EXPECT_TRUE(std::isnan(chart->lastSample(0)));
    EXPECT_EQ(chart->labelCaption(0), "Temperature (°C)");

    chart->PlotPoint(1, 10.0, 20.0);
    chart->Clear();
    EXPECT_TRUE(chart->points(1).isEmpty());
    EXPECT_EQ(chart->ChartMode(), StripChart::Mode::XY);
}

TEST_F(StripChartTest, ValueAxesRangeOverTheirOwnTracesUnlessSet) {
    QSignalSpy layout(chart.get(), &StripChart::layoutChanged);
    chart->SetTraceAxis(4, 1);
    chart->AddSample(0, 25.0);
    EXPECT_LE(chart->AxisMinimum(0), 25.0);
    EXPECT_GE(chart->AxisMaximum(0), 25.0);
    EXPECT_LT(chart->AxisMaximum(0) - chart->AxisMinimum(0), 10.0) << "a flat trace gets a close range";

    layout.clear();
    chart->AddSample(0, 80.0);
    EXPECT_GE(chart->AxisMaximum(0), 80.0) << "a value beyond the axis widens it at once";
    EXPECT_GE(layout.count(), 1);

    chart->AddSample(4, 2450.0);
    chart->AddSample(4, 3100.0);
    EXPECT_GE(chart->AxisMaximum(1), 3100.0);
    EXPECT_LE(chart->AxisMinimum(1), 2450.0);
    EXPECT_LT(chart->AxisMaximum(0), 1000.0) << "fans stay off the temperature axis";

    layout.clear();
    chart->SetAxisRange(0, -20.0, 120.0);
    EXPECT_DOUBLE_EQ(chart->AxisMinimum(0), -20.0);
    EXPECT_DOUBLE_EQ(chart->AxisMaximum(0), 120.0);
    EXPECT_EQ(layout.count(), 1);
    chart->AddSample(0, 500.0);
    EXPECT_DOUBLE_EQ(chart->AxisMaximum(0), 120.0) << "a set range stays";
    chart->SetAxisAutomatic(0);
    EXPECT_GE(chart->AxisMaximum(0), 500.0);
}

TEST_F(StripChartTest, AnAutomaticRangeFollowsOnlyWhatTheTimeSpanShows) {
    ShowAndSettle();
    chart->AddSample(0, 500.0);
    clock.SetTime(36000.0 + 2 * ChartZoom::kDefaultTimeSpan);
    chart->AddSample(0, 10.0);
    chart->AddSample(0, 20.0);
    QTest::qWait(3 * StripChart::kRefreshIntervalMs);
    EXPECT_LT(chart->AxisMaximum(0), 100.0) << "the old peak has scrolled out of view";
    EXPECT_LE(chart->AxisMinimum(0), 10.0);
}

TEST_F(StripChartTest, XYPointsJoinInOrderInTheDefaultViewAndKeepPointsBeyondIt) {
    chart->PlotPoint(0, 0.0, 0.0);
    chart->PlotPoint(0, 40.0, 20.0);
    chart->PlotPoint(0, 52.0, 100.0);
    chart->PlotPoint(0, 1000.0, 100.0);
    EXPECT_EQ(chart->ChartMode(), StripChart::Mode::XY);
    EXPECT_EQ(chart->points(0), (QList<QPointF>{{0, 0}, {40, 20}, {52, 100}, {1000, 100}}));
    EXPECT_DOUBLE_EQ(chart->xSpan(), 150.0);
    EXPECT_DOUBLE_EQ(chart->xMaximum(), 150.0);
    EXPECT_DOUBLE_EQ(chart->AxisMinimum(0), 0.0);
    EXPECT_DOUBLE_EQ(chart->AxisMaximum(0), 100.0);
    EXPECT_EQ(chart->sampleCount(0), 0) << "points are not time samples";
}

TEST_F(StripChartTest, ALonePointShowsAsADotAndOneBeyondTheViewNotAtAll) {
    chart->SetMode(StripChart::Mode::XY);
    chart->PlotPoint(4, 75.0, 50.0);
    chart->PlotPoint(6, 1000.0, 50.0);
    const QImage image = chart->grab().toImage();
    const QRectF plot = chart->Layout().Plot();
    const LinearScale x(0.0, 150.0, plot.left(), plot.right());
    const LinearScale y(0.0, 100.0, plot.bottom(), plot.top());
    const QPoint centre(static_cast<int>(x.ToPixel(75.0)), static_cast<int>(y.ToPixel(50.0)));
    const QColor colour = StripChart::TraceColour(4);
    int hits = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            hits += PixelsOf(image.copy(QRect(centre + QPoint(dx, dy), QSize(1, 1))), colour);
    EXPECT_GE(hits, 20) << "a filled dot, several pixels across";
    EXPECT_EQ(PixelsOf(image, StripChart::TraceColour(6)), 0) << "x = 1000 lies beyond the view";
}

TEST_F(StripChartTest, ATraceTakesAnotherColourForItsLineDotAndLegend) {
    const QColor teal(0, 128, 128);
    chart->SetTraceColour(4, teal);
    chart->SetTraceColour(99, Qt::red);  // no such trace
    chart->SetTraceColour(5, QColor());  // no colour
    EXPECT_EQ(chart->ColourOf(4), teal);
    EXPECT_EQ(chart->ColourOf(5), StripChart::TraceColour(5));
    EXPECT_EQ(StripChart::TraceColour(4), QColor::fromRgba(0xff9467bd)) << "the palette stays";
    chart->SetLabelCaption(5, "Live");  // label 5 goes with trace 4
    chart->PlotPoint(4, 75.0, 50.0);
    const QImage image = chart->grab().toImage();
    EXPECT_GT(PixelsOf(image, teal, 12), 20) << "the dot and the swatch";
    EXPECT_EQ(PixelsOf(image, StripChart::TraceColour(4), 12), 0);
}

TEST_F(StripChartTest, LabelsKeepCaptionTraceVisibilityAndPosition) {
    chart->SetLabelCaption(0, "Remote1");
    chart->SetLabelCaption(1, "Temp");
    chart->SetLabelCaption(2, "Op-Point");
    chart->SetLabelCaption(3, "Tmin");
    EXPECT_EQ(chart->labelCaption(2), "Op-Point");
    EXPECT_TRUE(chart->labelShown(2));
    EXPECT_EQ(chart->LabelTrace(2), 1) << "label n goes with trace n - 1";
    chart->SetLabelTrace(2, 9);
    EXPECT_EQ(chart->LabelTrace(2), 9);

    // The default legend stacks the shown entries in order.
    const double first = chart->labelPosition(1);
    const double second = chart->labelPosition(2);
    EXPECT_GT(second, first);
    EXPECT_NEAR(first, chart->ReferenceHeight(), 1e-9) << "the legend starts level with the plot's top";
    chart->SetLabelShown(2, false);
    EXPECT_FALSE(chart->labelShown(2));
    EXPECT_DOUBLE_EQ(chart->labelPosition(3), second) << "a hidden entry leaves no gap";

    chart->SetLabelPosition(3, 0.4);
    EXPECT_DOUBLE_EQ(chart->labelPosition(3), 0.4);
    chart->ResetLabelPosition(3);
    EXPECT_DOUBLE_EQ(chart->labelPosition(3), second);

    chart->SetLabelCaption(StripChart::kLabelCount, "none");
    EXPECT_EQ(chart->labelCaption(StripChart::kLabelCount), "");
    EXPECT_FALSE(chart->labelShown(-1));
}

TEST_F(StripChartTest, LayoutChangesAreSignalledOnResizeZoomAndRange) {
    ShowAndSettle();
    QSignalSpy layout(chart.get(), &StripChart::layoutChanged);
    const double lower = chart->PlotLowerEdge();
    chart->resize(640, 500);
    ASSERT_EQ(layout.count(), 1);
    EXPECT_NE(chart->PlotLowerEdge(), lower);
    EXPECT_DOUBLE_EQ(chart->PlotLowerEdge() * chart->height(), chart->Layout().Plot().bottom());
    EXPECT_DOUBLE_EQ(chart->ReferenceHeight() * chart->height(), chart->Layout().Plot().top());
    chart->resize(640, 500);
    EXPECT_EQ(layout.count(), 1) << "the same size changes nothing";

    chart->SetAxisRange(0, 0.0, 100.0);
    layout.clear();
    Drag(chart->Layout().ValueArrow(0), QPointF(0, -chart->Layout().Plot().height() / 2));
    EXPECT_EQ(layout.count(), 1) << "zooming the value axis moves its range";
    EXPECT_DOUBLE_EQ(chart->AxisMinimum(0), 0.0);
    EXPECT_DOUBLE_EQ(chart->AxisMaximum(0), 50.0);
}

// The widths are measured when a text or the font changes, and kept between: the layout
// still follows every change.
TEST_F(StripChartTest, TheLegendAndScalesFollowTheirTextsAndTheFont) {
    chart->SetLabelCaption(1, "Tach1=900");
    chart->SetAxisRange(0, 0.0, 10.0);
    ShowAndSettle();
    const double narrow = chart->Layout().Legend().width();
    const double left = chart->Layout().Plot().left();
    chart->SetLabelCaption(1, "Tach1=12500 and more");
    QTest::qWait(3 * StripChart::kRefreshIntervalMs);
    EXPECT_GT(chart->Layout().Legend().width(), narrow);
    chart->SetAxisRange(0, 0.0, 100000.0);
    EXPECT_GT(chart->Layout().Plot().left(), left) << "wider tick labels";

    const QRectF plot = chart->Layout().Plot();
    const double legend = chart->Layout().Legend().width();
    const double line = chart->Layout().LineHeight();
    QFont larger = chart->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.5);
    chart->setFont(larger);
    EXPECT_GT(chart->Layout().LineHeight(), line);
    EXPECT_GT(chart->Layout().Legend().width(), legend);
    EXPECT_GT(chart->Layout().Plot().left(), plot.left());
    EXPECT_LT(chart->Layout().Plot().bottom(), plot.bottom());
}

TEST_F(StripChartTest, TheArrowsZoomTheTimeAndXSpansWithinLimits) {
    ShowAndSettle();
    const double half = chart->Layout().Plot().width() / 2;
    Drag(chart->Layout().HorizontalArrow(), QPointF(half, 0));
    EXPECT_DOUBLE_EQ(chart->TimeSpan(), ChartZoom::kDefaultTimeSpan / 2) << "dragged outwards: zoomed in";
    Drag(chart->Layout().HorizontalArrow(), QPointF(-50 * half, 0));
    EXPECT_DOUBLE_EQ(chart->TimeSpan(), ChartZoom::kMaximumTimeSpan);

    chart->SetMode(StripChart::Mode::XY);
    Drag(chart->Layout().HorizontalArrow(), QPointF(-half, 0));
    EXPECT_DOUBLE_EQ(chart->xSpan(), 300.0);
    EXPECT_DOUBLE_EQ(chart->xMaximum(), 300.0);
    EXPECT_DOUBLE_EQ(chart->TimeSpan(), ChartZoom::kMaximumTimeSpan) << "each mode keeps its own zoom";

    const double span = chart->xSpan();
    Drag(QRectF(chart->Layout().Plot().center(), QSizeF(1, 1)), QPointF(200, 0));
    EXPECT_DOUBLE_EQ(chart->xSpan(), span) << "a drag inside the plot zooms nothing";
}

TEST_F(StripChartTest, AddingASampleNeverPaintsAndRepaintsCoalesce) {
    ShowAndSettle();
    chart->AddSample(0, 1.0);
    chart->SetLabelCaption(1, "Local = 25.25°C");
    EXPECT_EQ(counter.paints, 0);
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0) << "the repaint waits for the timer";

    // Fifty samples in a burst: one repaint.
    for (int i = 0; i < 50; ++i) {
        clock.SetTime(36000.0 + i * 0.05);
        chart->AddSample(0, i % 7);
        QApplication::processEvents();
    }
    QTest::qWait(3 * StripChart::kRefreshIntervalMs);
    EXPECT_EQ(counter.paints, 1);

    // Fed every 5 ms for 400 ms: no more than one repaint per refresh interval.
    counter.paints = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int i = 0; elapsed.elapsed() < 400; ++i) {
        clock.SetTime(36010.0 + i * 0.005);
        chart->AddSample(0, i % 7);
        QTest::qWait(5);
    }
    const auto most = static_cast<int>(elapsed.elapsed() / StripChart::kRefreshIntervalMs) + 2;
    EXPECT_GE(counter.paints, 1);
    EXPECT_LE(counter.paints, most);

    // No longer fed, the chart leaves the frame clock instead of waking the program.
    ASSERT_TRUE(FrameClock::Joined(*chart));
    for (int i = 0; i < 250 && FrameClock::Joined(*chart); ++i) QTest::qWait(20);
    EXPECT_FALSE(FrameClock::Joined(*chart));
}

// Charts fed half a frame apart repaint in the same pass of the event loop, so the screen
// gets one flush; a chart destroyed while due is forgotten by the frame clock.
TEST_F(StripChartTest, ChartsRepaintTogetherAndAClosedChartLeavesTheFrameClock) {
    QWidget window;
    window.resize(700, 400);
    std::array<StripChart*, 3> charts{};
    std::array<PaintCounter, 3> paints;
    for (int i = 0; i < 3; ++i) {
        charts[i] = new StripChart(&window);
        charts[i]->setGeometry(i * 230, 0, 230, 400);
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(2 * StripChart::kRefreshIntervalMs);
    for (int i = 0; i < 3; ++i) charts[i]->installEventFilter(&paints[i]);

    charts[0]->AddSample(0, 1.0);
    QTest::qWait(StripChart::kRefreshIntervalMs / 2);
    charts[1]->AddSample(0, 2.0);
    charts[2]->AddSample(0, 3.0);
    delete charts[2];
    QElapsedTimer elapsed;
    elapsed.start();
    while (paints[0].paints == 0 && elapsed.elapsed() < 2000) QTest::qWait(1);
    EXPECT_EQ(paints[0].paints, 1);
    EXPECT_EQ(paints[1].paints, 1) << "painted in the same pass as the first";
    QTest::qWait(3 * StripChart::kRefreshIntervalMs);
    EXPECT_EQ(paints[1].paints, 1);
}

TEST_F(StripChartTest, ASampleRepaintsOnlyTheDataRegion) {
    chart->SetAxisRange(0, 0.0, 10.0);
    ShowAndSettle();
    chart->AddSample(0, 5.0);
    QTest::qWait(3 * StripChart::kRefreshIntervalMs);
    ASSERT_EQ(counter.paints, 1);
    const QRect data = chart->Layout().DataRegion().toAlignedRect();
    EXPECT_TRUE(data.contains(counter.lastRect)) << "the title and legend are left alone";
    EXPECT_FALSE(counter.lastRect.contains(chart->Layout().TitleBand().toAlignedRect()));
}

TEST_F(StripChartTest, AHiddenChartKeepsItsSamplesAndDoesNoPaintingWork) {
    QWidget window;
    window.resize(700, 400);
    auto* shown = new StripChart(&window);
    auto* hidden = new StripChart(&window);
    shown->setGeometry(0, 0, 700, 400);
    hidden->setGeometry(0, 0, 700, 400);
    hidden->hide();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    PaintCounter shownPaints;
    PaintCounter hiddenPaints;
    shown->installEventFilter(&shownPaints);
    hidden->installEventFilter(&hiddenPaints);

    for (int i = 0; i < 100; ++i) {
        clock.SetTime(36000.0 + i * 0.05);
        shown->AddSample(0, i);
        hidden->AddSample(0, i);
        hidden->SetLabelCaption(1, QString::number(i));
    }
    QTest::qWait(4 * StripChart::kRefreshIntervalMs);
    EXPECT_EQ(hidden->sampleCount(0), 100);
    EXPECT_EQ(hiddenPaints.paints, 0);
    EXPECT_GE(shownPaints.paints, 1) << "the shown one, fed alike, did paint";

    hidden->show();
    QTest::qWait(2 * StripChart::kRefreshIntervalMs);
    EXPECT_GE(hiddenPaints.paints, 1) << "shown again, it paints what it kept";
}

TEST_F(StripChartTest, RendersATimeChartWithLegendAndTwoAxes) {
    chart->resize(760, 380);
    chart->SetLabelCaption(0, "Temperature (°C)");
    const char* names[] = {"Local", "Remote1", "Remote2", "Remote3"};
    for (int i = 0; i < 4; ++i)
        chart->SetLabelCaption(i + 1, QString("%1 = %2°C").arg(names[i]).arg(25 + 5 * i));
    chart->SetLabelCaption(5, "Fan Speed (RPM)");
    chart->SetAxisTitleLabel(1, 5);
    for (int i = 0; i < 4; ++i) {
        chart->SetTraceAxis(4 + i, 1);
        chart->SetLabelTrace(6 + i, 4 + i);
        chart->SetLabelCaption(6 + i, QString("Tach%1=%2").arg(i + 1).arg(1800 + 400 * i));
    }
    Feed(8, 60.0, 20.0, [](int trace, double t) {
        return trace < 4 ? Wave(trace, t) : 1800.0 + 400.0 * (trace - 4) + 150.0 * std::sin(t / 6.0 + trace);
    });
    EXPECT_GE(chart->AxisMaximum(1), 2900.0);
    const QImage image = chart->grab().toImage();
    SavePicture(image, "instrument-chart-time.png");
    for (int trace = 0; trace < 8; ++trace)
        EXPECT_GT(PixelsOf(image, StripChart::TraceColour(trace), 30), 20) << "trace " << trace << " shows";
}

// A window over part of the chart leaves a region of several rectangles to paint; the
// traces drawn into it must be the pixels a paint of the whole chart has there, at any scale.
TEST_F(StripChartTest, APartlyCoveredChartPaintsThePixelsOfAWholePaint) {
    chart->resize(640, 360);
    Feed(4, 30.0, 20.0, [](int trace, double t) {
        if (trace == 1) return 30.0;                                         // flat
        if (trace == 2) return t > 10.0 && t < 12.0 ? NAN : Wave(trace, t);  // a gap
        if (trace == 3) return 40.0 + std::fmod(t * 7.31, 3.0);              // noisy
        return Wave(trace, t);
    });
    chart->AddSample(5, 35.0);  // a lone point
    // Edges on multiples of 4 land on device pixels at every scale tried.
    const QRegion covered = QRegion(0, 0, 640, 360) - QRegion(0, 0, 240, 120) - QRegion(400, 200, 240, 160);
    ASSERT_GT(covered.rectCount(), 1);
    for (const double scale : {1.0, 1.25, 2.0}) {
        QImage whole(chart->size() * scale, QImage::Format_ARGB32_Premultiplied);
        whole.setDevicePixelRatio(scale);
        QImage part = whole;
        part.fill(Qt::magenta);
        chart->render(&whole);
        chart->render(&part, QPoint(), covered);
        const QRegion pixels = QTransform::fromScale(scale, scale).map(covered);
        int differ = 0;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                if (pixels.contains(QPoint(x, y)) && whole.pixel(x, y) != part.pixel(x, y)) ++differ;
        EXPECT_EQ(differ, 0) << "scale " << scale;
    }
}

// As time moves on the plot's pixels move left and only what changed is painted again:
// frame after frame, the screen must show what a paint of the whole chart shows.
TEST_F(StripChartTest, AScrollingChartShowsThePixelsOfAWholePaint) {
    chart->SetAxisRange(0, 0.0, 60.0);  // a fixed range: frames scroll instead of rescaling
    chart->SetTimeSpan(20.0);
    Feed(4, 25.0, 20.0, Wave);
    ShowAndSettle();
    const QRect plot = chart->Layout().Plot().toAlignedRect();
    double t = clock.Now();
    int narrow = 0;
    for (int frame = 0; frame < 30; ++frame) {
        for (int i = 0; i < 1 + frame % 3; ++i) {  // 1 to 3 samples a frame: part and whole pixels
            clock.SetTime(t += 0.05);
            chart->AddSample(0, Wave(0, t));
            chart->AddSample(1, frame > 10 && frame < 14 ? NAN : 30.0);  // a gap
            if (frame == 20 && i == 0) chart->AddSample(2, 45.0);        // once, long after
            if (frame % 10 == 5) chart->AddSample(3, 40.0 + frame % 4);  // now and then
        }
        const int before = counter.paints;
        for (int wait = 0; wait < 100 && counter.paints == before; ++wait) QTest::qWait(5);
        ASSERT_GT(counter.paints, before) << "frame " << frame;
        if (counter.lastArea < plot.width() * plot.height() / 4) ++narrow;
        const QImage shown =
            chart->screen()->grabWindow(chart->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage whole = chart->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), whole.size());
        int differ = 0;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x) differ += shown.pixel(x, y) != whole.pixel(x, y);
        ASSERT_EQ(differ, 0) << "frame " << frame;
    }
    EXPECT_GT(narrow, 10) << "most frames painted only the plot's newest columns";
}

TEST_F(StripChartTest, RendersAnXYFanCurveWithItsOperatingPoint) {
    chart->resize(640, 360);
    chart->SetLabelCaption(0, "PWM1");
    chart->SetLabelCaption(1, "Local");
    chart->SetLabelCaption(2, "Remote1");
    const QList<QPointF> local = {{0, 0}, {40, 0}, {40, 20}, {52, 100}, {1000, 100}, {149, 100}};
    for (const QPointF& p : local) chart->PlotPoint(0, p.x(), p.y());
    const QList<QPointF> remote = {{0, 20}, {60, 20}, {60, 30}, {70, 84}, {70, 100}, {149, 100}};
    for (const QPointF& p : remote) chart->PlotPoint(1, p.x(), p.y());
    chart->PlotPoint(8, 36, 0);
    chart->PlotPoint(8, 36, 20);
    chart->PlotPoint(8, 40, 20);
    chart->PlotPoint(4, 45.5, 55.0);
    chart->PlotPoint(5, 63.0, 40.0);
    const QImage image = chart->grab().toImage();
    SavePicture(image, "instrument-chart-xy.png");
    for (const int trace : {0, 1, 4, 5, 8})
        EXPECT_GT(PixelsOf(image, StripChart::TraceColour(trace), 30), 10) << "trace " << trace << " shows";
}

}  // namespace
}  // namespace kestrum
