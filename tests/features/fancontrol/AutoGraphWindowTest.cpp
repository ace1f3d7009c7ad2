#include "features/fancontrol/frmAutoGraph.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <utility>
#include <vector>

#include "core/Declarations.h"
#include "core/Measurement.h"
#include "core/Scheduler.h"
#include "support/LayoutChecks.h"
#include "support/Pictures.h"
#include "support/WindowFixture.h"
#include "widgets/UpDown.h"
#include "widgets/instruments/StripChart.h"

namespace kestrum {
namespace {

using test::B;
using test::R;
using test::W;
using Points = std::vector<std::pair<double, double>>;

const std::vector<test::Access> kLoadTraffic{R(0x0D),    R(0x2C),    B(0x21, 4), B(0x25, 2), B(0x28, 4),
                                             B(0x5C, 4), B(0x60, 4), B(0x54, 2), B(0x4C, 8)};

class AutoGraphWindowTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        clock.step = 0.0;  // the tests move the clock themselves
        // PWM1 on Local, PWM2 Off, PWM3 on Remote2, PWM4 Manual; min duty 20 %, max
        // 100 %, THERM full speed off (bits set), Tmin 40, Trange 10 °C, Tmin hyst 4.
        Chip().Poke(0x0D, 0x03);
        Chip().Poke(0x2C, 0xFF);
        const std::array<uint8_t, 4> config{0x22, 0x82, 0x4B, 0xE0};
        for (int i = 0; i < 4; ++i) {
            Chip().Poke(static_cast<uint8_t>(0x21 + i), config[i]);
            Chip().Poke(static_cast<uint8_t>(0x28 + i), 0x33);
            Chip().Poke(static_cast<uint8_t>(0x5C + i), 40 + 64);
            Chip().Poke(static_cast<uint8_t>(0x60 + i), 0x74);
            Chip().Poke(static_cast<uint8_t>(0x4C + i), static_cast<uint8_t>(90 + i + 64));
            Chip().Poke(static_cast<uint8_t>(0x50 + i), static_cast<uint8_t>(100 + i + 64));
            gTmin[i] = 40;
        }
        Chip().Poke(0x25, 0x00);
        Chip().Poke(0x26, 0x00);
        Chip().Poke(0x54, 0x21);
        Chip().Poke(0x55, 0x43);
    }

    frmAutoGraph& OpenWindow() {
        window = &Open<frmAutoGraph>();
        return *window;
    }

    // The user empties the box, then types the text key by key.
    static void Retype(QLineEdit& box, const char* text) {
        box.selectAll();
        QTest::keyClick(&box, Qt::Key_Backspace);
        QTest::keyClicks(&box, text);
    }
    Points Trace(int trace) const {
        Points points;
        for (const QPointF& point : window->stpGraph->points(trace))
            points.emplace_back(point.x(), point.y());
        return points;
    }
    QString Label(int label) const { return window->stpGraph->labelCaption(label); }

    // The master timer's tick once the automatic-control task is due.
    void TickRefresh() { TickAfter(0.35); }

    // The user drags the chart's x arrow outwards by a share of the plot's width.
    void DragXArrowOutwards(double share) {
        StripChart& chart = *window->stpGraph;
        const QPointF from = chart.Layout().HorizontalArrow().center();
        const QPointF to = from + QPointF(share * chart.Layout().Plot().width(), 0);
        QTest::mousePress(&chart, Qt::LeftButton, {}, from.toPoint());
        QMouseEvent move(QEvent::MouseMove, to, chart.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&chart, &move);
        QTest::mouseRelease(&chart, Qt::LeftButton, {}, to.toPoint());
    }

    frmAutoGraph* window = nullptr;
};

