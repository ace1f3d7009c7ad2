// The dynamic Tmin demonstration, started and stopped from the window's button: the
// board-switch and register traffic of a start on either link, the window it leaves
// behind, and a stop that touches nothing.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QPushButton>
#include <QTabWidget>
#include <cmath>
#include <vector>

#include "core/Declarations.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "core/USBStuff.h"
#include "features/fancontrol/DynTminFixture.h"
#include "platform/LinkLibraries.h"
#include "support/Pictures.h"

namespace kestrum {
namespace {

using test::Access;
using test::AccessKind;
using test::B;
using test::R;
using test::W;

constexpr uint8_t kSmbusChip = 0x2E;

class DynTminDemoTest : public test::DynTminTest {
protected:
    void SetUp() override {
        DynTminTest::SetUp();
        gMeasureEnabled = false;
    }

    // Values chosen so that every kept and every cleared bit of the set-up shows.
    static void PokeStart(sim::SimulatedChip& chip) {
        const std::vector<std::pair<uint8_t, uint8_t>> start{
            {0x21, 0xE3}, {0x22, 0x1F}, {0x23, 0x00}, {0x24, 0xA5}, {0x0D, 0x10}, {0x2C, 0x80}, {0x02, 0xC5},
            {0x07, 0x30}, {0x0F, 0x40}, {0x30, 0x01}, {0x33, 0x04}, {0x0B, 0x41}, {0x64, 0x57}, {0x62, 0xC4},
            {0x52, 0x70}, {0x5B, 0x50}, {0x5E, 0x50}, {0x46, 0x50}, {0x4A, 0x50}, {0x01, 0xD5}};
        for (const auto& [reg, value] : start) chip.Poke(reg, value);
    }

    // The register traffic of a start from PokeStart's values, on a chip at `chip`.
    static std::vector<Access> StartRegisters(int32_t chip) {
        return {R(0x21, chip),       W(0x21, 0x43, chip), R(0x21, chip),  // the hook re-reads PWM config
                R(0x22, chip),       W(0x22, 0x5F, chip), R(0x22, chip),  //
                R(0x23, chip),       W(0x23, 0x40, chip), R(0x23, chip),  //
                R(0x24, chip),       W(0x24, 0x45, chip), R(0x24, chip),  //
                R(0x0D, chip),       W(0x0D, 0x12, chip),                 //
                W(0x2C, 0xFF, chip),                                      //
                R(0x02, chip),       W(0x02, 0x45, chip),                 //
                R(0x07, chip),       W(0x07, 0x3F, chip),                 //
                R(0x0F, chip),       W(0x0F, 0x48, chip),                 //
                R(0x0F, chip),       W(0x0F, 0x49, chip),                 //
                R(0x30, chip),       W(0x30, 0x91, chip),                 //
                R(0x33, chip),       W(0x33, 0x24, chip),                 //
                R(0x0B, chip),       W(0x0B, 0x43, chip),                 //
                R(0x0B, chip),       W(0x0B, 0x63, chip),                 //
                R(0x64, chip),       W(0x64, 0x27, chip),                 //
                R(0x62, chip),       W(0x62, 0xC2, chip),                 //
                W(0x52, 0x9A, chip),                                      //
                R(0x62, chip),       W(0x62, 0xB2, chip),                 //
                W(0x5B, 0x95, chip), W(0x5E, 0x68, chip), W(0x46, 0x5F, chip),
                W(0x4A, 0x6D, chip), R(0x01, chip),       W(0x01, 0x25, chip)};
    }

    void SetSwitchByte(int32_t device, int32_t byte) {
        board.VendorIORequest(kRequestBoardPort, device, byte, kDirectionWrite, 0, gRegBuffer.data());
    }

