#include "features/fancontrol/frmManualControl.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "core/ChipAccess.h"
#include "core/Declarations.h"
#include "core/Measurement.h"
#include "core/Scheduler.h"
#include "monitor/instruments/Slider.h"
#include "support/Pictures.h"
#include "support/WindowFixture.h"

namespace kestrum {
namespace {

using test::R;
using test::W;

const QColor kGreen(0, 127, 0);
const QColor kRed(255, 0, 0);

class ManualControlWindowTest : public test::WindowTest {
protected:
    // Control source "Manual Mode" (bits 7:5 all set) or automatic, written as another
    // window writes it.
    static void SetManualMode(int output, bool manual) { ChipWrite(0x20 + output, manual ? 0xE2 : 0x62); }

    frmManualControl& OpenWindow() {
        window = &Open<frmManualControl>();
        return *window;
    }

    // The master timer's tick a second after the previous one.
    void TickASecondLater() {
        clock.Advance(1.0);
        RunMasterTick();
    }

    std::vector<QString> Statuses() const {
        std::vector<QString> texts;
        for (const QLabel* label : window->lblManual) texts.push_back(label->text());
        return texts;
    }
    std::vector<double> SliderValues() const {
        std::vector<double> values;
        for (const Slider* slider : window->sldManual) values.push_back(slider->Value());
        return values;
    }
    static QColor TextColour(const QLabel& label) { return label.palette().color(QPalette::WindowText); }

    void Press(Slider& slider) {
        QTest::mousePress(&slider, Qt::LeftButton, {}, slider.HandleRect().center());
    }
    void Release(Slider& slider) {
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, slider.HandleRect().center());
    }