TEST_F(AutoGraphWindowTest, LoadsTheChipsSettingsAndWritesNothingOpenOrAgain) {
    StartRecording();
    frmAutoGraph& w = OpenWindow();
    ExpectTraffic(kLoadTraffic);
    EXPECT_TRUE(gAutoGraphFormOpen);
    EXPECT_TRUE(w.Ready());
    EXPECT_EQ(w.windowTitle(), "Automatic Control");
    EXPECT_EQ(w.parentWidget()->size(), QSize(708, 485));
    EXPECT_EQ(Items(*w.cmbTrange[1]),
              (QStringList{"2°C", "2.5°C", "3.3°C", "4°C", "5°C", "6.7°C", "8°C", "10°C", "13.3°C", "16°C",
                           "20°C", "26.7°C", "32°C", "40°C", "53.3°C", "80°C"}));
    EXPECT_EQ(w.cmdCancel->text(), "Close");
    EXPECT_EQ(w.stpGraph->toolTip(), "Drag the arrows at the edges of this graph to zoom in and out");
    for (const char* name : {"txtMaxPWM", "txtTminHyst_2", "txtTH1_3", "txtHyst_0", "cmbControl_1",
                             "cmbTrange_3", "chkMinSpeed_3", "chkThermFS2", "stpGraph", "fraAllFans"})
        EXPECT_NE(w.findChild<QWidget*>(name), nullptr) << name;
    std::vector<std::pair<int, int>> ranges;
    for (const UpDown* spinner : {w.updMaxPWM, w.updTmin[0], w.updTH2[2], w.updHyst[3], w.updTminHyst[0]})
        ranges.emplace_back(spinner->Minimum(), spinner->Maximum());
    EXPECT_EQ(ranges, (std::vector<std::pair<int, int>>{{0, 100}, {-20, 120}, {0, 120}, {0, 15}, {0, 15}}));

    // Every control shows its register; each THERM hysteresis from its own nibble.
    EXPECT_FALSE(w.chkThermFS1->isChecked());
    EXPECT_EQ(w.txtMaxPWM->text(), "100");
    EXPECT_EQ(w.cmbControl[0]->currentText(), "Remote1");
    EXPECT_EQ(w.cmbControl[3]->currentText(), "Manual Mode");
    EXPECT_EQ(w.txtMinPWM[1]->text(), "20");
    EXPECT_EQ(w.cmbTrange[0]->currentText(), "10°C");
    EXPECT_EQ(w.txtTminHyst[0]->text(), "4");
    EXPECT_EQ((std::vector{w.txtHyst[0]->text(), w.txtHyst[1]->text(), w.txtHyst[2]->text(),
                           w.txtHyst[3]->text(), w.txtTH1[2]->text(), w.txtTH2[3]->text()}),
              (std::vector<QString>{"1", "2", "3", "4", "92", "103"}));

    // PWM1 is shown, on Remote1: its tab is brought forward and its curve drawn.
    EXPECT_EQ(w.tbTemp->currentIndex(), 1);
    EXPECT_EQ(Label(0), "PWM1");
    EXPECT_EQ(Label(1), "Remote1");
    EXPECT_EQ(Trace(0), (Points{{0, 0}, {40, 0}, {40, 20}, {52, 100}, {149, 100}}));
    EXPECT_EQ(Trace(8), (Points{{36, 0}, {36, 20}, {40, 20}}));

    // Loading again reads afresh and writes nothing either.
    Chip().Poke(0x21, 0xC2);  // PWM1 now on all four channels
    Chip().Poke(0x61, 0xA3);  // Remote1: Trange 20 °C, Tmin hyst 3
    Chip().Poke(0x0D, 0x00);  // both THERM full-speed boxes ticked
    StartRecording();
    w.Form_Load();
    ExpectTraffic(kLoadTraffic);
    EXPECT_EQ(w.cmbControl[0]->currentText(), "Max of 4 Channels");
    EXPECT_EQ(w.cmbTrange[1]->currentText() + w.txtTminHyst[1]->text(), "20°C3");
    EXPECT_TRUE(w.chkThermFS1->isChecked() && w.chkThermFS2->isChecked());
    EXPECT_EQ(w.tbTemp->currentIndex(), 0);
    // Remote1: a ramp of (100 - 20) x 20 / 64 = 25 °C, then full speed from THERM1 at 91.
    EXPECT_EQ(Trace(1), (Points{{0, 0}, {40, 0}, {40, 20}, {65, 100}, {91, 100}, {91, 100}, {149, 100}}));
    test::ExpectTidy(w, "auto-control");
}

