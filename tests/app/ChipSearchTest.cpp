#include <gtest/gtest.h>

#include <QEvent>
#include <QResizeEvent>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "core/General.h"
#include "core/MainCommands.h"
#include "core/PinDefinitions.h"
#include "core/USBStuff.h"
#include "support/MainWindowFixture.h"

namespace kestrum {
namespace {

using test::MainWindowTest;

// Notes what a label showed each time it was painted, and the widths it was given.
class LabelWatcher final : public QObject {
public:
    explicit LabelWatcher(QLabel& label) : label_(label) { label.installEventFilter(this); }
    std::vector<std::string> paintedTexts;
    std::vector<int> widths;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &label_ && event->type() == QEvent::Paint) {
            const std::string text = label_.text().toStdString();
            if (paintedTexts.empty() || paintedTexts.back() != text) paintedTexts.push_back(text);
        }
        if (watched == &label_ && event->type() == QEvent::Resize)
            widths.push_back(static_cast<QResizeEvent*>(event)->size().width());
        return false;
    }

private:
    QLabel& label_;
};

std::vector<std::string> Entries(const QComboBox& list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list.count(); ++i) entries.push_back(list.itemText(i).toStdString());
    return entries;
}

int CountRequests(const std::vector<sim::Transfer>& transfers, int16_t request) {
    return static_cast<int>(
        std::count_if(transfers.begin(), transfers.end(),
                      [request](const sim::Transfer& t) { return t.request == request; }));
}

class ChipSearchTest : public MainWindowTest {
protected:
    void UsePcSmbus() {
        InstallSmbusBackend(&board);
        gSMBusPresent = true;
    }
};

TEST_F(ChipSearchTest, ListsAdapterChipsThenPcSmbusChipsAndSelectsTheFirst) {
    board.RemoveAdapterChip(0x5C);
    board.AddAdapterChip(0x5A);
    board.AddSmbusChip(0x2E);
    UsePcSmbus();
    board.SetRecording(true);
    LabelWatcher progInfo(*splash->lblProgInfo);

    LoadMain();

    EXPECT_EQ(Entries(*main->cmbDevices), (std::vector<std::string>{"5Ah on USB", "2Eh on SMBus"}));
    EXPECT_EQ(main->cmbDevices->currentIndex(), 0);
    EXPECT_EQ(gDeviceAddress, 0x5A);
    EXPECT_EQ(gInterfaceType, kInterfaceUsb);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(
        progInfo.paintedTexts,
        (std::vector<std::string>{"Downloading Firmware...", "Enumerating...", "Connecting...",
                                  "Searching for Kestrum on USB...", "Searching for Kestrum on SMBus..."}));

    // One connect, then Company ID at each adapter address in turn, by the loop's address.
    const test::Access connect{test::AccessKind::Connect, 0x30, 0, 0x33};
    EXPECT_EQ(
        test::Decode(board.Transfers()),
        (std::vector<test::Access>{connect, test::R(0x3E, 0x58), test::R(0x3E, 0x5A), test::R(0x3E, 0x5C)}));
    // Every PC SMBus address from 0x10 to 0x7F, once each, in order.
    std::vector<test::Access> search;
    for (int32_t address = 0x10; address <= 0x7F; ++address) search.push_back(test::R(0x3E, address));
    EXPECT_EQ(test::Decode(board.SmbusAccesses()), search);
    EXPECT_DOUBLE_EQ(splash->Progress(), 100.0);
    EXPECT_TRUE(main->isMaximized());
    EXPECT_EQ(main->windowTitle().toStdString(), "Kestrum Evaluation Software");
}

TEST_F(ChipSearchTest, OnlyChipsThatIdentifyAsKestrumAreListed) {
    board.AddAdapterChip(0x58).Poke(0x3E, 0x40);
    board.AddAdapterChip(0x5A).Poke(0x3E, 0xC1);
    board.AddSmbusChip(0x2D).Poke(0x3E, 0x00);
    board.AddSmbusChip(0x7F);
    UsePcSmbus();
    LoadMain();
    EXPECT_EQ(Entries(*main->cmbDevices), (std::vector<std::string>{"5Ch on USB", "7Fh on SMBus"}));
}