    // The window's controls of the Remote2 tab, as the user reads them.
    static std::vector<QString> Remote2Settings(const frmDynamicTmin& w) {
        return {w.txtR2OpPoint->text(), w.txtTmin[1]->text(), w.txtLowLim[1]->text(),
                w.txtHighLim[1]->text()};
    }
};

TEST_F(DynTminDemoTest, StartOnTheAdapterClearsTwoSwitchBitsWritesTheSetUpAndReloads) {
    PokeStart(Chip());
    SetSwitchByte(0x4A, 0xB7);
    gSwitchState[1] = true;
    frmDynamicTmin& w = OpenWindow();
    for (int i = 0; i < 3; ++i) Tick();
    w.SSTab1->setCurrentIndex(1);  // already in front: no tab change will show the chart
    StartRecording();
    w.cmdDemo->click();

    std::vector<Access> expected{{AccessKind::SwitchRead, 0x4A, 0, 0}, test::SwitchWrite(0x4A, 0xB4)};
    for (const Access& access : StartRegisters(sim::SimulatedBoard::kDefaultChipAddress))
        expected.push_back(access);
    for (const Access& access : {B(0x0B, 2), B(0x5A, 2), B(0x5D, 2), B(0x45, 2), B(0x49, 2), B(0x64, 1)})
        expected.push_back(access);
    ExpectTraffic(expected);
    EXPECT_EQ(board.SwitchByte(0x4A), 0xB4);
    EXPECT_TRUE(gSwitchState[1]) << "the switch flags are not the demonstration's";

    // The reload wrote nothing: the low bits of the hysteresis register stay as step 15 left them.
    EXPECT_EQ(Chip().Peek(0x64), 0x27);
    EXPECT_EQ(w.txtOpPointHyst->text(), "2");
    EXPECT_TRUE(w.chkEnDynR2->isChecked());
    EXPECT_EQ(Remote2Settings(w), (std::vector<QString>{"85", "40", "31", "45"}));
    EXPECT_TRUE(Chart(w, 1).isVisible());
    EXPECT_EQ(Chart(w, 1).sampleCount(0), 0) << "the Remote2 chart starts afresh";
    EXPECT_EQ(Chart(w, 0).sampleCount(0), 3);
    EXPECT_EQ(w.cmdDemo->text(), "Stop...");
    EXPECT_TRUE(gDemoRunning);
}

TEST_F(DynTminDemoTest, StartOnThePcSmbusLeavesTheBoardSwitchesAlone) {
    sim::SimulatedChip& chip = board.AddSmbusChip(kSmbusChip);
    InstallSmbusBackend(&board);
    gInterfaceType = kInterfaceSmbus;
    gDeviceAddress = kSmbusChip;
    PokeStart(chip);
    SetSwitchByte(0x4A, 0xB7);
    frmDynamicTmin& w = OpenWindow();
    StartRecording();
    w.cmdDemo->click();

    EXPECT_TRUE(board.Transfers().empty()) << "nothing went through the adapter";
    EXPECT_EQ(board.SwitchByte(0x4A), 0xB7);
    EXPECT_EQ(test::WritesOnly(Traffic()), test::WritesOnly(StartRegisters(kSmbusChip)));
    EXPECT_EQ(Remote2Settings(w), (std::vector<QString>{"85", "40", "31", "45"}));
    EXPECT_TRUE(gDemoRunning);
}

TEST_F(DynTminDemoTest, StopTouchesNothingAndAStartAgainRepeatsTheWholeSetUp) {
    PokeStart(Chip());
    frmDynamicTmin& w = OpenWindow();
    w.cmdDemo->click();
    ASSERT_TRUE(gDemoRunning);

    StartRecording();
    w.cmdDemo->click();
    ExpectTraffic({});
    EXPECT_FALSE(gDemoRunning);
    EXPECT_EQ(w.cmdDemo->text(), "Run Demo");

    // The user changes the Remote2 Tmin; a new start reads and writes everything again.
    Type(*w.txtTmin[1], "7");
    StartRecording();
    w.cmdDemo->click();
    const std::vector<Access> writes = test::WritesOnly(Traffic());
    ASSERT_EQ(writes.size(), 23u);
    EXPECT_EQ(writes[12], W(0x0B, 0x63)) << "bits already set stay set";
    EXPECT_EQ(writes[19], W(0x5E, 0x68));
    EXPECT_EQ(Remote2Settings(w), (std::vector<QString>{"85", "40", "31", "45"}));
    EXPECT_TRUE(gDemoRunning);
}

TEST_F(DynTminDemoTest, ClosingTheWindowLeavesTheDemonstrationRunning) {
    frmDynamicTmin& first = OpenWindow();
    first.cmdDemo->click();
    Close(first);
    EXPECT_TRUE(gDemoRunning);
    EXPECT_FALSE(gDynTminFormOpen);

    // The offsets go on without the window; its chart task does not.
    gMeasureEnabled = true;
    StartRecording();
    Tick();
    for (const Access& access : Traffic()) EXPECT_NE(access, B(0x21, 4));

    frmDynamicTmin& again = OpenWindow();
    EXPECT_EQ(again.cmdDemo->text(), "Stop...");
    StartRecording();
    again.cmdDemo->click();
    ExpectTraffic({});
    EXPECT_FALSE(gDemoRunning);
    EXPECT_EQ(again.cmdDemo->text(), "Run Demo");
}

TEST_F(DynTminDemoTest, AFailedTransferDuringTheStartEndsTheProgram) {
    frmDynamicTmin& w = OpenWindow();
    ExpectFailedTransferEnds([&] { w.cmdDemo_Click(); });
    EXPECT_FALSE(gDemoRunning);
}

// A minute of the demonstration with Remote2 heated: the Remote2 chart shows the readings 15 higher than the
// chip, and the THERM2 pulse at a shown 50 has the chip load the operating point with the temperature of that
// moment.
TEST_F(DynTminDemoTest, TheRemote2ChartShowsTheOffsetsAndTheOperatingPointTheThermPulseLoads) {
    Chip().Poke(0x21, 0x22);  // PWM1 follows Remote1
    frmDynamicTmin& w = OpenWindow();
    gMeasureEnabled = true;
    w.SSTab1->setCurrentIndex(1);
    w.cmdDemo->click();
    Chip().SetHeaterDrive(2, 100);
    const StripChart& chart = Chart(w, 1);
    std::vector<double> opPoints;  // each new value of the operating-point trace
    for (int i = 0; i < 400; ++i) {
        Tick();
        QApplication::processEvents();
        if (opPoints.empty() || opPoints.back() != chart.lastSample(1))
            opPoints.push_back(chart.lastSample(1));
        if (i == 150) test::KeepPicture(w.parentWidget()->grab().toImage(), "dyntmin-demo.png");
    }
    ASSERT_TRUE(gDemoThermDone);
    EXPECT_EQ(Chip().Peek(0x52), 0x9A);
    const int loaded = Chip().Peek(0x5B) - 64;
    EXPECT_GE(loaded, 35) << "the pulse comes at a shown 50";
    EXPECT_LE(loaded, 40) << "read within a second of the pulse";
    ASSERT_GE(opPoints.size(), 2u);
    EXPECT_EQ(std::vector(opPoints.end() - 2, opPoints.end()), (std::vector<double>{85 + 15, loaded + 15.0}));

    EXPECT_EQ(chart.lastSample(0), gLogChannel[2].Value + 15);
    std::vector<double> limits;
    for (int trace : {2, 3, 4, frmDynamicTmin::kHysteresisTrace}) limits.push_back(chart.lastSample(trace));
    EXPECT_EQ(limits, (std::vector<double>{40 + 15, 45 + 15, 31 + 15, loaded + 15.0 - 2}));
    EXPECT_GT(chart.lastSample(5), 50.0) << "the fans follow the heated Remote2";
}

}  // namespace
}  // namespace kestrum
