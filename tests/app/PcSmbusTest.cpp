// The PC SMBus path from start-up to register writes: the real i2c-dev driver on a faked
// kernel adapter (support/FakeI2cAdapter), with a simulated chip at 0x2E behind it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "app/frmMain.h"
#include "core/Measurement.h"
#include "core/USBStuff.h"
#include "features/config/frmGenConfig.h"
#include "platform/I2cDevSmbus.h"
#include "support/FakeI2cAdapter.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

using test::R;

constexpr uint8_t kChipAddress = 0x2E;

frmMain* MainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<frmMain*>(widget)) return main;
    return nullptr;
}

// Only the PC SMBus: the adapter library is absent.
class PcSmbusTest : public test::KestrumTest {
protected:
    void SetUp() override {
        KestrumTest::SetUp();
        InstallUsbBackend(nullptr);
        chip = &board.AddSmbusChip(kChipAddress);
    }
    void TearDown() override {
        delete MainWindow();
        InstallSmbusBackend(nullptr);
        KestrumTest::TearDown();
    }

    // The driver opened on the fake adapter, as the PC SMBus library.
    void OpenBus(const std::string& sysfs = "/sys") {
        std::string why;
        bus = I2cDevSmbus::Open(adapter.Path(), why, sysfs);
        ASSERT_NE(bus, nullptr) << why;
        InstallSmbusBackend(bus.get());
    }
    // What the adapter carried from the n-th transfer on.
    std::vector<test::Access> TransfersFrom(size_t n) const {
        const std::vector<test::Access> all = test::Decode(adapter.Transfers());
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(n, all.size())), all.end()};
    }

    test::FakeI2cAdapter adapter{board, TempPath("i2c-7")};
    std::unique_ptr<I2cDevSmbus> bus;
    sim::SimulatedChip* chip = nullptr;
};

TEST_F(PcSmbusTest, StartUpFindsTheChipAndTheProgramWorksItThroughTheDriver) {
    chip->Poke(0x3F, 2);
    OpenBus();
    ASSERT_TRUE(Main());
    frmMain& main = *MainWindow();

    // The probe of address 0, then Company ID at every address from 0x10 to 0x7F.
    std::vector<test::Access> search{R(0x00, 0x00)};
    for (int32_t address = 0x10; address <= 0x7F; ++address) search.push_back(R(0x3E, address));
    std::vector<test::Access> started = TransfersFrom(0);
    ASSERT_GT(started.size(), search.size());
    started.resize(search.size());
    EXPECT_EQ(started, search);
    ASSERT_EQ(main.cmbDevices->count(), 1);
    EXPECT_EQ(main.cmbDevices->itemText(0).toStdString(), "2Eh on SMBus");
    EXPECT_EQ(gInterfaceType, kInterfaceSmbus);
    EXPECT_EQ(gDeviceAddress, kChipAddress);
    EXPECT_EQ(gChipRevision, 2);

    // The master timer's first measurement reads the temperatures of the selected chip.
    chip->Poke(0x88, 0x40);
    chip->Poke(0x89, 64 + 45);
    size_t seen = adapter.Transfers().size();
    clock.Advance(0.2);
    main.tmrMaster_Timer();
    std::vector<test::Access> temperatures;
    for (int32_t reg = 0x88; reg <= 0x8F; ++reg) temperatures.push_back(R(reg, kChipAddress));
    EXPECT_EQ(TransfersFrom(seen), temperatures);
    EXPECT_FLOAT_EQ(gTemperature[0], 45.25f);

    // A tick in General Configuration, applied, reaches the chip.
    auto& dialog = main.Windows().Open<frmGenConfig>();
    chip->Poke(0x02, 0x00);
    dialog.findChild<QCheckBox*>("chkShutDown")->click();
    seen = adapter.Transfers().size();
    dialog.cmdApply->click();
    EXPECT_EQ(chip->Peek(0x02), 0x02);
    EXPECT_EQ(test::WritesOnly(TransfersFrom(seen)).at(1), test::W(0x02, 0x02, kChipAddress));

    // A transfer the bus fails reads as an empty bus and a failed write is lost, silently.
    adapter.FailTransfers(1);
    EXPECT_EQ(ReadRegister(gDeviceAddress, 0x3F), 0xFF);
    EXPECT_EQ(ReadRegister(gDeviceAddress, 0x3F), 2);
    adapter.FailTransfers(1);
    EXPECT_EQ(WriteRegister(gDeviceAddress, 0x02, 0x00), 0);
    EXPECT_EQ(chip->Peek(0x02), 0x02);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(programEnd.exits.empty());
    EXPECT_EQ(diagnostics.str(), "");
    EXPECT_FALSE(adapter.ForcedAny());
}

TEST_F(PcSmbusTest, AnAddressAKernelDriverHoldsIsSkippedAndSaidOnceWithHowToReleaseIt) {
    // At 0x2D a chip that lm85 holds, as sysfs shows; at 0x50 a device of an unseen driver.
    board.AddSmbusChip(0x2D);
    adapter.HoldByKernelDriver(0x2D);
    adapter.HoldByKernelDriver(0x50);
    const std::filesystem::path sysfs = TempPath("sys");
    std::filesystem::create_directories(sysfs / "bus/i2c/drivers/lm85");
    std::filesystem::create_directories(sysfs / "bus/i2c/devices/7-002d");
    std::filesystem::create_directory_symlink("../../drivers/lm85", sysfs / "bus/i2c/devices/7-002d/driver");
    OpenBus(sysfs);

    ASSERT_TRUE(Main());
    ASSERT_EQ(MainWindow()->cmbDevices->count(), 1);
    EXPECT_EQ(MainWindow()->cmbDevices->itemText(0).toStdString(), "2Eh on SMBus");
    EXPECT_EQ(ReadSmbus(0x2D, 0x3E), 0xFF) << "asked again, still held, said no more";

    // One line for each held address, naming the bus, the address and the driver, and how
    // to unbind it where sysfs shows which driver it is.
    std::vector<std::string> lines;
    std::istringstream said(diagnostics.str());
    for (std::string line; std::getline(said, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 2u) << diagnostics.str();
    const std::string bus = "kestrum-eval: " + adapter.Path() + ": ";
    EXPECT_EQ(lines[0].rfind(bus + "address 0x2D is in use by kernel driver lm85", 0), 0u) << lines[0];
    EXPECT_TRUE(lines[0].ends_with("echo 7-002d > " + (sysfs / "bus/i2c/drivers/lm85/unbind").string()))
        << lines[0];
    EXPECT_EQ(lines[1].rfind(bus + "address 0x50 is in use by a kernel driver", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find("unbind"), std::string::npos) << lines[1];
    EXPECT_FALSE(adapter.ForcedAny()) << "a held address is never forced";
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace kestrum