TEST_F(ChipSearchTest, OnlyThePcSmbusSkipsConnectingAndTheAdapter) {
    InstallUsbBackend(nullptr);  // an adapter call now would throw
    gUSBPresent = false;
    board.AddSmbusChip(0x10);
    UsePcSmbus();
    LabelWatcher progInfo(*splash->lblProgInfo);
    LoadMain();
    EXPECT_EQ(Entries(*main->cmbDevices), std::vector<std::string>{"10h on SMBus"});
    EXPECT_EQ(gInterfaceType, kInterfaceSmbus);
    EXPECT_EQ(gDeviceAddress, 0x10);
    EXPECT_EQ(progInfo.paintedTexts, (std::vector<std::string>{"Downloading Firmware...", "Enumerating...",
                                                               "Searching for Kestrum on SMBus..."}));
}

TEST_F(ChipSearchTest, TheBarFillsHalfInAHundredEvenStepsThenJumpsToFull) {
    InstallUsbBackend(nullptr);
    gUSBPresent = false;
    board.AddSmbusChip(0x2E);
    UsePcSmbus();
    splash->Form_Load();
    splash->show();
    const int fullWidth = splash->lblProgress->parentWidget()->contentsRect().width();
    LabelWatcher bar(*splash->lblProgress);

    main->MDIForm_Load(*splash);

    const std::vector<int>& widths = bar.widths;
    ASSERT_EQ(widths.size(), 102u) << "emptied, 100 animation passes, then the full bar";
    EXPECT_EQ(widths[0], 0);
    for (size_t pass = 1; pass <= 100; ++pass)
        EXPECT_NEAR(widths[pass], fullWidth * pass / 200.0, 0.5) << "pass " << pass;
    EXPECT_EQ(widths.back(), fullWidth);
}

TEST_F(ChipSearchTest, AConnectionThatSucceedsOnTheTwentiethTryGoesOn) {
    board.FailConnect(19);
    board.SetRecording(true);
    LoadMain();
    EXPECT_EQ(CountRequests(board.Transfers(), kRequestConnect), 20);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Entries(*main->cmbDevices), std::vector<std::string>{"5Ch on USB"});
}

TEST_F(ChipSearchTest, TwentyFailedConnectionsEndTheProgramAfterSavingThePosition) {
    board.FailConnect(20);
    board.SetRecording(true);
    EXPECT_THROW(LoadMain(), ProgramEnded);
    EXPECT_EQ(CountRequests(board.Transfers(), kRequestConnect), 20);
    EXPECT_EQ(CountRequests(board.Transfers(), kRequestRegister), 0) << "no search after the failure";
    ExpectFatalEnd("Initial Connection Failed - Check USB connections");
    // A fatal link error unloads everything, and with it the main window saves its place.
    EXPECT_EQ(StoredGeometry(), (std::array<std::string, 4>{"1005", "1005", "6495", "6495"}));
}

TEST_F(ChipSearchTest, NoChipAnywhereEndsWithoutSavingAnything) {
    board.RemoveAdapterChip(0x5C);
    UsePcSmbus();
    EXPECT_THROW(LoadMain(), ProgramEnded);
    ExpectFatalEnd("Failed to find the Kestrum");
    EXPECT_EQ(StoredGeometry(), (std::array<std::string, 4>{}));
}

TEST_F(ChipSearchTest, TheSearchTakesItsPrescribedDelays) {
    clock.SetTime(1.0);  // where a single-precision clock still resolves milliseconds
    const double start = clock.Elapsed();
    LoadMain();
    // Animation 100 x 50 ms, one connect try of 200 ms, 1 s before the search and 1 s at the end.
    EXPECT_GT(clock.Elapsed() - start, 7.3);
    EXPECT_LT(clock.Elapsed() - start, 7.6);
}

