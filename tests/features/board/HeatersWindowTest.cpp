#include "features/board/frmHeaters.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "core/Declarations.h"
#include "core/Measurement.h"
#include "core/Scheduler.h"
#include "core/USBStuff.h"
#include "monitor/instruments/Slider.h"
#include "support/Pictures.h"
#include "support/WindowFixture.h"

namespace kestrum {
namespace {

using test::HeaterRead;
using test::HeaterWrite;

class HeatersWindowTest : public test::WindowTest {
protected:
    // The heater module's two bytes, as a heater request leaves them.
    void SetHeaterBytes(int32_t heater1, int32_t heater2) {
        SetHeater(1, heater1);
        SetHeater(2, heater2);
    }

    frmHeaters& OpenWindow() {
        window = &Open<frmHeaters>();
        return *window;
    }

    void TickASecondLater() {
        clock.Advance(1.0);
        RunMasterTick();
    }

    void UsePcSmbus() {
        board.AddSmbusChip(0x2E);
        InstallSmbusBackend(&board);
        gInterfaceType = kInterfaceSmbus;
        gDeviceAddress = 0x2E;
    }

    frmHeaters* window = nullptr;
};

TEST_F(HeatersWindowTest, LoadsHalfEachHeaterByteAndWritesNothing) {
    SetHeaterBytes(100, 37);
    StartRecording();
    OpenWindow();
    ExpectTraffic({HeaterRead()});
    EXPECT_EQ(window->windowTitle(), "Heater Control");
    EXPECT_DOUBLE_EQ(window->sldHeater[0]->Value(), 50.0);
    EXPECT_DOUBLE_EQ(window->sldHeater[1]->Value(), 18.5);
    EXPECT_TRUE(window->sldHeater[0]->isEnabled());
    EXPECT_EQ(window->Label1->text(), "Heater1 PWM");
    EXPECT_EQ(window->Label2->text(), "Heater2 PWM");
    EXPECT_EQ(window->lblTemp[0]->text(), "Remote1 = ");
    EXPECT_EQ(window->lblTemp[1]->text(), "Remote2 = ");

    SetHeaterBytes(75, 0);
    window->Form_Load();
    EXPECT_DOUBLE_EQ(window->sldHeater[0]->Value(), 37.5);
    EXPECT_DOUBLE_EQ(window->sldHeater[1]->Value(), 0.0);
}

TEST_F(HeatersWindowTest, AMovedSliderSendsItsWholePercentHalvesToEven) {
    OpenWindow();
    StartRecording();
    window->sldHeater[0]->moveAsUser(62.5);
    window->sldHeater[0]->moveAsUser(63.5);
    window->sldHeater[1]->moveAsUser(100);
    window->sldHeater[1]->moveAsUser(0.5);
    ExpectTraffic({HeaterWrite(1, 62), HeaterWrite(1, 64), HeaterWrite(2, 100), HeaterWrite(2, 0)});
    EXPECT_EQ(board.HeaterPercent(1), 64);
}

TEST_F(HeatersWindowTest, LabelsShowTheRemoteTemperaturesEachSecondWhileOpen) {
    gTemperature = {25.0f, 41.75f, -3.5f, 30.0f};
    OpenWindow();
    StartRecording();
    TickASecondLater();
    EXPECT_EQ(window->lblTemp[0]->text(), "Remote1 = 41.75°C");
    EXPECT_EQ(window->lblTemp[1]->text(), "Remote2 = -3.5°C");
    gTemperature[1] = 42.0f;
    TickASecondLater();
    EXPECT_EQ(window->lblTemp[0]->text(), "Remote1 = 42°C");
    ExpectTraffic({});  // the labels show what acquisition measured

    // Closed, it is no longer refreshed and sends nothing; reopened, it reads the heaters again.
    window->cmdClose->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(gHeatersFormOpen);
    TickASecondLater();
    ExpectTraffic({});
    SetHeaterBytes(20, 30);
    StartRecording();
    OpenWindow();
    ExpectTraffic({HeaterRead()});
    EXPECT_DOUBLE_EQ(window->sldHeater[1]->Value(), 15.0);
    EXPECT_EQ(window->lblTemp[0]->text(), "Remote1 = ");
    TickASecondLater();
    EXPECT_EQ(window->lblTemp[0]->text(), "Remote1 = 42°C");
}

TEST_F(HeatersWindowTest, OnThePcSmbusLinkTheSlidersShowNothingAndCannotMove) {
    gRegBuffer[0] = 180;  // left by an earlier adapter transfer
    gRegBuffer[1] = 90;
    UsePcSmbus();
    gTemperature = {25.0f, 41.75f, 38.25f, 30.0f};
    StartRecording();
    OpenWindow();
    for (const Slider* slider : window->sldHeater) {
        EXPECT_DOUBLE_EQ(slider->Value(), 0.0);
        EXPECT_FALSE(slider->isEnabled());
    }
    window->sldHeater[0]->moveAsUser(40);
    EXPECT_DOUBLE_EQ(window->sldHeater[0]->Value(), 0.0);
    TickASecondLater();
    EXPECT_EQ(window->lblTemp[0]->text(), "Remote1 = 41.75°C");
    EXPECT_EQ(window->lblTemp[1]->text(), "Remote2 = 38.25°C");
    EXPECT_TRUE(board.SmbusAccesses().empty());
    EXPECT_TRUE(board.Transfers().empty());
}

TEST_F(HeatersWindowTest, AFailedHeaterRequestAsksAndAnsweredNoGoesOn) {
    SetHeaterBytes(60, 80);
    OpenWindow();
    board.FailHeaterRequests(true);
    messages.answers = {MsgAnswer::No, MsgAnswer::No};
    window->Form_Load();
    window->sldHeater[0]->SetValue(30);
    window->sldHeater_Change(0);
    ASSERT_EQ(messages.shown.size(), 2u);
    for (const auto& shown : messages.shown) {
        EXPECT_EQ(shown.text, "Error in Heater Module -  Do you wish to close the application?");
        EXPECT_EQ(shown.buttons, MsgButtons::YesNo);
    }
    EXPECT_TRUE(programEnd.exits.empty());
    EXPECT_EQ(Find<frmHeaters>(), window);
    EXPECT_EQ(board.HeaterPercent(1), 60);

    messages.answers = {MsgAnswer::Yes};
    EXPECT_THROW(window->sldHeater_Change(1), ProgramEnded);
    ASSERT_EQ(programEnd.exits.size(), 1u);
    EXPECT_EQ(Find<frmHeaters>(), nullptr);
}

TEST_F(HeatersWindowTest, IsTidyAtItsOwnSize) {
    gTemperature = {25.0f, 41.75f, 38.25f, 30.0f};
    SetHeaterBytes(75, 100);
    OpenWindow();
    TickASecondLater();
    QApplication::processEvents();
    for (QWidget* child : window->findChildren<QWidget*>()) {
        EXPECT_GE(child->height(), child->minimumSizeHint().height()) << child->objectName().toStdString();
        EXPECT_GE(child->width(), child->minimumSizeHint().width()) << child->objectName().toStdString();
    }
    test::KeepPicture(window->parentWidget()->grab().toImage(), "heaters.png");
}

}  // namespace
}  // namespace kestrum
