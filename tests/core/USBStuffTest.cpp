#include "core/USBStuff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/General.h"
#include "support/FakeTimer.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

using test::KestrumTest;

class USBStuffTest : public KestrumTest {
protected:
    void UsePcSmbus() {
        board.AddSmbusChip(0x2E);
        InstallSmbusBackend(&board);
        gInterfaceType = kInterfaceSmbus;
        gDeviceAddress = 0x2E;
    }
    sim::SimulatedChip& SmbusChip() { return *board.SmbusChip(0x2E); }
};

TEST_F(USBStuffTest, WriteRegisterClampsOnTheAdapterAndUpdatesTheCallersValue) {
    board.SetRecording(true);
    int32_t value = 300;
    EXPECT_EQ(WriteRegister(gDeviceAddress, 0x5C, value), 0);
    EXPECT_EQ(value, 255);
    EXPECT_EQ(Chip().Peek(0x5C), 255);
    ASSERT_EQ(board.Transfers().size(), 1u);
    const sim::Transfer& sent = board.Transfers()[0];
    EXPECT_EQ(sent.request, kRequestRegister);
    EXPECT_EQ(sent.value, 0x5C);
    EXPECT_EQ(sent.index, 255 * 256 + 0x5C);
    EXPECT_EQ(sent.direction, kDirectionWrite);
    EXPECT_EQ(sent.length, 0);

    value = -5;  // would otherwise borrow from the register number
    WriteRegister(gDeviceAddress, 0x5C, value);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(board.Transfers().back().index, 0x5C);
    EXPECT_EQ(Chip().Peek(0x5C), 0);
}

TEST_F(USBStuffTest, WriteRegisterClampsOnThePcSmbus) {
    UsePcSmbus();
    int32_t value = 300;
    EXPECT_EQ(WriteRegister(gDeviceAddress, 0x5D, value), 0);
    EXPECT_EQ(value, 255);
    EXPECT_EQ(SmbusChip().Peek(0x5D), 255);
    value = -1;
    WriteRegister(gDeviceAddress, 0x5D, value);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(SmbusChip().Peek(0x5D), 0);
}

TEST_F(USBStuffTest, PcSmbusReadsLeaveTheBufferAloneAndBlockReadsFillIt) {
    UsePcSmbus();
    gRegBuffer[0] = 0xA5;
    EXPECT_EQ(ReadRegister(gDeviceAddress, 0x3E), 0x41);
    EXPECT_EQ(gRegBuffer[0], 0xA5);

    EXPECT_EQ(BlockRead(gDeviceAddress, 0x3D, 3), 0);
    EXPECT_EQ(gRegBuffer[0], 0x62);
    EXPECT_EQ(gRegBuffer[1], 0x41);
    EXPECT_EQ(gRegBuffer[2], 0x00);

    gRegBuffer[0] = 0x77;
    EXPECT_EQ(BlockRead(gDeviceAddress, 0x3D, 0), 0);
    EXPECT_EQ(gRegBuffer[0], 0x77);
}

TEST_F(USBStuffTest, AdapterReadsGoThroughTheBuffer) {
    board.SetRecording(true);
    EXPECT_EQ(ReadRegister(gDeviceAddress, 0x3E), 0x41);
    EXPECT_EQ(gRegBuffer[0], 0x41);
    EXPECT_EQ(BlockRead(gDeviceAddress, 0x10, 4), 0);
    EXPECT_EQ(gRegBuffer[0], 0x7F);
    EXPECT_EQ(gRegBuffer[3], 0xFC);
    ASSERT_EQ(board.Transfers().size(), 2u);
    EXPECT_EQ(board.Transfers()[1].request, kRequestBlockRead);
    EXPECT_EQ(board.Transfers()[1].index, 0x10);
    EXPECT_EQ(board.Transfers()[1].length, 4);

    // An address without a chip answers nothing: the zeroed byte comes back.
    EXPECT_EQ(ReadRegister(0x58, 0x3E), 0);
}

TEST_F(USBStuffTest, BoardPortWritesOnlySendBytes) {
    board.SetRecording(true);
    EXPECT_EQ(WriteBoardPort(0x4A, 256), 0);
    EXPECT_EQ(WriteBoardPort(0x4A, -1), 0);
    EXPECT_TRUE(board.Transfers().empty());

    EXPECT_EQ(WriteBoardPort(0x48, 0xF0), 0);
    EXPECT_EQ(board.SwitchByte(0x48), 0xF0);
    EXPECT_EQ(ReadBoardPort(0x48), 0xF0);

    gInterfaceType = kInterfaceSmbus;
    board.ClearRecording();
    EXPECT_EQ(WriteBoardPort(0x48, 0x0F), 0);
    EXPECT_EQ(ReadBoardPort(0x48), 0);
    EXPECT_TRUE(board.Transfers().empty());
}

