// The Graphs window as a user sees it, fed by the master timer: which chart shows, the
// legends' texts, the samples every chart receives, and the update period box.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "core/Declarations.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "core/Scheduler.h"
#include "monitor/GraphSubs.h"
#include "monitor/frmGraph.h"
#include "support/LayoutChecks.h"
#include "support/Pictures.h"
#include "support/WindowFixture.h"
#include "widgets/UpDown.h"
#include "widgets/instruments/StripChart.h"

namespace kestrum {
namespace {

const QString kDegrees = QString(QChar(0x00B0)) + "C";

class GraphsWindowTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        clock.step = 0.0;  // the tests move the clock themselves
        gGraphPeriodMs = 50;
        InitVoltageNames();
    }

    frmGraph& Open() { return WindowTest::Open<frmGraph>(); }
    StripChart& Chart(frmGraph& window, int index) {
        return Control<StripChart>(window, QString("stpGraph_%1").arg(index));
    }
    // One master-timer tick, long enough after the last for the graph task to be due.
    void Tick(double seconds = 0.1) { TickAfter(seconds); }
    std::vector<int> VisibleCharts(frmGraph& window) {
        std::vector<int> visible;
        for (int i = 0; i < frmGraph::kChartCount; ++i)
            if (Chart(window, i).isVisible()) visible.push_back(i);
        return visible;
    }
    static std::string Caption(const StripChart& chart, int label) {
        return chart.labelCaption(label).toStdString();
    }
    // The chart's picture shows trace i in its colour at values[i], `before` seconds before
    // the newest sample: the middle of the line's pixels in that column lies at the value,
    // within a step of the temperatures' staircase (3 pixels).
    static void ExpectTracesShow(StripChart& chart, double before, const std::vector<double>& values) {
        const QImage image = chart.grab().toImage();
        const QRectF plot = chart.Layout().Plot();
        const QColor background = chart.palette().color(QPalette::Base);
        const int x = qRound(plot.right() - before / chart.TimeSpan() * plot.width());
        for (int trace = 0; trace < static_cast<int>(values.size()); ++trace) {
            const int axis = chart.TraceAxis(trace);
            const double share = (values[trace] - chart.AxisMinimum(axis)) /
                                 (chart.AxisMaximum(axis) - chart.AxisMinimum(axis));
            const double y = plot.bottom() - share * plot.height();
            double weight = 0.0;
            double sum = 0.0;
            for (int row = static_cast<int>(y) - 3; row <= static_cast<int>(y) + 4; ++row) {
                const double coverage =
                    test::Coverage(image.pixelColor(x, row), chart.ColourOf(trace), background);
                if (coverage < 0.2) continue;
                weight += coverage;
                sum += coverage * (row + 0.5);
            }
            ASSERT_GT(weight, 0.5) << "trace " << trace << " in column " << x;
            EXPECT_NEAR(sum / weight, y, 2.5) << "trace " << trace << " in column " << x;
        }
    }
};

