#include "support/Fixture.h"

#include <QFile>
#include <QSettings>

#include "core/Declarations.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "core/Scheduler.h"
#include "core/USBStuff.h"
#include "platform/LinkLibraries.h"
#include "regmap/RegMapStuff.h"

namespace kestrum::test {
namespace {

// Every module that holds shared state offers one reset function; this calls them all, so
// that each test begins from the program's power-on state. A module added later adds its
// reset here.
void ResetAllSharedState() {
    ResetGeneralState();
    ResetDeclarationsState();
    ResetUSBStuffState();
    ResetRegMapState();
    ResetMeasurementState();
    ResetPinDefinitionsState();
    ResetSchedulerState();
}

}  // namespace

void KestrumTest::SetUp() {
    ASSERT_TRUE(tempDir.isValid());
    ResetAllSharedState();
    InstallSeams({&messages, &fileDialogs, &clock, &programEnd, &shell, &diagnostics});
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, tempDir.filePath("settings"));
    SetProgramDirectory(tempDir.path().toStdString());

    board.SetFirmwareLoaded(true);
    board.SetTimeSource([this] { return clock.Elapsed(); });
    InstallUsbBackend(&board);
    InstallSmbusBackend(nullptr);
    gInterfaceType = kInterfaceUsb;
    gDeviceAddress = sim::SimulatedBoard::kDefaultChipAddress;
}

void KestrumTest::TearDown() {
    InstallUsbBackend(nullptr);
    InstallSmbusBackend(nullptr);
    InstallSeams({});
}

std::string KestrumTest::ProgramDirWithFirmware() {
    const QString target = tempDir.filePath("KestrumFW.Hex");
    QFile::remove(target);
    EXPECT_TRUE(QFile::copy(KESTRUM_TEST_FIRMWARE, target));
    return tempDir.path().toStdString();
}

void KestrumTest::ExpectFatalEnd(const std::string& text) const {
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, text);
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(messages.shown[0].buttons, MsgButtons::OK);
    EXPECT_EQ(messages.shown[0].caption, "Kestrum Evaluation Software");
    ASSERT_EQ(programEnd.exits.size(), 1u);
    EXPECT_NE(programEnd.exits[0], 0);
}

void KestrumTest::DecodePinConfig(uint8_t config1, uint8_t config2, uint8_t config3, uint8_t config4) {
    const uint8_t values[] = {config1, config2, config3, config4};
    for (uint8_t i = 0; i < 4; ++i) Chip().Poke(static_cast<uint8_t>(0x10 + i), values[i]);
    ReadPinConfig();
}

void KestrumTest::StartRecording() {
    board.ClearRecording();
    board.SetRecording(true);
}

std::vector<Access> KestrumTest::Traffic() const {
    return gInterfaceType == kInterfaceSmbus ? Decode(board.SmbusAccesses()) : Decode(board.Transfers());
}

void KestrumTest::ExpectTraffic(const std::vector<Access>& expected) const { EXPECT_EQ(Traffic(), expected); }

std::string KestrumTest::TempPath(const std::string& name) const {
    return tempDir.filePath(QString::fromStdString(name)).toStdString();
}

}  // namespace kestrum::test