TEST_F(AutoGraphWindowTest, BoxesSetAndClearTheirBits) {
    frmAutoGraph& w = OpenWindow();
    StartRecording();
    w.chkThermFS1->click();
    ExpectTraffic({R(0x0D), W(0x0D, 0x02)});
    w.chkThermFS1->click();
    w.chkThermFS2->click();
    ExpectTraffic({R(0x0D), W(0x0D, 0x02), R(0x0D), W(0x0D, 0x03), R(0x0D), W(0x0D, 0x01)});

    StartRecording();
    w.chkMinSpeed[0]->click();
    w.chkMinSpeed[3]->click();
    w.chkMinSpeed[0]->click();
    ExpectTraffic({R(0x25), W(0x25, 0x01), R(0x26), W(0x26, 0x02), R(0x25), W(0x25, 0x00)});

    // The curve follows: THERM2 at 100 is ticked but lies beyond the ramp's end (case A).
    EXPECT_EQ(Trace(0), (Points{{0, 0}, {40, 0}, {40, 20}, {52, 100}, {101, 100}, {101, 100}, {149, 100}}));
}

TEST_F(AutoGraphWindowTest, ChoosingAControlSourceKeepsTheOtherBitsAndFollowsTheFirstChannel) {
    frmAutoGraph& w = OpenWindow();
    QTest::mouseClick(w.tbPWM->tabBar(), Qt::LeftButton, {}, w.tbPWM->tabBar()->tabRect(2).center());
    EXPECT_EQ(w.tbPWM->currentIndex(), 2);
    EXPECT_EQ(w.tbTemp->currentIndex(), 2) << "Remote2";
    EXPECT_EQ(Label(0), "PWM3");
    StartRecording();
    Pick(*w.cmbControl[2], "Max of 4 Channels");
    // The write hook reads a PWM configuration back for its cached flags.
    ExpectTraffic({R(0x23), W(0x23, 0xCB), R(0x23)});
    EXPECT_EQ(w.tbTemp->currentIndex(), 0) << "Local";
    EXPECT_EQ(Label(4), "Remote3");
    EXPECT_EQ(Trace(3).size(), 5u);

    StartRecording();
    Pick(*w.cmbControl[2], "Off");
    ExpectTraffic({R(0x23), W(0x23, 0x8B), R(0x23)});
    EXPECT_EQ(w.tbTemp->currentIndex(), 0) << "stays where it was";
    // Too long for the legend: said across the empty chart instead.
    const auto& note = Control<QLabel>(w, "lblNoCurve");
    EXPECT_FALSE(w.stpGraph->labelShown(1));
    EXPECT_TRUE(note.isVisibleTo(w.stpGraph));
    EXPECT_EQ(note.text(), "PWM3 is not under automatic control");

    Pick(*w.cmbControl[2], "Remote3");
    EXPECT_TRUE(w.stpGraph->labelShown(1)) << "back in the legend";
    EXPECT_FALSE(note.isVisibleTo(w.stpGraph));
}

TEST_F(AutoGraphWindowTest, TrangeAndTminHysteresisShareTheirRegister) {
    Chip().Poke(0x62, 0x75);
    frmAutoGraph& w = OpenWindow();
    w.tbPWM->setCurrentIndex(2);
    StartRecording();
    Pick(*w.cmbTrange[2], "80°C");
    ExpectTraffic({R(0x62), W(0x62, 0xF5)});
    // Remote2 drives PWM3: (100 - 20) x 80 / 64 = 100 °C of ramp.
    EXPECT_EQ(Trace(0), (Points{{0, 0}, {40, 0}, {40, 20}, {140, 100}, {149, 100}}));

    // Rounded half to even, then only its low four bits: 18.5 gives 18, that is 2.
    StartRecording();
    Retype(*w.txtTminHyst[2], "18.5");
    ExpectTraffic({R(0x62), W(0x62, 0xF0), R(0x62), W(0x62, 0xF1), R(0x62), W(0x62, 0xF2), R(0x62),
                   W(0x62, 0xF2), R(0x62), W(0x62, 0xF2)});
    EXPECT_EQ(Trace(8), (Points{{22, 0}, {22, 20}, {40, 20}})) << "the curve takes the box's 18";
}

