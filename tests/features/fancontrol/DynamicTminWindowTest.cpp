// The Dynamic Tmin window as a user sees it: what it shows after loading, what each
// change writes at once, and the live charts the master timer feeds.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <vector>

#include "core/ChipAccess.h"
#include "core/Declarations.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "features/fancontrol/ChannelLabel.h"
#include "features/fancontrol/DynTminFixture.h"
#include "widgets/UpDown.h"

namespace kestrum {
namespace {

using test::B;
using test::R;
using test::W;

constexpr double kClose = 1e-12;  // label places are computed fractions

const std::vector<test::Access> kLoadTraffic{B(0x0B, 2), B(0x5A, 2), B(0x5D, 2),
                                             B(0x45, 2), B(0x49, 2), B(0x64, 1)};

class DynamicTminWindowTest : public test::DynTminTest {
protected:
    // A chip whose every field differs from its neighbours, so that a wrong bit shows.
    void PokeSettings() {
        Chip().Poke(0x0B, 0x25);  // Remote1 on, Remote1 op-point on THERM1, Remote2 on THERM2
        Chip().Poke(0x0C, 0x2B);  // cycles 4 Sec and 16 Sec; bit 6 clear
        Chip().Poke(0x5A, 0x6E);  // 46
        Chip().Poke(0x5B, 0x7D);  // 61
        Chip().Poke(0x5D, 0x3B);  // -5
        Chip().Poke(0x5E, 0x68);  // 40
        Chip().Poke(0x45, 0x5A);  // 26
        Chip().Poke(0x46, 0x5F);  // 31
        Chip().Poke(0x49, 0x8C);  // 76
        Chip().Poke(0x4A, 0x91);  // 81
        Chip().Poke(0x64, 0x3C);  // hysteresis 3, low bits 0xC
    }
    static std::vector<QString> Items(const QComboBox& list) {
        std::vector<QString> items;
        for (int i = 0; i < list.count(); ++i) items.push_back(list.itemText(i));
        return items;
    }
};

TEST_F(DynamicTminWindowTest, LoadsEveryControlFromSixBlockReadsAndWritesNothing) {
    PokeSettings();
    StartRecording();
    frmDynamicTmin& w = OpenWindow();
    ExpectTraffic(kLoadTraffic);
    EXPECT_TRUE(gDynTminFormOpen);

    EXPECT_EQ(w.windowTitle(), "Dynamic Tmin Settings");
    EXPECT_EQ(w.WidthTwips(), 13965);
    EXPECT_EQ(w.HeightTwips(), 9165);
    EXPECT_EQ(w.SSTab1->tabText(0), "Remote1");
    EXPECT_EQ(w.SSTab1->tabText(1), "Remote2");
    EXPECT_EQ(w.SSTab1->currentIndex(), 0);

    EXPECT_TRUE(w.chkEnDynR1->isChecked());
    EXPECT_FALSE(w.chkEnDynR2->isChecked());
    EXPECT_TRUE(w.chkLoadOp1Th1->isChecked());
    EXPECT_FALSE(w.chkLoadOp2Th1->isChecked());
    EXPECT_FALSE(w.chkLoadOp1Th2->isChecked());
    EXPECT_TRUE(w.chkLoadOp2Th2->isChecked());
    EXPECT_TRUE(w.chkConLoop->isChecked()) << "ticked while bit 6 is clear";
    EXPECT_EQ(w.cmbCycle[0]->currentText(), "4 Sec");
    EXPECT_EQ(w.cmbCycle[1]->currentText(), "16 Sec");
    EXPECT_EQ(w.txtR1OpPoint->text(), "46");
    EXPECT_EQ(w.txtR2OpPoint->text(), "61");
    EXPECT_EQ(w.txtTmin[0]->text(), "-5");
    EXPECT_EQ(w.txtTmin[1]->text(), "40");
    EXPECT_EQ(w.txtLowLim[0]->text(), "26");
    EXPECT_EQ(w.txtLowLim[1]->text(), "31");
    EXPECT_EQ(w.txtHighLim[0]->text(), "76");
    EXPECT_EQ(w.txtHighLim[1]->text(), "81");
    EXPECT_EQ(w.txtOpPointHyst->text(), "3");
    EXPECT_EQ(w.cmdDemo->text(), "Run Demo");
    EXPECT_EQ(w.cmdCancel->text(), "Close");
    EXPECT_TRUE(Chart(w, 0).isVisible());
    EXPECT_FALSE(Chart(w, 1).isVisible());

    // A reload of the open window refills the controls and writes nothing either.
    Chip().Poke(0x5A, 0x40);
    StartRecording();
    w.Form_Load();
    ExpectTraffic(kLoadTraffic);
    EXPECT_EQ(w.txtR1OpPoint->text(), "0");

    w.cmdCancel->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(gDynTminFormOpen);
    EXPECT_EQ(Find<frmDynamicTmin>(), nullptr);
}

TEST_F(DynamicTminWindowTest, CaptionsListsAndSpinnerRangesAreTheDesignedOnes) {
    frmDynamicTmin& w = OpenWindow();
    EXPECT_EQ(w.chkEnDynR1->text(), "Enable Dynamic Tmin for Remote1");
    EXPECT_EQ(w.chkLoadOp2Th1->text(), "Load Remote2 Op-Point with Remote2 Value on THERM1 event");
    EXPECT_EQ(w.chkLoadOp1Th2->text(), "Load Remote1 Op-Point with Remote1 Value on THERM2 event");
    EXPECT_EQ(w.chkConLoop->text(), "Backwards Compatible Control Loop");
    const std::vector<QString> cycles{"0.5 Sec", "1 Sec",  "2 Sec",  "4 Sec",
                                      "8 Sec",   "16 Sec", "32 Sec", "64 Sec"};
    EXPECT_EQ(Items(*w.cmbCycle[0]), cycles);
    EXPECT_EQ(Items(*w.cmbCycle[1]), cycles);

    // Each box is named by the label beside it.
    std::vector<QString> captions;
    for (const QLabel* label : w.findChildren<QLabel*>())
        if (label->buddy() != nullptr) captions.push_back(label->text() + "=" + label->buddy()->objectName());
    for (const char* expected :
         {"Remote1 Cycle Time=cmbCycle_0", "Remote2 Cycle Time=cmbCycle_1", "Remote1 Op-Point=txtR1OpPoint",
          "Remote2 Op-Point=txtR2OpPoint", "Remote1 Tmin=txtTmin_0", "Remote2 Tmin=txtTmin_1",
          "Remote1 Low Limit=txtLowLim_0", "Remote2 High Limit=txtHighLim_1",
          "Operating Point Hysteresis =txtOpPointHyst"})
        EXPECT_NE(std::find(captions.begin(), captions.end(), expected), captions.end()) << expected;

    const auto range = [&](const QLineEdit* box) {
        for (const UpDown* spinner : w.findChildren<UpDown*>())
            if (&spinner->Buddy() == box) return std::pair{spinner->Minimum(), spinner->Maximum()};
        ADD_FAILURE() << "no spinner for " << box->objectName().toStdString();
        return std::pair{0, 0};
    };
    EXPECT_EQ(range(w.txtR1OpPoint), std::pair(0, 120));
    EXPECT_EQ(range(w.txtR2OpPoint), std::pair(0, 120));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(range(w.txtTmin[i]), std::pair(-20, 120));
        EXPECT_EQ(range(w.txtLowLim[i]), std::pair(-20, 120));
        EXPECT_EQ(range(w.txtHighLim[i]), std::pair(-20, 120));
    }
    EXPECT_EQ(range(w.txtOpPointHyst), std::pair(0, 15));