TEST_F(GraphsWindowTest, OpensOnTemperatureAndTachWithItsTitlesAndLegends) {
    gGraphPeriodMs = 120;
    frmGraph& window = Open();
    EXPECT_EQ(window.windowTitle(), "Graphing");
    EXPECT_EQ(window.parentWidget()->size(), QSize(689, 555));  // 10335 x 8325 twips
    EXPECT_TRUE(gGraphFormOpen);

    auto& list = Control<QComboBox>(window, "cmbGraph");
    std::vector<std::string> items;
    for (int i = 0; i < list.count(); ++i) items.push_back(list.itemText(i).toStdString());
    EXPECT_EQ(items,
              (std::vector<std::string>{"Temperature Only", "Tach Only", "PWM Only", "Temperature and Tach",
                                        "Temperature and PWM", "Voltage", "THERM"}));
    EXPECT_EQ(list.currentText(), "Temperature and Tach");
    EXPECT_EQ(VisibleCharts(window), std::vector<int>{3});
    EXPECT_EQ(window.lblGraph->text(), "Select Graph");
    EXPECT_EQ(window.lblUpdate->text(), "Update Rate(ms)");
    EXPECT_EQ(Control<QLineEdit>(window, "txtUpdate").text(), "120");
    EXPECT_EQ(&Control<UpDown>(window, "UpDown1").Buddy(), window.txtUpdate);

    const std::vector<std::string> titles = {
        "Temperature (\u00B0C)", "Fan Speed (RPM)", "PWM Drive (% Duty)", "Temperature (\u00B0C)",
        "Temperature (\u00B0C)", "Voltage",         "THERM Timer %"};
    for (int i = 0; i < frmGraph::kChartCount; ++i) {
        EXPECT_EQ(Caption(Chart(window, i), 0), titles[i]) << i;
        EXPECT_EQ(Chart(window, i).toolTip(),
                  "Drag the arrows at the edges of this graph to zoom in and out");
    }
    // The design legends, until the first sample names the values.
    StripChart& tach = Chart(window, 3);
    EXPECT_EQ(Caption(tach, 1), "Local");
    EXPECT_EQ(Caption(tach, 4), "Remote3");
    EXPECT_EQ(Caption(tach, 5), "Fan Speed (RPM)");
    EXPECT_EQ(Caption(tach, 6), "Tach1");
    EXPECT_EQ(Caption(tach, 13), "Tach8");
    EXPECT_EQ(tach.LabelTrace(6), 4) << "Tach1's legend names its own trace";
    EXPECT_EQ(tach.TraceAxis(3), 0);
    EXPECT_EQ(tach.TraceAxis(4), 1);
    EXPECT_EQ(tach.TraceAxis(11), 1);
    StripChart& pwm = Chart(window, 4);
    EXPECT_EQ(Caption(pwm, 5), "PWM Drive (% Duty)");
    EXPECT_EQ(Caption(pwm, 9), "PWM4");
    EXPECT_EQ(pwm.TraceAxis(7), 1);
    EXPECT_EQ(Caption(Chart(window, 1), 8), "Tach8");
    EXPECT_EQ(Caption(Chart(window, 2), 1), "PWM1");
    EXPECT_EQ(Caption(Chart(window, 6), 2), "THERM2");
    test::ExpectTidy(window, "graphs-window-opened");
    ExpectTraffic({});
}

TEST_F(GraphsWindowTest, LegendsFollowTheNewestValuesOnEveryChartThatShowsThem) {
    frmGraph& window = Open();
    gTemperature = {25.25f, -0.75f, 40.0f, 0.0f};
    gFanRPM = {0, 1200, 2450, 0, 0, 0, 0, 9000, 0};
    gPWMDuty = {0, 40, 100, 33, 0};
    Tick();

    for (int chart : {0, 3, 4}) {
        EXPECT_EQ(Chart(window, chart).labelCaption(1), "Local = 25.25" + kDegrees) << chart;
        EXPECT_EQ(Chart(window, chart).labelCaption(2), "Remote1 = -0.75" + kDegrees) << chart;
        EXPECT_EQ(Chart(window, chart).labelCaption(3), "Remote2 = 40" + kDegrees) << chart;
        EXPECT_EQ(Chart(window, chart).labelCaption(4), "Remote3 = 0" + kDegrees) << chart;
    }
    EXPECT_EQ(Caption(Chart(window, 1), 1), "Tach1=0") << "a stalled fan";
    EXPECT_EQ(Caption(Chart(window, 1), 3), "Tach3=2450");
    EXPECT_EQ(Caption(Chart(window, 3), 8), "Tach3=2450");
    EXPECT_EQ(Caption(Chart(window, 3), 13), "Tach8=9000");
    EXPECT_EQ(Caption(Chart(window, 3), 5), "Fan Speed (RPM)") << "the axis title stays";
    EXPECT_EQ(Caption(Chart(window, 2), 2), "PWM2=40%");
    EXPECT_EQ(Caption(Chart(window, 4), 7), "PWM2=40%");
    EXPECT_EQ(Caption(Chart(window, 4), 9), "PWM4=33%");
    EXPECT_EQ(Caption(Chart(window, 6), 1), "THERM1") << "THERM labels are not rewritten";

    // Values that change, change back and stay: every chart keeps up at every tick.
    const std::vector<float> local = {26.5f, 25.25f, 25.25f, 101.75f, 26.5f};
    const std::vector<std::string> localText = {"26.5", "25.25", "25.25", "101.75", "26.5"};
    const std::vector<int32_t> tach3 = {2460, 2450, 2450, 0, 123456};
    for (size_t k = 0; k < local.size(); ++k) {
        gTemperature[0] = local[k];
        gFanRPM[2] = tach3[k];
        Tick();
        const QString expected = QString::fromStdString("Local = " + localText[k]) + kDegrees;
        for (int chart : {0, 3, 4})
            EXPECT_EQ(Chart(window, chart).labelCaption(1), expected) << k << " " << chart;
        const std::string tach = "Tach3=" + std::to_string(tach3[k]);
        EXPECT_EQ(Caption(Chart(window, 1), 3), tach) << k;
        EXPECT_EQ(Caption(Chart(window, 3), 8), tach) << k;
        EXPECT_EQ(Caption(Chart(window, 0), 2), "Remote1 = -0.75\u00B0C") << k;
    }
}