    frmManualControl* window = nullptr;
};

TEST_F(ManualControlWindowTest, AnAutomaticOutputIsDisabledInRedUntilManualModeIsWrittenElsewhere) {
    SetManualMode(2, true);
    gPWMDuty = {30, 45, 0, 55, 0};
    StartRecording();
    OpenWindow();
    ExpectTraffic({});  // loading reads the cached modes and the measured duty only
    EXPECT_EQ(window->windowTitle(), "Manual Fan Control");
    EXPECT_EQ(Statuses(), (std::vector<QString>{"Disabled", "Enabled", "Disabled", "Disabled"}));
    EXPECT_EQ(TextColour(*window->lblManual[0]), kRed);
    EXPECT_EQ(TextColour(*window->lblManual[1]), kGreen);
    EXPECT_FALSE(window->sldManual[0]->isEnabled());
    EXPECT_TRUE(window->sldManual[1]->isEnabled());
    EXPECT_EQ(SliderValues(), (std::vector<double>{30, 45, 0, 55}));

    // A disabled slider does not move, so it writes nothing.
    window->sldManual[0]->moveAsUser(80);
    EXPECT_DOUBLE_EQ(window->sldManual[0]->Value(), 30);
    ExpectTraffic({});

    // Switched to manual mode from elsewhere: green on the next refresh, a second on.
    TickASecondLater();
    SetManualMode(1, true);
    SetManualMode(2, false);
    StartRecording();
    TickASecondLater();
    EXPECT_EQ(Statuses(), (std::vector<QString>{"Enabled", "Disabled", "Disabled", "Disabled"}));
    EXPECT_EQ(TextColour(*window->lblManual[0]), kGreen);
    EXPECT_EQ(TextColour(*window->lblManual[1]), kRed);
    EXPECT_TRUE(window->sldManual[0]->isEnabled());
    EXPECT_FALSE(window->sldManual[1]->isEnabled());
    ExpectTraffic({});
}

TEST_F(ManualControlWindowTest, RefreshesSetTheMeasuredDutyCappedAtAHundredAndWriteNothing) {
    for (int output = 1; output <= 4; ++output) SetManualMode(output, true);
    gPWMDuty = {100, 101, 250, 12, 0};
    OpenWindow();
    EXPECT_EQ(SliderValues(), (std::vector<double>{100, 100, 100, 12}));

    gPWMDuty = {40, 120, 7, 64, 0};
    StartRecording();
    TickASecondLater();
    EXPECT_EQ(SliderValues(), (std::vector<double>{40, 100, 7, 64}));
    ExpectTraffic({});

    // A closed window is no longer refreshed.
    Close(*window);
    EXPECT_FALSE(gManualControlFormOpen);
    TickASecondLater();
    ExpectTraffic({});
}

TEST_F(ManualControlWindowTest, TheUsersMoveWritesTheDutyAsPercentOf255HalvesToEven) {
    for (int output = 1; output <= 4; ++output) SetManualMode(output, true);
    gPWMDuty = {20, 20, 20, 20, 0};
    OpenWindow();
    StartRecording();
    window->sldManual[0]->moveAsUser(50);  // 127.5 goes to 128; times 2.55 in binary would give 127
    window->sldManual[0]->moveAsUser(0);
    window->sldManual[3]->moveAsUser(100);
    window->sldManual[1]->moveAsUser(10);  // 25.5 goes to 26
    window->sldManual[2]->setFocus();
    QTest::keyClick(window->sldManual[2], Qt::Key_Up);  // 21 % is 53.55
    ExpectTraffic({W(0xAA, 128), W(0xAA, 0), W(0xAD, 255), W(0xAB, 26), W(0xAC, 54)});
}

TEST_F(ManualControlWindowTest, AHeldSliderStaysWhileTheLabelsStillRefresh) {
    SetManualMode(1, true);
    gPWMDuty = {40, 0, 0, 0, 0};
    OpenWindow();
    Slider& slider = *window->sldManual[0];
    Press(slider);
    EXPECT_TRUE(gManualSliderHeld);

    gPWMDuty = {70, 70, 70, 70, 0};
    SetManualMode(2, true);
    TickASecondLater();
    EXPECT_EQ(Statuses(), (std::vector<QString>{"Enabled", "Enabled", "Disabled", "Disabled"}));
    EXPECT_EQ(SliderValues(), (std::vector<double>{40, 0, 0, 0}));

    Release(slider);
    EXPECT_FALSE(gManualSliderHeld);
    TickASecondLater();
    EXPECT_EQ(SliderValues(), (std::vector<double>{70, 70, 70, 70}));

    // A press that ends without its release (the grab lost to a popup) lets go all the same.
    Press(slider);
    EXPECT_TRUE(gManualSliderHeld);
    QEvent ungrab(QEvent::UngrabMouse);
    QApplication::sendEvent(&slider, &ungrab);
    EXPECT_FALSE(gManualSliderHeld);
}

TEST_F(ManualControlWindowTest, ClosingOrReopeningNeverLeavesTheSlidersHeld) {
    SetManualMode(1, true);
    OpenWindow();
    gManualSliderHeld = true;  // a press whose release went elsewhere
    Close(*window);
    EXPECT_FALSE(gManualSliderHeld);

    gManualSliderHeld = true;
    gPWMDuty = {33, 0, 0, 0, 0};
    OpenWindow();
    EXPECT_FALSE(gManualSliderHeld);
    gPWMDuty = {66, 0, 0, 0, 0};
    TickASecondLater();
    EXPECT_DOUBLE_EQ(window->sldManual[0]->Value(), 66);

    window->cmdClose->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Find<frmManualControl>(), nullptr);
}

TEST_F(ManualControlWindowTest, AFailedWriteEndsTheProgram) {
    SetManualMode(1, true);
    OpenWindow();
    window->sldManual[0]->SetValue(60);
    ExpectFailedTransferEnds([&] { window->sldManual_Change(0); });
}

TEST_F(ManualControlWindowTest, IsTidyAtItsOwnSize) {
    SetManualMode(1, true);
    SetManualMode(3, true);
    gPWMDuty = {25, 50, 75, 100, 0};
    OpenWindow();
    QApplication::processEvents();
    QWidget* frame = window->parentWidget();
    for (QWidget* child : window->findChildren<QWidget*>()) {
        EXPECT_GE(child->height(), child->minimumSizeHint().height()) << child->objectName().toStdString();
        EXPECT_GE(child->width(), child->minimumSizeHint().width()) << child->objectName().toStdString();
    }
    test::KeepPicture(frame->grab().toImage(), "manual-control.png");
}

}  // namespace
}  // namespace kestrum