    // The charts: title, the five settings traces and the duty axis.
    for (int i = 0; i < 2; ++i) {
        StripChart& chart = Chart(w, i);
        EXPECT_EQ(chart.labelCaption(0), i == 0 ? "Remote1" : "Remote2");
        std::vector<QString> legend;
        for (int label = 1; label <= 5; ++label) legend.push_back(chart.labelCaption(label));
        EXPECT_EQ(legend, (std::vector<QString>{"Temp", "Op-Point", "Tmin", "High Limit", "Low Limit"}));
        EXPECT_EQ(chart.labelCaption(frmDynamicTmin::kDutyAxisLabel), "% Duty");
    }
}

TEST_F(DynamicTminWindowTest, WithoutTheRemote1DiodeOnlyRemote2CanBeSeen) {
    UsePins(kNoDiodes);
    frmDynamicTmin& w = OpenWindow();
    EXPECT_EQ(w.SSTab1->currentIndex(), 1);
    EXPECT_EQ(w.SSTab1->tabText(0), "R1 not enabled");
    EXPECT_FALSE(w.SSTab1->isTabEnabled(0));
    EXPECT_FALSE(Chart(w, 0).isVisible());
    EXPECT_TRUE(Chart(w, 1).isVisible());

    // A click on the disabled tab changes nothing, and neither does a reload.
    QTabBar* bar = w.SSTab1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    w.Form_Load();
    EXPECT_EQ(w.SSTab1->currentIndex(), 1);
    EXPECT_EQ(w.SSTab1->tabText(0), "R1 not enabled");
    EXPECT_TRUE(Chart(w, 1).isVisible());
    EXPECT_FALSE(Chart(w, 0).isVisible());
}

TEST_F(DynamicTminWindowTest, TheTabsChooseWhichChartShows) {
    frmDynamicTmin& w = OpenWindow();
    QTabBar* bar = w.SSTab1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_FALSE(Chart(w, 0).isVisible());
    EXPECT_TRUE(Chart(w, 1).isVisible());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    EXPECT_TRUE(Chart(w, 0).isVisible());
    EXPECT_FALSE(Chart(w, 1).isVisible());
}

TEST_F(DynamicTminWindowTest, EachBoxOf0x0BChangesOnlyItsOwnBit) {
    Chip().Poke(0x0B, 0xC7);
    frmDynamicTmin& w = OpenWindow();
    StartRecording();
    w.chkEnDynR2->click();  // unticked
    ExpectTraffic({R(0x0B), W(0x0B, 0xC5)});

    const std::vector<std::pair<QCheckBox*, int>> boxes{{w.chkEnDynR1, 0},    {w.chkEnDynR2, 1},
                                                        {w.chkLoadOp1Th1, 2}, {w.chkLoadOp2Th1, 3},
                                                        {w.chkLoadOp1Th2, 4}, {w.chkLoadOp2Th2, 5}};
    for (const auto& [box, bit] : boxes) {
        // Another program changed the register meanwhile: the box keeps what it reads.
        Chip().Poke(0x0B, 0x80);
        StartRecording();
        box->click();
        const int32_t expected = box->isChecked() ? 0x80 | (1 << bit) : 0x80;
        ExpectTraffic({R(0x0B), W(0x0B, expected)});
    }
}

TEST_F(DynamicTminWindowTest, TheControlLoopBoxIsTickedForAClearBit) {
    Chip().Poke(0x0C, 0x2B);
    frmDynamicTmin& w = OpenWindow();
    StartRecording();
    w.chkConLoop->click();  // unticked: bit 6 set
    w.chkConLoop->click();  // ticked: bit 6 clear
    ExpectTraffic({R(0x0C), W(0x0C, 0x6B), R(0x0C), W(0x0C, 0x2B)});
}

TEST_F(DynamicTminWindowTest, TheCycleListsWriteTheirFieldsOnly) {
    Chip().Poke(0x0C, 0xC2);
    frmDynamicTmin& w = OpenWindow();
    StartRecording();
    Choose(*w.cmbCycle[1], "16 Sec");
    Choose(*w.cmbCycle[0], "64 Sec");
    Choose(*w.cmbCycle[0], "0.5 Sec");
    ExpectTraffic({R(0x0C), W(0x0C, 0xEA), R(0x0C), W(0x0C, 0xEF), R(0x0C), W(0x0C, 0xE8)});
}

TEST_F(DynamicTminWindowTest, TemperatureBoxesWriteTheWholeRegisterOnEveryChange) {
    frmDynamicTmin& w = OpenWindow();
    StartRecording();
    Type(*w.txtR1OpPoint, "40.5");
    ExpectTraffic({W(0x5A, 68), W(0x5A, 104), W(0x5A, 104), W(0x5A, 104)});  // halves to even

    StartRecording();
    Erase(*w.txtR1OpPoint);
    ExpectTraffic({W(0x5A, 64)});

    StartRecording();
    Type(*w.txtR2OpPoint, "9");
    Type(*w.txtTmin[0], "1");
    Type(*w.txtTmin[1], "2");
    Type(*w.txtLowLim[0], "3");
    Type(*w.txtLowLim[1], "-5");
    Type(*w.txtHighLim[0], "5");
    Type(*w.txtHighLim[1], "6");
    ExpectTraffic({W(0x5B, 73), W(0x5D, 65), W(0x5E, 66), W(0x45, 67), W(0x46, 64), W(0x46, 59), W(0x49, 69),
                   W(0x4A, 70)});

    // A spinner step is the user's change too.
    StartRecording();
    Control<UpDown>(w, "UpDownTmin_0").StepAsUser(1);
    ExpectTraffic({W(0x5D, 66)});
    EXPECT_EQ(w.txtTmin[0]->text(), "2");
}

TEST_F(DynamicTminWindowTest, TheHysteresisBoxWritesTheHighNibbleAndClearsTheLow) {
    Chip().Poke(0x64, 0x27);
    frmDynamicTmin& w = OpenWindow();
    EXPECT_EQ(w.txtOpPointHyst->text(), "2");
    StartRecording();
    Type(*w.txtOpPointHyst, "3");
    ExpectTraffic({W(0x64, 0x30)});

    // Above 15 the low four bits of the number are kept.
    StartRecording();
    Type(*w.txtOpPointHyst, "17");
    ExpectTraffic({W(0x64, 0x10), W(0x64, 0x10)});

    StartRecording();
    Control<UpDown>(w, "UpDownOpPointHyst").StepAsUser(-1);
    EXPECT_EQ(w.txtOpPointHyst->text(), "15");
    ExpectTraffic({W(0x64, 0xF0)});
}

TEST_F(DynamicTminWindowTest, AFailedTransferWhileLoadingEndsTheProgram) {
    frmDynamicTmin& w = OpenWindow();
    ExpectFailedTransferEnds([&] { w.Form_Load(); });
}

// ---- the charts ----

class DynamicTminChartsTest : public DynamicTminWindowTest {
protected:
    void SetUp() override {
        DynamicTminWindowTest::SetUp();
        gMeasureEnabled = false;  // only the window's own task runs
        Chip().Poke(0x64, 0x30);  // hysteresis 3
    }
    // PWM1..PWM4 Config with these control sources in bits 7:5.
    void Sources(int pwm1, int pwm2, int pwm3, int pwm4) {
        const int sources[] = {pwm1, pwm2, pwm3, pwm4};
        for (int i = 0; i < 4; ++i)
            Chip().Poke(static_cast<uint8_t>(0x21 + i), static_cast<uint8_t>(sources[i] << 5 | 0x02));
    }
    static void ExpectDutyTraces(const StripChart& chart, std::vector<double> expected) {
        std::vector<double> last;
        for (int trace = 5; trace <= 8; ++trace) last.push_back(chart.lastSample(trace));
        EXPECT_EQ(last, expected) << chart.objectName().toStdString();
    }
    static std::vector<QString> ShownDutyLabels(const StripChart& chart) {
        std::vector<QString> shown;
        for (int label : frmDynamicTmin::kDutyLabels)
            if (chart.labelShown(label)) shown.push_back(chart.labelCaption(label));
        return shown;
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

    const std::vector<std::pair<int, std::vector<double>>> expected{{0, {30.5, 50, 35, 70, 20, 47}},
                                                                    {1, {41.75, 60, 45, 80, 25, 57}}};
    for (const auto& [strip, values] : expected) {
        StripChart& chart = Chart(w, strip);
        std::vector<double> last;
        for (int trace : {0, 1, 2, 3, 4, frmDynamicTmin::kHysteresisTrace})
            last.push_back(chart.lastSample(trace));
        EXPECT_EQ(last, values) << strip;
        EXPECT_EQ(chart.sampleCount(0), 2);
    }

    // The hysteresis comes from the box, not the chip.
    Type(*w.txtOpPointHyst, "5");
    Chip().Poke(0x64, 0x10);
    Tick();
    EXPECT_EQ(Chart(w, 0).lastSample(frmDynamicTmin::kHysteresisTrace), 45.0);

    // The window closed, the task stops.
    Close(w);
    StartRecording();
    Tick();
    ExpectTraffic({});
}

TEST_F(DynamicTminChartsTest, DutyTracesFollowThePwmsEachChannelControls) {
    Sources(2, 6, 2, 0);  // PWM2 follows the hotter of all four channels
    gPWMDuty = {10, 20, 30, 40, 0};
    frmDynamicTmin& w = OpenWindow();
    Tick();
    EXPECT_EQ(ShownDutyLabels(Chart(w, 0)), (std::vector<QString>{"PWM2"}));
    ExpectDutyTraces(Chart(w, 0), {20, 0, 0, 0});
    EXPECT_EQ(ShownDutyLabels(Chart(w, 1)), (std::vector<QString>{"PWM1", "PWM2", "PWM3"}));
    ExpectDutyTraces(Chart(w, 1), {10, 20, 30, 0});
    EXPECT_EQ(Chart(w, 1).LabelTrace(8), 7);

    // Remote1 loses its fan: the chart says so, and its duty traces fall to 0.
    Sources(2, 2, 1, 1);
    Tick();
    ExpectDutyTraces(Chart(w, 0), {30, 40, 0, 0});
    Sources(2, 2, 2, 2);
    Tick();
    EXPECT_EQ(ShownDutyLabels(Chart(w, 0)), (std::vector<QString>{"No fans controlled by Remote1"}));
    ExpectDutyTraces(Chart(w, 0), {0, 0, 0, 0});
    EXPECT_EQ(ShownDutyLabels(Chart(w, 1)), (std::vector<QString>{"PWM1", "PWM2", "PWM3", "PWM4"}));
    ExpectDutyTraces(Chart(w, 1), {10, 20, 30, 40});

    Sources(1, 0, 3, 7);
    Tick();
    EXPECT_EQ(ShownDutyLabels(Chart(w, 1)), (std::vector<QString>{"No fans controlled by Remote2"}));
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
}

TEST(ChannelLabelFraction, MapsTheAxisOntoThePlotAndHoldsValuesBeyondIt) {
    EXPECT_NEAR(ChannelLabelFraction(0.0, 0.83, 0.0, 100.0), 0.83, kClose);
    EXPECT_NEAR(ChannelLabelFraction(100.0, 0.83, 0.0, 100.0), 0.03, kClose);
    EXPECT_NEAR(ChannelLabelFraction(25.0, 0.83, 0.0, 100.0), 0.63, kClose);
    EXPECT_NEAR(ChannelLabelFraction(-1000.0, 0.83, 0.0, 100.0), 0.83, kClose);
    EXPECT_NEAR(ChannelLabelFraction(1000.0, 0.83, 0.0, 100.0), 0.03, kClose);
    // An axis with no range: every label at the lower edge, never a division by zero.
    EXPECT_NEAR(ChannelLabelFraction(40.0, 0.83, 40.0, 40.0), 0.83, kClose);
    EXPECT_NEAR(ChannelLabelFraction(-5.0, 0.7, 12.0, 12.0), 0.7, kClose);
}

TEST_F(DynamicTminChartsTest, DutyLabelsFollowThePlotTopWhenTheLayoutChanges) {
    frmDynamicTmin& w = OpenWindow();
    StripChart& chart = Chart(w, 0);
    const auto expectBelowTop = [&] {
        const double top = chart.ReferenceHeight();
        EXPECT_NEAR(chart.labelPosition(6), top + 0.04, kClose);
        EXPECT_NEAR(chart.labelPosition(7), top + 0.06, kClose);
        EXPECT_NEAR(chart.labelPosition(8), top + 0.08, kClose);
        EXPECT_DOUBLE_EQ(chart.labelPosition(11), top + 0.10);
    };
    expectBelowTop();
    const double before = chart.ReferenceHeight();
    w.parentWidget()->resize(w.parentWidget()->width(), w.parentWidget()->height() / 2);
    QApplication::processEvents();
    EXPECT_NE(chart.ReferenceHeight(), before);
    expectBelowTop();
}

TEST_F(DynamicTminChartsTest, ChartsFillTheWindowAndShrinkToNothingNotBelow) {
    frmDynamicTmin& w = OpenWindow();
    StripChart& chart = Chart(w, 0);
    EXPECT_EQ(chart.geometry().right(), w.rect().right());
    EXPECT_EQ(w.height() - chart.geometry().bottom() - 1, 40);  // 600 twips below
    EXPECT_GT(chart.height(), 300);

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