TEST_F(GraphsWindowTest, EveryChartReceivesEverySampleShownOrNot) {
    // Six voltage channels in use; Remote 3 disabled by the pin configuration.
    gVoltageInUse.fill(false);
    const std::vector<int> inUse = {0, 1, 7, 8, 20, 22};
    for (int channel : inUse) gVoltageInUse[channel] = true;
    for (int channel = 0; channel < kVoltageChannelCount; ++channel)
        gVoltage[channel] = 1.0f + channel * 0.5f;
    gRemote3Enabled = false;
    gTemperature = {20.0f, 21.0f, 22.0f, -64.0f};
    gFanRPM = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 0};
    gPWMDuty = {10, 20, 30, 40, 0};
    gThermPercent = {0.0f, 12.0f, 34.0f};

    frmGraph& window = Open();
    Pick(Control<QComboBox>(window, "cmbGraph"), "Voltage");
    EXPECT_EQ(VisibleCharts(window), std::vector<int>{5});
    StripChart& volts = Chart(window, 5);
    const std::vector<std::string> names = {"12V1", "12V2", "5V(P21)", "12V3", "VBatt", "1.5V2"};
    for (int label = 1; label <= 14; ++label)
        EXPECT_EQ(Caption(volts, label), label <= 6 ? names[label - 1] : "") << label;

    constexpr int kTicks = 5;
    for (int k = 0; k < kTicks; ++k) Tick();

    auto expectTrace = [&](int chart, int trace, double value) {
        EXPECT_EQ(Chart(window, chart).sampleCount(trace), kTicks) << chart << "/" << trace;
        EXPECT_EQ(Chart(window, chart).lastSample(trace), value) << chart << "/" << trace;
    };
    for (int i = 0; i < 4; ++i) {
        for (int chart : {0, 3, 4}) expectTrace(chart, i, gTemperature[i]);
        expectTrace(2, i, gPWMDuty[i]);
        expectTrace(4, i + 4, gPWMDuty[i]);
    }
    for (int i = 0; i < 8; ++i) {
        expectTrace(1, i, gFanRPM[i]);
        expectTrace(3, i + 4, gFanRPM[i]);
    }
    for (size_t trace = 0; trace < inUse.size(); ++trace)
        expectTrace(5, static_cast<int>(trace), gVoltage[inUse[trace]]);
    EXPECT_EQ(volts.sampleCount(6), 0);
    expectTrace(6, 0, 12.0);
    expectTrace(6, 1, 34.0);
    EXPECT_EQ(Chart(window, 2).sampleCount(4), 0) << "no trace beyond a chart's own";

    // Back to a temperature chart: what the hidden chart received is there.
    Pick(Control<QComboBox>(window, "cmbGraph"), "Temperature Only");
    EXPECT_EQ(VisibleCharts(window), std::vector<int>{0});
    expectTrace(0, 3, -64.0);

    // A new pin configuration changes what is appended, not the legend, until reopened.
    gVoltageInUse[0] = false;
    Tick();
    EXPECT_EQ(volts.lastSample(0), gVoltage[1]);
    EXPECT_EQ(Caption(volts, 1), "12V1");

    const int readings = clock.readings;
    UpdateLiveGraphs(window.stpGraph);
    EXPECT_EQ(clock.readings - readings, 1) << "one reading of the clock for all the samples";
    Close(window);
    EXPECT_EQ(Caption(Chart(Open(), 5), 1), "12V2");
}

