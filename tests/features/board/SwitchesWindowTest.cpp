#include "features/board/frmSwitches.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <vector>

#include "core/PinDefinitions.h"
#include "core/USBStuff.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"

namespace kestrum {
namespace {

using test::SwitchRead;
using test::SwitchWrite;

class SwitchesWindowTest : public test::WindowTest {
protected:
    static void SetSwitchBytes(int32_t device4A, int32_t device48) {
        WriteBoardPort(kSwitchDevice0, device4A);
        WriteBoardPort(kSwitchDevice1, device48);
    }
    frmSwitches& OpenWindow() { return *(window = &Open<frmSwitches>()); }

    std::vector<int> Ticked() const {
        std::vector<int> ticked;
        for (int i = 0; i < frmSwitches::kSwitches; ++i)
            if (window->chkSwitch[i]->isChecked()) ticked.push_back(i);
        return ticked;
    }

    frmSwitches* window = nullptr;
};

TEST_F(SwitchesWindowTest, LoadsBothDevicesAndApplyWritesTheBoxesThenReadsThemBack) {
    SetSwitchBytes(0xC3, 0xF0);
    StartRecording();
    OpenWindow();
    EXPECT_EQ(window->windowTitle(), "Corvane Switch Control ");
    EXPECT_EQ(window->chkSwitch[1]->text(), "D2- ( Pin18)");
    EXPECT_EQ(Ticked(), (std::vector<int>{0, 1, 10, 11, 12, 13}));
    window->cmbApply->click();
    EXPECT_EQ(board.SwitchByte(0x4A), 0x03) << "bits 6 and 7 have no box";

    window->chkSwitch[0]->click();
    window->chkSwitch[6]->click();
    window->cmdRefresh->click();  // Read: the boxes show the devices again
    EXPECT_EQ(Ticked(), (std::vector<int>{0, 1, 10, 11, 12, 13}));
    window->chkSwitch[5]->click();
    window->chkSwitch[13]->click();
    window->cmbApply->click();
    ExpectTraffic({SwitchRead(0x4A), SwitchRead(0x48), SwitchWrite(0x4A, 0x03), SwitchWrite(0x48, 0xF0),
                   SwitchRead(0x4A), SwitchRead(0x48), SwitchRead(0x4A), SwitchRead(0x48),
                   SwitchWrite(0x4A, 0x23), SwitchWrite(0x48, 0x70), SwitchRead(0x4A), SwitchRead(0x48)});
    EXPECT_EQ(Ticked(), (std::vector<int>{0, 1, 5, 10, 11, 12}));
    test::ExpectTidy(*window, "switches");
}

TEST_F(SwitchesWindowTest, OnThePcSmbusLinkTheBoxesLoadClearAndApplyDoesNothing) {
    SetSwitchBytes(0xC3, 0xF0);
    board.AddSmbusChip(0x2E);
    InstallSmbusBackend(&board);
    gInterfaceType = kInterfaceSmbus;
    board.SetRecording(true);
    OpenWindow();
    EXPECT_TRUE(Ticked().empty());
    window->chkSwitch[3]->click();
    window->cmbApply->click();
    EXPECT_EQ(Ticked(), (std::vector<int>{3})) << "not even the boxes change";
    EXPECT_TRUE(board.Transfers().empty());
    EXPECT_TRUE(board.SmbusAccesses().empty());
}

TEST_F(SwitchesWindowTest, AFailedWriteShowsNothingButAFailedReadEndsTheProgram) {
    SetSwitchBytes(0x01, 0x00);
    OpenWindow().chkSwitch[2]->click();
    board.FailTransfer(1);
    window->cmbApply->click();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Ticked(), (std::vector<int>{0})) << "the read-back shows what the device holds";
    ExpectFailedTransferEnds([&] { window->cmdRefresh_Click(); });
}

}  // namespace
}  // namespace kestrum
