#include "features/fancontrol/frmManualControl.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <vector>

#include "core/ChipAccess.h"
#include "core/Declarations.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"
#include "widgets/instruments/Slider.h"

namespace kestrum {
namespace {

using test::R;
using test::W;

class ManualControlWindowTest : public test::WindowTest {
protected:
    // Control source "Manual Mode" (bits 7:5 all set) or automatic, written as another window writes it.
    static void SetManualMode(int output, bool manual) { ChipWrite(0x20 + output, manual ? 0xE2 : 0x62); }

    frmManualControl& OpenWindow() { return *(window = &Open<frmManualControl>()); }

    void ExpectStatus(int i, const char* text, const QColor& colour) const {
        EXPECT_EQ(window->lblManual[i]->text(), text) << i;
        EXPECT_EQ(window->lblManual[i]->palette().color(QPalette::WindowText), colour) << i;
        EXPECT_EQ(window->sldManual[i]->isEnabled(), colour == QColor(0, 127, 0)) << i;
    }
    std::vector<double> SliderValues() const {
        std::vector<double> values;
        for (const Slider* slider : window->sldManual) values.push_back(slider->Value());
        return values;
    }

    frmManualControl* window = nullptr;
};

TEST_F(ManualControlWindowTest, AutomaticOutputsAreDisabledInRedUntilManualModeIsWrittenElsewhere) {
    SetManualMode(2, true);
    gPWMDuty = {30, 120, 0, 55, 0};
    StartRecording();
    OpenWindow();
    ExpectStatus(0, "Disabled", QColor(255, 0, 0));
    ExpectStatus(1, "Enabled", QColor(0, 127, 0));
    window->sldManual[0]->moveAsUser(80);  // a disabled slider does not move
    EXPECT_EQ(SliderValues(), (std::vector<double>{30, 100, 0, 55})) << "a duty above 100 % shows 100";

    TickAfter(1.0);
    SetManualMode(1, true);
    SetManualMode(2, false);
    gPWMDuty = {40, 7, 0, 0, 0};
    TickAfter(1.0);
    ExpectStatus(0, "Enabled", QColor(0, 127, 0));
    ExpectStatus(1, "Disabled", QColor(255, 0, 0));
    EXPECT_EQ(SliderValues(), (std::vector<double>{40, 7, 0, 0}));
    // Neither the load nor the refreshes write: only the mode changes made elsewhere are seen.
    ExpectTraffic({W(0x21, 0xE2), R(0x21), W(0x22, 0x62), R(0x22)});

    Close(*window);
    gPWMDuty = {90, 90, 90, 90, 0};
    TickAfter(1.0);
    EXPECT_FALSE(gManualControlFormOpen);
}

TEST_F(ManualControlWindowTest, TheUsersMoveWritesPercentTimes255HundredthsHalvesToEven) {
    gChipRevision = 1;  // a PWM value byte held as it is
    for (int output = 1; output <= 4; ++output) SetManualMode(output, true);
    OpenWindow();
    StartRecording();
    window->sldManual[0]->moveAsUser(50);  // 127.5 gives 128; times 2.55 in binary would give 127
    window->sldManual[0]->moveAsUser(0);
    window->sldManual[3]->moveAsUser(100);
    window->sldManual[1]->moveAsUser(10);  // 25.5 gives 26
    ExpectTraffic({W(0xAA, 128), W(0xAA, 0), W(0xAD, 255), W(0xAB, 26)});
}

TEST_F(ManualControlWindowTest, OnARevisionZeroChipTheDutyFollowsTheSlider) {
    // The simulated chip is of revision 0: it holds its PWM value byte inverted.
    SetManualMode(1, true);
    OpenWindow();
    StartRecording();
    window->sldManual[0]->moveAsUser(80);
    window->sldManual[0]->moveAsUser(50);
    ExpectTraffic({W(0xAA, 255 - 204), W(0xAA, 255 - 128)});

    window->sldManual[0]->moveAsUser(80);
    for (int16_t group = 1; group <= 6; ++group) ReadMeasurementGroup(group);
    EXPECT_EQ(gPWMDuty[0], 80);
    TickAfter(1.0);
    EXPECT_DOUBLE_EQ(window->sldManual[0]->Value(), 80.0) << "the slider stays where the user left it";
}

TEST_F(ManualControlWindowTest, AHeldSliderStaysWhileTheLabelsRefreshAndEveryEndOfAPressLetsGo) {
    SetManualMode(1, true);
    gPWMDuty = {40, 0, 0, 0, 0};
    OpenWindow();
    Slider& slider = *window->sldManual[0];
    const QPoint handle = slider.HandleRect().center();
    QTest::mousePress(&slider, Qt::LeftButton, {}, handle);
    gPWMDuty = {70, 70, 70, 70, 0};
    SetManualMode(2, true);
    TickAfter(1.0);
    ExpectStatus(1, "Enabled", QColor(0, 127, 0));
    EXPECT_EQ(SliderValues(), (std::vector<double>{40, 0, 0, 0}));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, handle);
    TickAfter(1.0);
    EXPECT_EQ(SliderValues(), (std::vector<double>{70, 70, 70, 70}));

    // A press ended by a lost grab, or left over when the window closes or opens, holds nothing.
    QTest::mousePress(&slider, Qt::LeftButton, {}, handle);
    EXPECT_TRUE(gManualSliderHeld);
    QEvent ungrab(QEvent::UngrabMouse);
    QApplication::sendEvent(&slider, &ungrab);
    EXPECT_FALSE(gManualSliderHeld);
    gManualSliderHeld = true;
    Close(*window);
    EXPECT_FALSE(gManualSliderHeld);
    gManualSliderHeld = true;
    OpenWindow();
    EXPECT_FALSE(gManualSliderHeld);
}

TEST_F(ManualControlWindowTest, AFailedWriteEndsTheProgram) {
    SetManualMode(1, true);
    OpenWindow().sldManual[0]->SetValue(60);
    ExpectFailedTransferEnds([&] { window->sldManual_Change(0); });
}

TEST_F(ManualControlWindowTest, IsTidyAtItsOwnSize) {
    SetManualMode(1, true);
    gPWMDuty = {25, 50, 75, 100, 0};
    test::ExpectTidy(OpenWindow(), "manual-control");
}

}  // namespace
}  // namespace kestrum