TEST(DeviceEntries, EveryEntryReadsBackAsItsAddressAndLink) {
    for (int32_t address = 0x10; address <= 0x7F; ++address) {
        for (int16_t link : {kInterfaceUsb, kInterfaceSmbus}) {
            gDeviceAddress = 0;
            gInterfaceType = 0;
            const std::string entry = DeviceEntry(address, link);
            SelectDevice(entry);
            EXPECT_EQ(gDeviceAddress, address) << entry;
            EXPECT_EQ(gInterfaceType, link) << entry;
        }
    }
    EXPECT_EQ(DeviceEntry(0x5C, kInterfaceUsb), "5Ch on USB");
    EXPECT_EQ(DeviceEntry(0x2E, kInterfaceSmbus), "2Eh on SMBus");

    // Reading stops at the first character that is not a hex digit; a text naming neither
    // link leaves the link alone.
    gInterfaceType = kInterfaceSmbus;
    SelectDevice("5Ch");
    EXPECT_EQ(gDeviceAddress, 0x5C);
    EXPECT_EQ(gInterfaceType, kInterfaceSmbus);
    SelectDevice("");
    EXPECT_EQ(gDeviceAddress, 0);
}

class DeviceChangeTest : public ChipSearchTest {
protected:
    // Two chips on the adapter: 0x5A (revision 3, PWM 2 manual) is found first.
    void SetUp() override {
        ChipSearchTest::SetUp();
        sim::SimulatedChip& first = board.AddAdapterChip(0x5A);
        first.Poke(0x3F, 3);
        first.Poke(0x22, 0xE0);
        first.Poke(0x10, 0x40);  // Remote 1 diode, no Remote 3 diode
        Chip().Poke(0x3F, 1);
        Chip().Poke(0x23, 0xE4);
        Chip().Poke(0x10, 0x20);  // Remote 3 diode, pin 15 a voltage input
        LoadMain();
    }
};

TEST_F(DeviceChangeTest, TheStartUpSelectionOnlySetsTheAddressAndLink) {
    EXPECT_EQ(gDeviceAddress, 0x5A);
    EXPECT_EQ(gChipRevision, 0) << "read by start-up after the search, not by the selection";
    InitDefaults();
    EXPECT_EQ(gChipRevision, 3);
    EXPECT_TRUE(gPWMManual[2]);
}

TEST_F(DeviceChangeTest, PickingAnotherChipReadsThatChipsState) {
    InitDefaults();
    ReadPinConfig();
    ASSERT_TRUE(gRemote1Enabled);
    main->cmbDevices->setFocus();
    QTest::keyClick(main->cmbDevices, Qt::Key_Down);

    EXPECT_EQ(main->cmbDevices->currentText().toStdString(), "5Ch on USB");
    EXPECT_EQ(gDeviceAddress, 0x5C);
    EXPECT_EQ(gInterfaceType, kInterfaceUsb);
    EXPECT_EQ(gChipRevision, 1);
    EXPECT_FALSE(gPWMManual[2]);
    EXPECT_TRUE(gPWMManual[3]);
    EXPECT_FALSE(gRemote1Enabled);
    EXPECT_TRUE(gRemote3Enabled);
    EXPECT_TRUE(gVoltageInUse[3]) << "2.5V(P15) follows the new chip's pins";
    EXPECT_EQ(board.SwitchByte(0x4A), PackBoardFlags(0));
    EXPECT_EQ(board.SwitchByte(0x48), PackBoardFlags(1));

    // Choosing the chip that is already selected reads nothing.
    board.SetRecording(true);
    main->cmbDevices->activated(main->cmbDevices->currentIndex());
    EXPECT_TRUE(board.Transfers().empty());
    EXPECT_EQ(gDeviceAddress, 0x5C);
}

}  // namespace
}  // namespace kestrum