TEST_F(AutoGraphWindowTest, ThermHysteresisGoesIntoItsOwnNibbleRoundedAndMasked) {
    frmAutoGraph& w = OpenWindow();
    StartRecording();
    Retype(*w.txtHyst[1], "20");  // 0x54 high nibble; 20 keeps its low four bits, 4
    ExpectTraffic({R(0x54), W(0x54, 0x01), R(0x54), W(0x54, 0x21), R(0x54), W(0x54, 0x41)});

    StartRecording();
    Retype(*w.txtHyst[2], "2.5");  // half to even: 2, as "2" and "2." were
    QTest::keyClick(w.txtHyst[3], Qt::Key_End);
    QTest::keyClicks(w.txtHyst[3], ".5");  // "4.5" rounds to 4 as well
    ExpectTraffic({R(0x55), W(0x55, 0x40), R(0x55), W(0x55, 0x42), R(0x55), W(0x55, 0x42), R(0x55),
                   W(0x55, 0x42), R(0x55), W(0x55, 0x42), R(0x55), W(0x55, 0x42)});
    w.updHyst[3]->StepAsUser(1);
    EXPECT_EQ(w.txtHyst[3]->text(), "5");
    EXPECT_EQ(Chip().Peek(0x55), 0x52);
}

TEST_F(AutoGraphWindowTest, TypingATemperatureWritesEachKeystroke) {
    frmAutoGraph& w = OpenWindow();
    StartRecording();
    w.txtTmin[0]->clear();  // from code: nothing written
    QTest::keyClicks(w.txtTmin[0], "45");
    ExpectTraffic({W(0x5C, 0x44), W(0x5C, 0x6D)});

    StartRecording();
    Retype(*w.txtTH1[3], "-5");
    Retype(*w.txtTH2[1], "x");
    ExpectTraffic({W(0x4F, 0x40), W(0x4F, 0x40), W(0x4F, 0x3B), W(0x51, 0x40), W(0x51, 0x40)});
    w.updTH2[1]->StepAsUser(1);
    EXPECT_EQ(Chip().Peek(0x51), 0x41);
}

TEST_F(AutoGraphWindowTest, LocalTminComesFromItsBoxAndRemote1FromTheChip) {
    frmAutoGraph& w = OpenWindow();
    w.tbPWM->setCurrentIndex(0);
    gTmin[1] = 50;  // moved by dynamic Tmin control since the window loaded
    Retype(*w.txtTmin[1], "30");
    EXPECT_EQ(Chip().Peek(0x5D), 30 + 64);
    EXPECT_EQ(Trace(0), (Points{{0, 0}, {50, 0}, {50, 20}, {62, 100}, {149, 100}}));
    Pick(*w.cmbControl[0], "Local");
    Retype(*w.txtTmin[0], "30");
    EXPECT_EQ(Trace(0), (Points{{0, 0}, {30, 0}, {30, 20}, {42, 100}, {149, 100}}));
}

