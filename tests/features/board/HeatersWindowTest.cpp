#include "features/board/frmHeaters.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "core/Declarations.h"
#include "core/Measurement.h"
#include "core/USBStuff.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"
#include "widgets/instruments/Slider.h"

namespace kestrum {
namespace {

using test::HeaterRead;
using test::HeaterWrite;

class HeatersWindowTest : public test::WindowTest {
protected:
    frmHeaters& OpenWindow() { return *(window = &Open<frmHeaters>()); }

    frmHeaters* window = nullptr;
};

TEST_F(HeatersWindowTest, ShowsHalfEachHeaterByteAndSendsTheUsersMoveRoundedHalfToEven) {
    board.SetHeaterSetting(1, 100);  // as another program may leave the heater module
    board.SetHeaterSetting(2, 37);
    StartRecording();
    OpenWindow();
    EXPECT_DOUBLE_EQ(window->sldHeater[0]->Value(), 50.0);
    EXPECT_DOUBLE_EQ(window->sldHeater[1]->Value(), 18.5);
    window->sldHeater[0]->moveAsUser(62.5);
    window->sldHeater[0]->moveAsUser(63.5);
    window->sldHeater[1]->moveAsUser(0.5);
    ExpectTraffic({HeaterRead(), HeaterWrite(1, 62), HeaterWrite(1, 64), HeaterWrite(2, 0)});
}

TEST_F(HeatersWindowTest, LabelsShowTheRemoteTemperaturesEachSecondAndAReopenedWindowTheUsersDuty) {
    gTemperature = {25.0f, 41.75f, -3.5f, 30.0f};
    OpenWindow().sldHeater[1]->moveAsUser(15);
    EXPECT_EQ(window->lblTemp[0]->text(), "Remote1 = ");
    TickAfter(1.0);
    EXPECT_EQ(window->lblTemp[0]->text(), "Remote1 = 41.75°C");
    EXPECT_EQ(window->lblTemp[1]->text(), "Remote2 = -3.5°C");
    test::ExpectTidy(*window, "heaters");

    window->cmdClose->click();
    EXPECT_FALSE(gHeatersFormOpen);
    TickAfter(1.0);
    StartRecording();
    OpenWindow();
    ExpectTraffic({HeaterRead()});
    EXPECT_EQ(window->lblTemp[1]->text(), "Remote2 = ");
    EXPECT_DOUBLE_EQ(window->sldHeater[1]->Value(), 15.0);
}

TEST_F(HeatersWindowTest, OnThePcSmbusLinkTheSlidersShowNothingAndCannotMove) {
    gRegBuffer[0] = 180;  // left by an earlier adapter transfer
    board.AddSmbusChip(0x2E);
    InstallSmbusBackend(&board);
    gInterfaceType = kInterfaceSmbus;
    gTemperature = {25.0f, 41.75f, 38.25f, 30.0f};
    board.SetRecording(true);
    OpenWindow().sldHeater[0]->moveAsUser(40);
    for (const Slider* slider : window->sldHeater) {
        EXPECT_DOUBLE_EQ(slider->Value(), 0.0);
        EXPECT_FALSE(slider->isEnabled());
    }
    TickAfter(1.0);
    EXPECT_EQ(window->lblTemp[1]->text(), "Remote2 = 38.25°C");
    EXPECT_TRUE(board.SmbusAccesses().empty());
    EXPECT_TRUE(board.Transfers().empty());
}

TEST_F(HeatersWindowTest, AFailedHeaterRequestAsksAndAnsweredNoTheProgramGoesOn) {
    OpenWindow();
    board.FailHeaterRequests(true);
    messages.answers = {MsgAnswer::No, MsgAnswer::No};
    window->Form_Load();
    window->sldHeater_Change(0);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, "Error in Heater Module -  Do you wish to close the application?");
    EXPECT_TRUE(programEnd.exits.empty());
    EXPECT_EQ(Find<frmHeaters>(), window);

    messages.answers = {MsgAnswer::Yes};
    EXPECT_THROW(window->sldHeater_Change(1), ProgramEnded);
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(programEnd.exits.size(), 1u) << "answered Yes, the program ends";
}

}  // namespace
}  // namespace kestrum
