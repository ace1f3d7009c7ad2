#include "features/board/frmSwitches.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <vector>

#include "core/PinDefinitions.h"
#include "core/USBStuff.h"
#include "support/Pictures.h"
#include "support/WindowFixture.h"

namespace kestrum {
namespace {

using test::SwitchRead;
using test::SwitchWrite;

class SwitchesWindowTest : public test::WindowTest {
protected:
    void SetSwitchBytes(int32_t device4A, int32_t device48) {
        WriteBoardPort(kSwitchDevice0, device4A);
        WriteBoardPort(kSwitchDevice1, device48);
    }

    frmSwitches& OpenWindow() {
        window = &Open<frmSwitches>();
        return *window;
    }

    std::vector<int> Ticked() const {
        std::vector<int> ticked;
        for (int i = 0; i < frmSwitches::kSwitches; ++i)
            if (window->chkSwitch[i]->isChecked()) ticked.push_back(i);
        return ticked;
    }

    frmSwitches* window = nullptr;
};

TEST_F(SwitchesWindowTest, LoadsEachDevicesBitsIntoItsBoxes) {
    SetSwitchBytes(0xC3, 0xF0);
    StartRecording();
    OpenWindow();
    ExpectTraffic({SwitchRead(0x4A), SwitchRead(0x48)});
    EXPECT_EQ(window->windowTitle(), "Corvane Switch Control ");
    EXPECT_EQ(window->Frame1->title(), "Switch Control");
    EXPECT_EQ(window->chkSwitch[0]->text(), "D2+ ( Pin17)");
    EXPECT_EQ(window->chkSwitch[6]->text(), "Tach1 (Pin1)");
    EXPECT_EQ(window->chkSwitch[13]->text(), "Pin26");
    EXPECT_EQ(window->cmdRefresh->text(), "Read");
    EXPECT_EQ(window->cmbApply->text(), "Apply");
    EXPECT_EQ(window->cmdCancel->text(), "Close");
    EXPECT_EQ(Ticked(), (std::vector<int>{0, 1, 10, 11, 12, 13}));

    // Read loads the devices afresh; a box ticked by the user is not yet written.
    window->chkSwitch[4]->click();
    SetSwitchBytes(0x24, 0x01);
    StartRecording();
    window->cmdRefresh->click();
    ExpectTraffic({SwitchRead(0x4A), SwitchRead(0x48)});
    EXPECT_EQ(Ticked(), (std::vector<int>{2, 5, 6}));
}

TEST_F(SwitchesWindowTest, ApplyWritesBothBytesRebuiltFromTheBoxesThenReadsThemBack) {
    SetSwitchBytes(0xC3, 0xF0);
    OpenWindow();
    StartRecording();
    window->cmbApply->click();
    ExpectTraffic({SwitchWrite(0x4A, 0x03), SwitchWrite(0x48, 0xF0), SwitchRead(0x4A), SwitchRead(0x48)});
    EXPECT_EQ(board.SwitchByte(0x4A), 0x03);  // bits 6 and 7 have no box

    window->chkSwitch[0]->click();
    window->chkSwitch[5]->click();
    window->chkSwitch[6]->click();
    window->chkSwitch[13]->click();
    StartRecording();
    window->cmbApply->click();
    ExpectTraffic({SwitchWrite(0x4A, 0x22), SwitchWrite(0x48, 0x71), SwitchRead(0x4A), SwitchRead(0x48)});
    EXPECT_EQ(Ticked(), (std::vector<int>{1, 5, 6, 10, 11, 12}));
}

TEST_F(SwitchesWindowTest, AFailedWriteShowsNothingAndTheReadBackShowsTheDevices) {
    SetSwitchBytes(0x01, 0x00);
    OpenWindow();
    window->chkSwitch[2]->click();
    board.FailTransfer(1);
    window->cmbApply->click();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Ticked(), (std::vector<int>{0}));
}

TEST_F(SwitchesWindowTest, OnThePcSmbusLinkTheBoxesLoadClearAndApplyDoesNothing) {
    SetSwitchBytes(0xC3, 0xF0);
    board.AddSmbusChip(0x2E);
    InstallSmbusBackend(&board);
    gInterfaceType = kInterfaceSmbus;
    gDeviceAddress = 0x2E;
    board.SetRecording(true);
    OpenWindow();
    EXPECT_TRUE(Ticked().empty());
    window->chkSwitch[3]->click();
    window->cmbApply->click();
    EXPECT_EQ(Ticked(), (std::vector<int>{3})) << "not even the boxes change";
    EXPECT_TRUE(board.Transfers().empty());
    EXPECT_TRUE(board.SmbusAccesses().empty());
    EXPECT_EQ(board.SwitchByte(0x4A), 0xC3);
}

TEST_F(SwitchesWindowTest, AFailedReadEndsTheProgramAndCloseWritesNothing) {
    OpenWindow();
    StartRecording();
    window->chkSwitch[1]->click();
    window->cmdCancel->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Find<frmSwitches>(), nullptr);
    ExpectTraffic({});

    OpenWindow();
    ExpectFailedTransferEnds([&] { window->cmdRefresh_Click(); });
}

TEST_F(SwitchesWindowTest, IsTidyAtItsOwnSize) {
    SetSwitchBytes(0xC3, 0xF0);
    OpenWindow();
    QApplication::processEvents();
    for (QWidget* child : window->findChildren<QWidget*>()) {
        EXPECT_GE(child->height(), child->minimumSizeHint().height()) << child->objectName().toStdString();
        EXPECT_GE(child->width(), child->minimumSizeHint().width()) << child->objectName().toStdString();
    }
    test::KeepPicture(window->parentWidget()->grab().toImage(), "switches.png");
}

}  // namespace
}  // namespace kestrum
