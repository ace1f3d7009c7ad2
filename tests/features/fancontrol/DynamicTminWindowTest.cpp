// The Dynamic Tmin window as a user sees it: what it shows after loading, what each
// change writes at once, and the live charts the master timer feeds.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <vector>

#include "core/Declarations.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "features/fancontrol/ChannelLabel.h"
#include "features/fancontrol/DynTminFixture.h"
#include "support/LayoutChecks.h"
#include "support/Pictures.h"
#include "widgets/UpDown.h"

namespace kestrum {
namespace {

using test::B;
using test::R;
using test::W;

constexpr double kClose = 1e-12;  // label places are computed fractions

const std::vector<test::Access> kLoadTraffic{B(0x0B, 2), B(0x5A, 2), B(0x5D, 2),
                                             B(0x45, 2), B(0x49, 2), B(0x64, 1)};

using DynamicTminWindowTest = test::DynTminTest;

std::vector<QString> Texts(std::initializer_list<const QLineEdit*> boxes) {
    std::vector<QString> texts;
    for (const QLineEdit* box : boxes) texts.push_back(box->text());
    return texts;
}

TEST_F(DynamicTminWindowTest, LoadsEveryControlFromSixBlockReadsAndWritesNothing) {
    // Every field differs from its neighbours, so that a wrong bit shows.
    const std::vector<std::pair<uint8_t, uint8_t>> chip{
        {0x0B, 0x25}, {0x0C, 0x2B}, {0x5A, 0x6E}, {0x5B, 0x7D}, {0x5D, 0x3B}, {0x5E, 0x68},
        {0x45, 0x5A}, {0x46, 0x5F}, {0x49, 0x8C}, {0x4A, 0x91}, {0x64, 0x3C}};
    for (const auto& [reg, value] : chip) Chip().Poke(reg, value);
    StartRecording();
    frmDynamicTmin& w = OpenWindow();
    ExpectTraffic(kLoadTraffic);
    EXPECT_TRUE(gDynTminFormOpen);
    EXPECT_EQ(w.windowTitle(), "Dynamic Tmin Settings");
    EXPECT_EQ(std::pair(w.WidthTwips(), w.HeightTwips()), std::pair(13965, 9165));

    std::vector<bool> ticked;
    for (const QCheckBox* box : {w.chkEnDynR1, w.chkEnDynR2, w.chkLoadOp1Th1, w.chkLoadOp2Th1,
                                 w.chkLoadOp1Th2, w.chkLoadOp2Th2, w.chkConLoop})
        ticked.push_back(box->isChecked());
    EXPECT_EQ(ticked, (std::vector<bool>{true, false, true, false, false, true, true}));
    EXPECT_EQ(w.cmbCycle[0]->currentText(), "4 Sec");
    EXPECT_EQ(w.cmbCycle[1]->currentText(), "16 Sec");
    EXPECT_EQ(Texts({w.txtR1OpPoint, w.txtTmin[0], w.txtLowLim[0], w.txtHighLim[0], w.txtR2OpPoint,
                     w.txtTmin[1], w.txtLowLim[1], w.txtHighLim[1], w.txtOpPointHyst}),
              (std::vector<QString>{"46", "-5", "26", "76", "61", "40", "31", "81", "3"}));
    EXPECT_EQ(w.cmdDemo->text(), "Run Demo");
    EXPECT_TRUE(Chart(w, 0).isVisible());
    EXPECT_FALSE(Chart(w, 1).isVisible());

    // A reload of the open window refills the controls and writes nothing either.
    Chip().Poke(0x5A, 0x40);
    StartRecording();
    w.Form_Load();
    ExpectTraffic(kLoadTraffic);
    EXPECT_EQ(w.txtR1OpPoint->text(), "0");
}

TEST_F(DynamicTminWindowTest, BoxesAreNamedByTheirLabelsAndSpinnersKeepToTheirRanges) {
    frmDynamicTmin& w = OpenWindow();
    EXPECT_EQ(w.cmdCancel->text(), "Close");
    EXPECT_EQ(w.cmbCycle[1]->count(), 8);
    EXPECT_EQ(w.cmbCycle[1]->itemText(0) + "|" + w.cmbCycle[1]->itemText(7), "0.5 Sec|64 Sec");
    // Each box is named by the label beside it, and its spinner keeps to its range.
    std::map<QString, QString> captionOf;
    for (const QLabel* label : w.findChildren<QLabel*>())
        if (label->buddy() != nullptr) captionOf[label->buddy()->objectName()] = label->text();
    std::map<QString, std::pair<int, int>> rangeOf;
    for (const UpDown* spinner : w.findChildren<UpDown*>())
        rangeOf[spinner->Buddy().objectName()] = {spinner->Minimum(), spinner->Maximum()};
    const std::vector<std::tuple<const char*, const char*, int, int>> boxes{
        {"txtR1OpPoint", "Remote1 Op-Point", 0, 120},
        {"txtTmin_0", "Remote1 Tmin", -20, 120},
        {"txtLowLim_1", "Remote2 Low Limit", -20, 120},
        {"txtOpPointHyst", "Operating Point Hysteresis ", 0, 15}};
    for (const auto& [name, caption, minimum, maximum] : boxes) {
        EXPECT_EQ(captionOf[name], caption);
        EXPECT_EQ(rangeOf[name], std::pair(minimum, maximum)) << name;
    }
    EXPECT_EQ(captionOf["cmbCycle_1"], "Remote2 Cycle Time");
    EXPECT_EQ(Chart(w, 0).labelCaption(frmDynamicTmin::kDutyAxisLabel), "% Duty");
    test::ExpectTidy(w, "dyntmin");
}

TEST_F(DynamicTminWindowTest, TheTabsChooseTheChartAndRemote1NeedsItsDiode) {
    frmDynamicTmin& w = OpenWindow();
    QTabBar* bar = w.SSTab1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_FALSE(Chart(w, 0).isVisible());
    EXPECT_TRUE(Chart(w, 1).isVisible());
    Close(w);

    UsePins(kNoDiodes);
    frmDynamicTmin& without = OpenWindow();
    bar = without.SSTab1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    without.Form_Load();
    EXPECT_EQ(without.SSTab1->currentIndex(), 1);
    EXPECT_EQ(without.SSTab1->tabText(0), "R1 not enabled");
    EXPECT_FALSE(without.SSTab1->isTabEnabled(0));
    EXPECT_FALSE(Chart(without, 0).isVisible());
    EXPECT_TRUE(Chart(without, 1).isVisible());
    test::KeepPicture(without.parentWidget()->grab().toImage(), "dyntmin-no-remote1.png");
}

TEST_F(DynamicTminWindowTest, EachBoxChangesOnlyItsOwnBitsOfWhatItReads) {
    frmDynamicTmin& w = OpenWindow();
    const std::vector<std::pair<QCheckBox*, int>> boxes{{w.chkEnDynR1, 0},    {w.chkEnDynR2, 1},
                                                        {w.chkLoadOp1Th1, 2}, {w.chkLoadOp2Th1, 3},
                                                        {w.chkLoadOp1Th2, 4}, {w.chkLoadOp2Th2, 5}};
    for (const auto& [box, bit] : boxes) {
        Chip().Poke(0x0B, 0xC7);  // changed meanwhile: the box keeps what it reads
        StartRecording();
        box->click();
        ExpectTraffic({R(0x0B), W(0x0B, box->isChecked() ? 0xC7 | 1 << bit : 0xC7 & ~(1 << bit))});
    }

    Chip().Poke(0x0C, 0xC2);
    w.Form_Load();
    StartRecording();
    w.chkConLoop->click();  // ticked: bit 6 clear
    w.chkConLoop->click();  // unticked: bit 6 set
    Pick(*w.cmbCycle[1], "16 Sec");
    Pick(*w.cmbCycle[0], "64 Sec");
    ExpectTraffic(
        {R(0x0C), W(0x0C, 0x82), R(0x0C), W(0x0C, 0xC2), R(0x0C), W(0x0C, 0xEA), R(0x0C), W(0x0C, 0xEF)});
}

TEST_F(DynamicTminWindowTest, TemperatureAndHysteresisBoxesWriteTheWholeRegisterOnEveryChange) {
    Chip().Poke(0x64, 0x27);
    frmDynamicTmin& w = OpenWindow();
    EXPECT_EQ(w.txtOpPointHyst->text(), "2");
    StartRecording();
    Type(*w.txtR1OpPoint, "40.5");
    w.txtR1OpPoint->selectAll();
    QTest::keyClick(w.txtR1OpPoint, Qt::Key_Delete);
    ExpectTraffic({W(0x5A, 68), W(0x5A, 104), W(0x5A, 104), W(0x5A, 104), W(0x5A, 64)});  // halves to even

    StartRecording();
    Type(*w.txtR2OpPoint, "9");
    Type(*w.txtTmin[0], "1");
    Type(*w.txtTmin[1], "2");
    Type(*w.txtLowLim[0], "3");
    Type(*w.txtLowLim[1], "-5");
    Type(*w.txtHighLim[0], "5");
    Type(*w.txtHighLim[1], "6");
    Control<UpDown>(w, "UpDownTmin_0").StepAsUser(1);
    ExpectTraffic({W(0x5B, 73), W(0x5D, 65), W(0x5E, 66), W(0x45, 67), W(0x46, 64), W(0x46, 59), W(0x49, 69),
                   W(0x4A, 70), W(0x5D, 66)});

    // The hysteresis takes the high nibble, the low four bits of the number, and clears the low.
    StartRecording();
    Type(*w.txtOpPointHyst, "3");
    Type(*w.txtOpPointHyst, "17");
    Control<UpDown>(w, "UpDownOpPointHyst").StepAsUser(-1);
    ExpectTraffic({W(0x64, 0x30), W(0x64, 0x10), W(0x64, 0x10), W(0x64, 0xF0)});
}

TEST_F(DynamicTminWindowTest, AFailedTransferWhileLoadingEndsTheProgram) {
    frmDynamicTmin& w = OpenWindow();
    ExpectFailedTransferEnds([&] { w.Form_Load(); });
}

// ---- the charts ----

class DynamicTminChartsTest : public test::DynTminTest {
protected:
    void SetUp() override {
        DynTminTest::SetUp();
        gMeasureEnabled = false;  // only the window's own task runs
        Chip().Poke(0x64, 0x30);  // hysteresis 3
    }
    // PWM1..PWM4 Config with these control sources in bits 7:5.
    void Sources(std::array<int, 4> sources) {
        for (uint8_t i = 0; i < 4; ++i) Chip().Poke(0x21 + i, static_cast<uint8_t>(sources[i] << 5 | 0x02));
    }
    // The shown duty legend entries and the duty traces' last samples.
    static std::pair<std::vector<QString>, std::vector<double>> Duty(const StripChart& chart) {
        std::pair<std::vector<QString>, std::vector<double>> duty;
        for (int label : frmDynamicTmin::kDutyLabels)
            if (chart.labelShown(label)) duty.first.push_back(chart.labelCaption(label));
        for (int trace = 5; trace <= 8; ++trace) duty.second.push_back(chart.lastSample(trace));
        return duty;
    }
};

TEST_F(DynamicTminChartsTest, EachTickReadsThePwmConfigurationOnceAndSamplesEveryTrace) {
    frmDynamicTmin& w = OpenWindow();
    gTemperature = {20.0f, 30.5f, 41.75f, 0.0f};
    gOpPoint = {0, 50, 60};
    gTmin = {0, 35, 45, 0};
    gTempHighLimit = {0, 70, 80};
    gTempLowLimit = {0, 20, 25};
    StartRecording();
    Tick();
    Tick();
    ExpectTraffic({B(0x21, 4), B(0x21, 4)});
    for (const auto& [strip, values] : std::vector<std::pair<int, std::vector<double>>>{
             {0, {30.5, 50, 35, 70, 20, 47}}, {1, {41.75, 60, 45, 80, 25, 57}}}) {
        std::vector<double> last;
        for (int trace : {0, 1, 2, 3, 4, frmDynamicTmin::kHysteresisTrace})
            last.push_back(Chart(w, strip).lastSample(trace));
        EXPECT_EQ(last, values) << strip;
        EXPECT_EQ(Chart(w, strip).sampleCount(0), 2);
    }

    // The hysteresis comes from the box, not the chip; a closed window's task stops.
    Type(*w.txtOpPointHyst, "5");
    Tick();
    EXPECT_EQ(Chart(w, 0).lastSample(frmDynamicTmin::kHysteresisTrace), 45.0);
    const int readings = clock.readings;
    w.UpdateDynTminGraph();
    EXPECT_EQ(clock.readings - readings, 1) << "one reading of the clock for all the samples";
    Close(w);
    StartRecording();
    Tick();
    ExpectTraffic({});
}

TEST_F(DynamicTminChartsTest, DutyTracesFollowThePwmsEachChannelControls) {
    Sources({2, 6, 2, 0});  // PWM2 follows the hottest of all channels
    gPWMDuty = {10, 20, 30, 40, 0};
    frmDynamicTmin& w = OpenWindow();
    Tick();
    EXPECT_EQ(Duty(Chart(w, 0)), std::pair(std::vector<QString>{"PWM2"}, std::vector<double>{20, 0, 0, 0}));
    EXPECT_EQ(Duty(Chart(w, 1)),
              std::pair(std::vector<QString>{"PWM1", "PWM2", "PWM3"}, std::vector<double>{10, 20, 30, 0}));

    Sources({2, 2, 2, 2});
    Tick();
    EXPECT_EQ(Duty(Chart(w, 0)), std::pair(std::vector<QString>{"No fans controlled by Remote1"},
                                           std::vector<double>{0, 0, 0, 0}));
    EXPECT_EQ(Duty(Chart(w, 1)).second, (std::vector<double>{10, 20, 30, 40}));
    // The note is shown whole beside the chart: a swatch and a gap, then the text.
    QTest::qWait(2 * StripChart::kRefreshIntervalMs);  // the legend is laid out when it repaints
    const StripChart& remote1 = Chart(w, 0);
    EXPECT_GE(remote1.Layout().Legend().width() - 14 - ChartLayout::kGap,
              QFontMetricsF(remote1.font()).horizontalAdvance("No fans controlled by Remote1"));
    test::KeepPicture(w.parentWidget()->grab().toImage(), "dyntmin-no-fans.png");
    Sources({1, 0, 3, 7});
    Tick();
    EXPECT_EQ(Duty(Chart(w, 1)).first, std::vector<QString>{"No fans controlled by Remote2"});
}

TEST_F(DynamicTminChartsTest, LabelsSitAtTheirValuesAndOutsideTheAxisAtItsEnds) {
    frmDynamicTmin& w = OpenWindow();
    StripChart& chart = Chart(w, 0);
    chart.SetAxisRange(0, 20.0, 60.0);
    gTemperature[1] = 40.5f;  // rounds to 40, the middle of the axis
    gOpPoint[1] = 90;
    gTmin[1] = 20;
    gTempHighLimit[1] = 60;
    gTempLowLimit[1] = -10;
    Tick();
    const double lower = chart.PlotLowerEdge();
    EXPECT_GT(lower, 0.5);
    EXPECT_NEAR(chart.labelPosition(1), (lower + kLabelTop) / 2, kClose);
    EXPECT_NEAR(chart.labelPosition(2), kLabelTop, kClose) << "above the maximum";
    EXPECT_NEAR(chart.labelPosition(3), lower, kClose) << "at the minimum";
    EXPECT_NEAR(chart.labelPosition(4), kLabelTop, kClose) << "at the maximum";
    EXPECT_NEAR(chart.labelPosition(5), lower, kClose) << "below the minimum";

    // An axis with no range puts a label at the lower edge, never divides by zero.
    EXPECT_NEAR(ChannelLabelFraction(25.0, 0.83, 0.0, 100.0), 0.63, kClose);
    EXPECT_EQ(ChannelLabelFraction(40.0, 0.83, 40.0, 40.0), 0.83);
}

TEST_F(DynamicTminChartsTest, ChartsFillTheWindowShrinkToNothingAndKeepDutyLabelsBelowTheTop) {
    frmDynamicTmin& w = OpenWindow();
    StripChart& chart = Chart(w, 0);
    const auto expectDutyLabelsBelowTop = [&] {
        const double top = chart.ReferenceHeight();
        for (size_t i = 0; i < 4; ++i)
            EXPECT_NEAR(chart.labelPosition(frmDynamicTmin::kDutyLabels[i]), top + 0.04 + 0.02 * i, kClose);
    };
    EXPECT_EQ(chart.geometry().right(), w.rect().right());
    EXPECT_EQ(w.height() - chart.geometry().bottom() - 1, 40);  // 600 twips below
    expectDutyLabelsBelowTop();

    const double top = chart.ReferenceHeight();
    w.parentWidget()->resize(w.parentWidget()->width(), w.parentWidget()->height() / 2);
    QApplication::processEvents();
    EXPECT_NE(chart.ReferenceHeight(), top);
    expectDutyLabelsBelowTop();

    w.parentWidget()->resize(120, 60);
    QApplication::processEvents();
    ASSERT_LT(w.height(), chart.y() + 40) << "the chart's place is gone";
    for (int i = 0; i < 2; ++i) EXPECT_EQ(Chart(w, i).size(), QSize(0, 0));
    w.Form_Load();  // sizes the window afresh
    QApplication::processEvents();
    EXPECT_EQ(chart.geometry().right(), w.rect().right());
    EXPECT_GT(Chart(w, 1).height(), 300);
}

}  // namespace
}  // namespace kestrum