TEST_F(AutoGraphWindowTest, DutyBoxesWritePercentAndClearingWritesZero) {
    frmAutoGraph& w = OpenWindow();
    w.tbTemp->setCurrentIndex(3);  // the user looks at Remote3's settings meanwhile
    StartRecording();
    Retype(*w.txtMinPWM[0], "");
    ExpectTraffic({W(0x28, 0x00)});
    EXPECT_EQ(w.tbTemp->currentIndex(), 1) << "back to Remote1, which drives PWM1";
    EXPECT_EQ(Trace(0), (Points{{0, 0}, {40, 0}, {40, 0}, {56, 100}, {149, 100}})) << "a ramp from 0 %";

    StartRecording();
    Retype(*w.txtMaxPWM, "50");
    w.updMaxPWM->StepAsUser(-1);
    ExpectTraffic({W(0x2C, 0x00), W(0x2C, 0x0D), W(0x2C, 0x80), W(0x2C, 0x7D)});
    EXPECT_EQ(w.txtMaxPWM->text(), "49");

    // 30 % is 76.5, rounded half to even.
    StartRecording();
    Retype(*w.txtMinPWM[1], "30");
    ExpectTraffic({W(0x29, 0x00), W(0x29, 0x08), W(0x29, 0x4C)});
}

TEST_F(AutoGraphWindowTest, TheRefreshPlotsLivePointsWithoutTouchingTheChip) {
    frmAutoGraph& w = OpenWindow();
    w.tbPWM->setCurrentIndex(1);
    Pick(*w.cmbControl[1], "Max of Local/Remote3");
    gTemperature = {45.25f, 30.0f, 31.0f, 52.5f};
    gPWMDuty = {10, 61, 12, 13, 0};
    StartRecording();
    TickRefresh();
    ExpectTraffic({});
    EXPECT_EQ(Trace(4), (Points{{45.25, 61}}));

    // The refresh rebuilds from the boxes as they stand, so a typed value shows at once.
    w.txtTmin[3]->setText("60");
    gPWMDuty[1] = 70;
    TickRefresh();
    EXPECT_EQ(Trace(1), (Points{{0, 0}, {60, 0}, {60, 20}, {72, 100}, {149, 100}}));
    EXPECT_EQ(Trace(5), (Points{{52.5, 70}}));

    // Closing stops the refresh.
    w.cmdCancel->click();
    QApplication::processEvents();
    EXPECT_FALSE(gAutoGraphFormOpen);
    TickRefresh();
}

TEST_F(AutoGraphWindowTest, HandlersDoNothingBeforeTheWindowIsReady) {
    frmAutoGraph& w = OpenWindow();
    w.Form_Unload();  // as when the window goes: not ready any more
    StartRecording();
    w.txtTmin_Change(0);
    w.cmbControl_Click(1);
    w.chkThermFS1_Click();
    w.txtHyst_Change(2);
    ExpectTraffic({});
}

TEST_F(AutoGraphWindowTest, AFailedTransferEndsTheProgram) {
    frmAutoGraph& w = OpenWindow();
    ExpectFailedTransferEnds([&] { w.cmbControl_Click(0); });
}

TEST_F(AutoGraphWindowTest, ZoomingLeavesOutTheCurveBeyondTheEdge) {
    frmAutoGraph& w = OpenWindow();
    w.tbPWM->setCurrentIndex(0);
    QTest::qWait(2 * StripChart::kRefreshIntervalMs);  // laid out, so the arrows are in place
    DragXArrowOutwards(0.5);                           // half the plot's width: 150 becomes 75 wide
    ASSERT_DOUBLE_EQ(w.stpGraph->xMaximum(), 75.0);
    // A Tmin of 70 puts the ramp's end (82) beyond the edge; its hysteresis (66..70) stays.
    Retype(*w.txtTmin[3], "70");
    Pick(*w.cmbControl[0], "Remote3");
    EXPECT_EQ(Trace(0), (Points{{0, 0}, {70, 0}, {70, 20}, {74, 100}}));
    EXPECT_EQ(Trace(8), (Points{{66, 0}, {66, 20}, {70, 20}}));
    gTemperature[3] = 53.5f;
    gPWMDuty[0] = 70;
    TickRefresh();
    QTest::qWait(2 * StripChart::kRefreshIntervalMs);
    test::KeepPicture(w.parentWidget()->grab().toImage(), "auto-control-zoomed.png");
}

}  // namespace
}  // namespace kestrum