TEST_F(USBStuffTest, TheSwitchDialogsWriteSendsTheByteInTheIndexAndReportsNoFailure) {
    board.SetRecording(true);
    EXPECT_EQ(SendBoardPort(0x4A, 0x03), 0);
    board.FailTransfer(1);
    EXPECT_NE(SendBoardPort(0x48, 0xF0), 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(test::Decode(board.Transfers()),
              (std::vector<test::Access>{test::SwitchWrite(0x4A, 0x03), test::SwitchWrite(0x48, 0xF0)}));
    gInterfaceType = kInterfaceSmbus;
    EXPECT_EQ(SendBoardPort(0x48, 0x0F), 0);
    EXPECT_EQ(board.Transfers().size(), 2u);
}

TEST_F(USBStuffTest, HeaterPercentIsClampedAndStoredBack) {
    int32_t percent = 150;
    EXPECT_EQ(SetHeater(1, percent), 0);
    EXPECT_EQ(percent, 100);
    EXPECT_EQ(board.HeaterPercent(1), 100);
    percent = -5;
    SetHeater(2, percent);
    EXPECT_EQ(percent, 0);
    EXPECT_EQ(board.HeaterPercent(2), 0);

    SetHeater(2, 40);
    EXPECT_EQ(ReadHeaters(), 0);
    EXPECT_EQ(gRegBuffer[0], 200) << "the module reports twice the percent";
    EXPECT_EQ(gRegBuffer[1], 80);
}

TEST_F(USBStuffTest, FailedTransferShowsTheMessageUnloadsWindowsAndEnds) {
    test::FakeTimer timer;
    timer.enabled = true;
    gMasterTimer = &timer;
    bool unloaded = false;
    messages.onShow = [&](const test::ShownMessage&) {
        EXPECT_FALSE(timer.enabled) << "ticks go on under the box";
    };
    SetWindowUnloader([&] { unloaded = true; });

    board.FailTransfer(1);
    try {
        ReadRegister(gDeviceAddress, 0x00);
        FAIL() << "the program should have ended";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.status, kFatalExitStatus);
    }
    ExpectFatalEnd("Communications Interrupted - Check USB connections");
    EXPECT_TRUE(unloaded);
}

TEST_F(USBStuffTest, EveryAdapterPrimitiveEndsTheProgramOnFailure) {
    int32_t value = 1;
    const std::function<void()> calls[] = {
        [] { BlockRead(gDeviceAddress, 0x88, 8); },
        [&] { WriteRegister(gDeviceAddress, 0x01, value); },
        [] { ReadBoardPort(0x4A); },
        [] { WriteBoardPort(0x4A, 3); },
    };
    for (const auto& call : calls) {
        board.FailTransfer(1);
        EXPECT_THROW(call(), ProgramEnded);
    }
    EXPECT_EQ(messages.shown.size(), 4u);
    EXPECT_EQ(programEnd.exits.size(), 4u);
}

TEST_F(USBStuffTest, InitialConnectionMessage) {
    EXPECT_THROW(ShowCommError(kCommInitialConnection), ProgramEnded);
    ExpectFatalEnd("Initial Connection Failed - Check USB connections");
}

TEST_F(USBStuffTest, HeaterFailureAnsweredNoKeepsTheProgramRunning) {
    test::FakeTimer timer;
    timer.enabled = true;
    gMasterTimer = &timer;
    board.FailHeaterRequests(true);
    messages.answers = {MsgAnswer::No, MsgAnswer::No};

    EXPECT_NE(ReadHeaters(), 0);
    int32_t percent = 50;
    EXPECT_NE(SetHeater(1, percent), 0);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, "Error in Heater Module -  Do you wish to close the application?");
    EXPECT_EQ(messages.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::None);
    EXPECT_TRUE(programEnd.exits.empty());
    EXPECT_TRUE(timer.enabled);

    messages.answers = {MsgAnswer::Yes};
    EXPECT_THROW(ReadHeaters(), ProgramEnded);
}

TEST_F(USBStuffTest, HeaterFailureAnsweredNoLeavesAStoppedTimerStopped) {
    test::FakeTimer timer;
    gMasterTimer = &timer;
    board.FailHeaterRequests(true);
    messages.answers = {MsgAnswer::No};
    EXPECT_NE(ReadHeaters(), 0);
    EXPECT_FALSE(timer.enabled);
}

TEST_F(USBStuffTest, PwmConfigWritesRefreshTheManualFlags) {
    WriteRegister(gDeviceAddress, 0x23, 0xE0);
    EXPECT_TRUE(gPWMManual[3]);
    WriteRegister(gDeviceAddress, 0x23, 0xC0);
    EXPECT_FALSE(gPWMManual[3]);
    EXPECT_FALSE(gPWMManual[1]);

    board.SetRecording(true);
    WriteRegister(gDeviceAddress, 0x15, 0xFF);
    EXPECT_EQ(board.Transfers().size(), 1u) << "no read-back after other registers";
}

TEST_F(USBStuffTest, FirmwareDownloadUsesTheFileBesideTheProgram) {
    SetProgramDirectory(ProgramDirWithFirmware());
    board.SetFirmwareLoaded(false);
    EXPECT_GE(DownloadFirmware(), 1);
    EXPECT_EQ(gFirmwarePath, ProgramDirectory() + "/KestrumFW.Hex");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(gFirmwareBuf.data())), gFirmwarePath);
    EXPECT_TRUE(board.FirmwareLoaded());
}

TEST_F(USBStuffTest, AFirmwarePathThatDoesNotFitMeansNoAdapter) {
    SetProgramDirectory("/" + std::string(520, 'd'));
    board.SetFirmwareLoaded(false);
    EXPECT_EQ(DownloadFirmware(), 0);
    EXPECT_FALSE(board.FirmwareLoaded());
    EXPECT_FALSE(StringToBuffer(std::string(513, 'x')));
    EXPECT_TRUE(StringToBuffer(std::string(512, 'x')));
    EXPECT_EQ(gFirmwareBuf[512], 0);
}

}  // namespace
}  // namespace kestrum