TEST_F(GraphsWindowTest, ThePeriodBoxTakesPositiveNumbersUpTo32767) {
    frmGraph& window = Open();
    QLineEdit& box = Control<QLineEdit>(window, "txtUpdate");
    UpDown& spinner = Control<UpDown>(window, "UpDown1");
    struct Case {
        const char* text;
        int16_t period;
    };
    for (const Case& c :
         {Case{"0", 50}, Case{"abc", 50}, Case{"-5", 50}, Case{"25", 25}, Case{"40000", 32767},
          Case{"99.5", 100}, Case{"250.5", 250}, Case{"", 250}, Case{"1e2ms", 100}}) {
        Type(box, c.text);
        EXPECT_EQ(gGraphPeriodMs, c.period) << c.text;
    }

    // The spinner steps by 10 within 10..32767, from whatever the box holds.
    Type(box, "25");
    spinner.upButton->click();
    EXPECT_EQ(box.text(), "35");
    EXPECT_EQ(gGraphPeriodMs, 35);
    Type(box, "15");
    spinner.downButton->click();
    spinner.downButton->click();
    EXPECT_EQ(box.text(), "10");
    EXPECT_EQ(gGraphPeriodMs, 10);
    Type(box, "32760");
    spinner.upButton->click();
    EXPECT_EQ(box.text(), "32767");

    // Typing 25 makes the graph task run 25 ms after its last run ended, not before
    // (just after midnight, where the clock's single has room for milliseconds).
    clock.SetTime(100.0);
    Type(box, "25");
    Tick();
    const int before = Chart(window, 3).sampleCount(0);
    Tick(0.024);
    EXPECT_EQ(Chart(window, 3).sampleCount(0), before);
    Tick(0.002);
    EXPECT_EQ(Chart(window, 3).sampleCount(0), before + 1);

    // Reopened, the box shows the period in force.
    Close(window);
    EXPECT_EQ(Control<QLineEdit>(Open(), "txtUpdate").text(), "25");
}

TEST_F(GraphsWindowTest, ClosedTheWindowIsNoLongerFedAndReadsNoChip) {
    gMeasureEnabled = false;
    StartRecording();
    frmGraph& window = Open();
    StripChart& chart = Chart(window, 3);
    Tick();
    EXPECT_EQ(chart.sampleCount(0), 1);
    Close(window);
    EXPECT_FALSE(gGraphFormOpen);
    Tick();
    EXPECT_EQ(Find<frmGraph>(), nullptr);
    ExpectTraffic({});
}

// A minute of data at the default period: each chart shows every trace in its colour at
// the values it was fed. The pictures are kept for a person to look at.
TEST_F(GraphsWindowTest, AMinuteOfDataShowsEachTraceAtItsValues) {
    constexpr int kSamples = 1200;
    constexpr double kPeriod = 0.05001;
    const std::vector<int> inUse = {0, 1, 2, 7, 8, 20};
    gVoltageInUse.fill(false);
    for (int channel : inUse) gVoltageInUse[channel] = true;
    // What sample k feeds: the temperatures and tachs (traces 0-3, 4-11), the voltages.
    const auto temperatures = [](int k) {
        std::array<float, 4> values{};
        for (int i = 0; i < 4; ++i)
            values[i] = static_cast<float>(std::round((30 + 8 * i + 3 * std::sin(k * 0.05 / 7 + i)) * 4) / 4);
        return values;
    };
    const auto rpm = [](int k, int i) {
        return static_cast<int32_t>(1500 + 400 * i + 300 * std::sin(k * 0.05 / 9));
    };
    const auto volts = [](int k, int channel) {
        return static_cast<float>(1.2 + channel * 0.5 + 0.02 * std::sin(k * 0.05 + channel));
    };
    frmGraph& window = Open();
    for (int k = 0; k < kSamples; ++k) {
        const std::array<float, 4> t = temperatures(k);
        std::copy(t.begin(), t.end(), gTemperature.begin());
        for (int i = 0; i < 8; ++i) gFanRPM[i] = i < 4 ? rpm(k, i) : 0;
        for (int i = 0; i < 4; ++i)
            gPWMDuty[i] = static_cast<int16_t>(30 + 10 * i + 10 * std::sin(k * 0.05 / 9));
        for (int channel = 0; channel < kVoltageChannelCount; ++channel)
            gVoltage[channel] = volts(k, channel);
        Tick(kPeriod);
    }
    QTest::qWait(2 * StripChart::kRefreshIntervalMs);
    test::KeepPicture(window.parentWidget()->grab().toImage(), "graphs-window.png");
    for (int k : {100, 700, 1190}) {
        const std::array<float, 4> t = temperatures(k);
        std::vector<double> values(t.begin(), t.end());
        for (int i = 0; i < 4; ++i) values.push_back(rpm(k, i));
        ExpectTracesShow(Chart(window, frmGraph::kTemperatureTachChart), (kSamples - 1 - k) * kPeriod,
                         values);
    }

    Pick(Control<QComboBox>(window, "cmbGraph"), "Voltage");
    QTest::qWait(2 * StripChart::kRefreshIntervalMs);
    test::KeepPicture(window.parentWidget()->grab().toImage(), "graphs-window-voltage.png");
    for (int k : {100, 1190}) {
        std::vector<double> values;
        for (int channel : inUse) values.push_back(volts(k, channel));
        ExpectTracesShow(Chart(window, frmGraph::kVoltageChart), (kSamples - 1 - k) * kPeriod, values);
    }
}

}  // namespace
}  // namespace kestrum
