#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "platform/LinkLibraries.h"
#include "platform/RegisterData.h"
#include "sim/SimulatedBoard.h"
#include "sim/SimulatedChip.h"
#include "support/FileText.h"

namespace {

using kestrum::sim::SimulatedBoard;
using kestrum::sim::SimulatedChip;

constexpr int16_t kConnect = 0xDD;
constexpr int16_t kBlockRead = 0xDC;
constexpr int16_t kRegister = 0xDE;
constexpr int16_t kHeater = 0xDA;
constexpr int16_t kSwitch = 0xDF;
constexpr uint8_t kChip = SimulatedBoard::kDefaultChipAddress;
constexpr uint8_t kSentinel = 0xEE;

#ifdef KESTRUM_TEST_FIRMWARE
const char* const kFirmwarePath = KESTRUM_TEST_FIRMWARE;
#else
const char* const kFirmwarePath = "resources/KestrumFW.Hex";
#endif

// Register encoding of a temperature: high byte whole degrees + 64, bits 7:6 of the low byte quarters.
double Celsius(SimulatedChip& chip, uint8_t lowReg, double now) {
    const uint8_t low = chip.Read(lowReg, now);
    return chip.Read(static_cast<uint8_t>(lowReg + 1), now) - 64 + (low >> 6) / 4.0;
}

int TachCount(SimulatedChip& chip, uint8_t lowReg, double now) {
    return chip.Read(lowReg, now) | chip.Read(static_cast<uint8_t>(lowReg + 1), now) << 8;
}

// Lets the chip's model run from `from` to `to` in small steps, reading as the program would.
void RunChip(SimulatedChip& chip, double from, double to) {
    for (double t = from; t <= to; t += 0.5) chip.Read(0x8A, t);
}

// Count the chip reports for a fan settled at this duty byte (50 RPM per percent).
double SettledCount(int duty) { return 90000.0 * 60.0 / (duty * 100.0 / 255.0 * 50.0); }

std::string ReadText(const std::filesystem::path& path) {
    return kestrum::test::ReadFileBytes(path.string());
}

std::filesystem::path WriteTemp(const std::string& name, const std::string& text) {
    const auto path = std::filesystem::temp_directory_path() / ("kestrum_simboard_" + name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// A board with firmware and a clock the test moves.
struct Bench {
    SimulatedBoard board;
    double clock = 0.0;
    Bench() {
        board.SetTimeSource([this] { return clock; });
        board.SetFirmwareLoaded(true);
    }
    int16_t Write(uint8_t reg, uint8_t value, int32_t address = kChip) {
        uint8_t zero = 0;
        return board.VendorIORequest(kRegister, address, value * 256 + reg, 0, 0, &zero);
    }
    int16_t BlockRead(uint8_t first, int16_t count, uint8_t* buffer, int32_t address = kChip) {
        return board.VendorIORequest(kBlockRead, address, first, 1, count, buffer);
    }
    double Remote(int which) {
        std::array<uint8_t, 4> bytes{};
        EXPECT_EQ(BlockRead(0x8A, 4, bytes.data()), 0);
        const int at = (which - 1) * 2;
        return bytes[at + 1] - 64 + (bytes[at] >> 6) / 4.0;
    }
};

// ---- The chip ----

TEST(SimulatedChip, PowerOnStateFollowsTheRegisterRecords) {
    SimulatedChip chip(3);
    for (const auto& record : kestrum::kRegisterRecords) {
        // Below the measurement block every register holds its default until written.
        if (record.address >= 0x88 || record.address == 0x3F) continue;
        EXPECT_EQ(chip.Peek(static_cast<uint8_t>(record.address)), record.defaultValue) << record.name;
    }
    EXPECT_EQ(chip.Peek(0x3D), 0x62);
    EXPECT_EQ(chip.Peek(0x3E), 0x41);
    EXPECT_EQ(chip.Peek(0x3F), 3);
    EXPECT_EQ(SimulatedChip().Peek(0x3F), 0);
    EXPECT_EQ(chip.Peek(0x04), 0);  // no record: starts at 0
}

TEST(SimulatedChip, WritesReachOnlyWritableRegisters) {
    SimulatedChip chip;
    for (const auto& record : kestrum::kRegisterRecords) {
        if (!record.readOnly) continue;
        const auto reg = static_cast<uint8_t>(record.address);
        const uint8_t before = chip.Peek(reg);
        chip.Write(reg, static_cast<uint8_t>(~before), 0.0);
        EXPECT_EQ(chip.Peek(reg), before) << record.name;
    }
    chip.Write(0x44, 0x55, 0.0);
    chip.Write(0x80, 0x12, 0.0);
    chip.Write(0x04, 0x77, 0.0);  // no record, still writable
    EXPECT_EQ(chip.Read(0x44, 0.0), 0x55);
    EXPECT_EQ(chip.Read(0x80, 0.0), 0x12);
    EXPECT_EQ(chip.Read(0x04, 0.0), 0x77);
}

TEST(SimulatedChip, IdleReadingsStayNearTheirOperatingPoints) {
    SimulatedChip chip;
    for (double t = 0.0; t <= 120.0; t += 0.5) {
        EXPECT_NEAR(Celsius(chip, 0x88, t), 30.0, 1.5);
        EXPECT_NEAR(Celsius(chip, 0x8A, t), 28.0, 1.0);
        EXPECT_NEAR(Celsius(chip, 0x8C, t), 28.0, 1.0);
        EXPECT_NEAR(Celsius(chip, 0x8E, t), 35.0, 1.5);
        for (uint8_t reg : {0x90, 0x91, 0x92, 0x94, 0x95, 0x96}) EXPECT_NEAR(chip.Read(reg, t), 192, 2);
        EXPECT_NEAR(chip.Read(0x93, t), 144, 2);
        // Nothing moves while time stands still.
        const uint8_t voltage = chip.Read(0x90, t);
        EXPECT_EQ(chip.Read(0x90, t), voltage);
    }
    EXPECT_EQ(chip.Peek(0xB8), 0);
    EXPECT_EQ(chip.Peek(0xBA), 0);
}

TEST(SimulatedChip, HeaterWarmsItsDiodeWithALagAndALongPauseIsCapped) {
    SimulatedChip chip;
    chip.SetHeaterDrive(1, 50);  // aims at 28 + 30 °C
    RunChip(chip, 0.0, 20.0);
    EXPECT_NEAR(Celsius(chip, 0x8A, 20.0), 28.0 + 30.0 * 0.63, 3.0);  // one time constant
    RunChip(chip, 20.0, 200.0);
    EXPECT_NEAR(Celsius(chip, 0x8A, 200.0), 58.0, 1.0);
    EXPECT_NEAR(Celsius(chip, 0x8C, 200.0), 28.0, 1.0);  // heater 2 is off
    chip.SetHeaterDrive(1, 0);
    RunChip(chip, 200.0, 400.0);
    EXPECT_NEAR(Celsius(chip, 0x8A, 400.0), 28.0, 1.0);

    SimulatedChip paused;
    paused.SetHeaterDrive(2, 100);
    paused.Read(0x8C, 0.0);
    const double afterHour = Celsius(paused, 0x8C, 3600.0);
    EXPECT_GT(afterHour, 33.0);
    EXPECT_LT(afterHour, 45.0);  // 5 s worth, not an hour
}

TEST(SimulatedChip, TachFollowsManualPwmAndStopsAtZero) {
    SimulatedChip chip;  // revision 0: PWM value register is 255 - duty
    chip.Write(0x21, 0xE0, 0.0);
    chip.Write(0xAA, 0x00, 0.0);
    EXPECT_EQ(chip.Read(0xAA, 0.0), 0x00);  // manual mode keeps what was written
    RunChip(chip, 0.0, 10.0);
    EXPECT_NEAR(TachCount(chip, 0x98, 10.0), SettledCount(255), 25);
    EXPECT_NEAR(TachCount(chip, 0xA2, 10.0), SettledCount(255), 25);  // tach 5 shares PWM 1
    EXPECT_EQ(TachCount(chip, 0x9A, 10.0), 0xFFFF);                   // PWM 2 is automatic and cold

    chip.Write(0xAA, 255 - 128, 10.0);
    RunChip(chip, 10.0, 20.0);
    EXPECT_NEAR(TachCount(chip, 0x98, 20.0), SettledCount(128), 45);

    chip.Write(0x78, 0x00, 20.0);  // any count is "too slow" now
    chip.Write(0xAA, 0xFF, 20.0);
    RunChip(chip, 20.0, 30.0);
    EXPECT_EQ(TachCount(chip, 0x98, 30.0), 0xFFFF);
    EXPECT_EQ(chip.Read(0xBD, 30.0) & 0x01, 0);  // a stopped fan is not a slow one

    SimulatedChip direct(1);
    direct.Write(0x21, 0xE0, 0.0);
    direct.Write(0xAA, 0xFF, 0.0);
    RunChip(direct, 0.0, 10.0);
    EXPECT_NEAR(TachCount(direct, 0x98, 10.0), SettledCount(255), 25);
}

TEST(SimulatedChip, AutomaticPwmRampsFromMinimumOverTheRange) {
    SimulatedChip chip(1);
    chip.Write(0x5C, 64 + 40, 0.0);  // Local Tmin 40 °C
    chip.Write(0x60, 0x70, 0.0);     // Trange 10 °C
    chip.Write(0x28, 0x40, 0.0);
    chip.Write(0x2C, 0xFF, 0.0);
    chip.Poke(0x88, 0x00);
    chip.Poke(0x89, 64 + 35);
    EXPECT_EQ(chip.Peek(0xAA), 0);  // below Tmin and the Min bit clear: off
    chip.Write(0x25, 0x91, 0.0);
    EXPECT_EQ(chip.Peek(0xAA), 0x40);  // ... set: minimum
    chip.Poke(0x89, 64 + 45);
    EXPECT_NEAR(chip.Peek(0xAA), (0x40 + 0xFF) / 2, 1);  // half way through the range
    chip.Poke(0x89, 64 + 60);
    EXPECT_EQ(chip.Peek(0xAA), 0xFF);
    chip.Write(0x2C, 0xC0, 0.0);
    EXPECT_EQ(chip.Peek(0xAA), 0xC0);  // capped by the maximum
    chip.Write(0x21, 0x80, 0.0);
    EXPECT_EQ(chip.Peek(0xAA), 0);  // source off

    // Hottest of all four: a cold Local does not hold back a hot Remote 2.
    chip.Poke(0x89, 64 + 20);
    chip.Write(0x5E, 64 + 40, 0.0);
    chip.Write(0x62, 0x70, 0.0);
    chip.Poke(0x8D, 64 + 45);
    chip.Poke(0x8C, 0x00);
    chip.Write(0x21, 0xC0, 0.0);
    EXPECT_NEAR(chip.Peek(0xAA), (0x40 + 0xFF) / 2, 1);
    chip.Write(0x21, 0xA0, 0.0);  // hottest of Local and Remote 3 ignores Remote 2
    EXPECT_EQ(chip.Peek(0xAA), 0x40);
}

TEST(SimulatedChip, FullSpeedRunsEveryAutomaticFanFlatOutAndLeavesManualOnesAlone) {
    SimulatedChip chip(1);
    chip.Write(0x21, 0x80, 0.0);  // PWM1 off
    chip.Write(0x24, 0xE0, 0.0);  // PWM4 manual
    chip.Write(0xAD, 0x30, 0.0);
    EXPECT_EQ(chip.Peek(0xAA), 0);
    chip.Write(0x02, chip.Peek(0x02) | 0x20, 0.0);
    EXPECT_EQ(chip.Peek(0xAA), 0xFF);
    EXPECT_EQ(chip.Peek(0xAD), 0x30);
    chip.Write(0x02, chip.Peek(0x02) & ~0x20, 0.0);
    EXPECT_EQ(chip.Peek(0xAA), 0);
}

TEST(SimulatedChip, StatusBitsAppearInHostAndBmcCopies) {
    SimulatedChip chip;
    chip.Poke(0x89, 0x96);  // above the 0x95 high limit
    EXPECT_EQ(chip.Peek(0xB8), 0x02);
    EXPECT_EQ(chip.Peek(0xC0), 0x02);
    chip.Poke(0x89, 0x3F);  // below the 0x40 low limit
    EXPECT_EQ(chip.Peek(0xB8), 0x02);
    chip.Release(0x89);
    EXPECT_EQ(chip.Peek(0xB8), 0);

    chip.Write(0x4E, 64 + 50, 0.0);
    chip.Write(0x52, 64 + 60, 0.0);
    chip.Poke(0x8D, 64 + 55);
    EXPECT_EQ(chip.Peek(0xBA), 0x04);
    chip.Poke(0x8D, 64 + 65);
    EXPECT_EQ(chip.Peek(0xBA), 0x44);

    // On-time builds up while the temperature stays above THERM1.
    chip.Write(0x80, 0x80, 0.0);
    RunChip(chip, 0.0, 6.0);
    EXPECT_GT(chip.Peek(0xAE), 250);
    EXPECT_EQ(chip.Peek(0xB9) & 0x01, 0x01);
    EXPECT_EQ(chip.Peek(0xC1) & 0x01, 0x01);
    EXPECT_EQ(chip.Peek(0xB9) & 0x08, 0);  // THERM2 timer limit still 0xFF
    chip.ReleaseAll();
    RunChip(chip, 6.0, 12.0);
    EXPECT_LT(chip.Peek(0xAE), 5);
    EXPECT_EQ(chip.Peek(0xB9), 0);

    chip.Write(0x21, 0xE0, 12.0);
    chip.Write(0xAA, 0x00, 12.0);
    chip.Write(0x78, 0x00, 12.0);
    RunChip(chip, 12.0, 20.0);
    EXPECT_EQ(chip.Peek(0xBD), 0x01);
    EXPECT_EQ(chip.Peek(0xC5), 0x01);
    EXPECT_EQ(chip.Peek(0xC2), 0);
}

// The dynamic Tmin demonstration pulses the Remote 2 THERM2 limit to 0 degrees: the chip
// then loads the operating point of each channel that asks for it, once per assertion.
TEST(SimulatedChip, AThermEventLoadsTheOperatingPointsThatAskForIt) {
    SimulatedChip chip;
    chip.Poke(0x8B, 64 + 33);  // Remote 1 at 33
    chip.Poke(0x8D, 64 + 36);  // Remote 2 at 36
    chip.Write(0x5A, 0x95, 0.0);
    chip.Write(0x5B, 0x95, 0.0);
    chip.Write(0x0B, 0x20, 0.0);  // Remote 2 on THERM2 only
    chip.Write(0x4E, 0x40, 0.0);  // THERM1 asserts: nobody asked
    EXPECT_EQ(chip.Peek(0x5B), 0x95);
    chip.Write(0x52, 0x40, 0.0);
    EXPECT_EQ(chip.Peek(0x5A), 0x95);
    EXPECT_EQ(chip.Peek(0x5B), 64 + 36);

    chip.Poke(0x8D, 64 + 40);  // still asserted: no new event
    EXPECT_EQ(chip.Peek(0x5B), 64 + 36);
    chip.Write(0x52, 0x9A, 0.0);
    chip.Write(0x0B, 0x10, 0.0);  // now Remote 1 on THERM2; a channel left out does not assert
    chip.Write(0x0F, 0x17, 0.0);
    chip.Write(0x52, 0x40, 0.0);
    EXPECT_EQ(chip.Peek(0x5A), 0x95);
    chip.Write(0x51, 0x40, 0.0);
    EXPECT_EQ(chip.Peek(0x5A), 64 + 33);
    EXPECT_EQ(chip.Peek(0x5B), 64 + 36) << "no event of its own";
}

TEST(SimulatedChip, PinConfigurationDecidesWhatSharedRegistersCarry) {
    SimulatedChip chip;
    EXPECT_NEAR(chip.Read(0x8B, 0.0), 64 + 28, 1);  // Remote 1 diode
    chip.Write(0x10, 0x3F, 0.0);                    // pin 15 becomes a voltage input
    EXPECT_NEAR(chip.Read(0x8B, 0.0), 192, 2);
    EXPECT_EQ(chip.Peek(0xBB), 0x10);  // 192 is above the 0x95 limit
    EXPECT_EQ(chip.Peek(0xC3), 0x10);
    EXPECT_EQ(chip.Peek(0xB8), 0);  // and no longer a Remote 1 temperature
    chip.Write(0x49, 0xFF, 0.0);
    EXPECT_EQ(chip.Peek(0xBB), 0);
    chip.Write(0x49, 0x80, 0.0);
    EXPECT_EQ(chip.Peek(0xBB), 0x10);
    chip.Write(0x10, 0x7F, 0.0);  // back to the diode: the same limit now means 64 °C
    EXPECT_NEAR(chip.Read(0x8B, 0.0), 64 + 28, 1);
    EXPECT_EQ(chip.Peek(0xBB), 0);
    EXPECT_EQ(chip.Peek(0xB8), 0);

    // Tach 5 (pin 7) and tach 6 (pin 8) as the +12V1 and +12V2 inputs.
    chip.Write(0x10, 0x7E, 0.0);
    chip.Write(0x11, 0x4E, 0.0);
    EXPECT_NEAR(chip.Read(0xA3, 0.0), 192, 2);
    EXPECT_NEAR(chip.Read(0xA5, 0.0), 192, 2);
    EXPECT_EQ(chip.Read(0xA7, 0.0), 0xFF);  // tach 7 is still a stopped tach
    chip.Write(0x7C, 0x80, 0.0);
    EXPECT_EQ(chip.Peek(0xBB), 0x01);
    EXPECT_EQ(chip.Peek(0xBD), 0);  // a voltage pin is never a slow fan
}

// ---- The board ----

TEST(SimulatedBoard, EveryRequestFailsBeforeFirmware) {
    SimulatedBoard board;
    std::array<uint8_t, 4> buffer;
    buffer.fill(kSentinel);
    EXPECT_NE(board.VendorIORequest(kConnect, 0x30, 0x33, 0, 0, buffer.data()), 0);
    EXPECT_NE(board.VendorIORequest(kBlockRead, kChip, 0x3E, 1, 2, buffer.data()), 0);
    EXPECT_NE(board.VendorIORequest(kRegister, kChip, 0x3E, 1, 1, buffer.data()), 0);
    EXPECT_NE(board.VendorIORequest(kRegister, kChip, 0x5544, 0, 0, buffer.data()), 0);
    EXPECT_NE(board.VendorIORequest(kHeater, 1, 50, 0, 1, buffer.data()), 0);
    EXPECT_NE(board.VendorIORequest(kSwitch, 0x4A, 0, 1, 1, buffer.data()), 0);
    for (uint8_t byte : buffer) EXPECT_EQ(byte, kSentinel);
    EXPECT_EQ(board.AdapterChip(kChip)->Peek(0x44), 0x40);
    EXPECT_EQ(board.HeaterPercent(1), 0);
}

TEST(SimulatedBoard, LoadFirmwareAcceptsOnlyWellFormedFiles) {
    const std::string shipped = ReadText(kFirmwarePath);
    ASSERT_FALSE(shipped.empty()) << kFirmwarePath;
    std::string corrupt = shipped;
    corrupt[9] = corrupt[9] == '0' ? '1' : '0';  // first data byte: checksum no longer adds up
    const auto corruptPath = WriteTemp("corrupt.hex", corrupt);
    const auto emptyPath = WriteTemp("empty.hex", "");
    const auto missingPath = std::filesystem::temp_directory_path() / "kestrum_simboard_missing.hex";
    std::filesystem::remove(missingPath);

    SimulatedBoard board;
    EXPECT_EQ(board.LoadFirmWare(missingPath.c_str()), 0);
    EXPECT_EQ(board.LoadFirmWare(emptyPath.c_str()), 0);
    EXPECT_EQ(board.LoadFirmWare(corruptPath.c_str()), 0);
    EXPECT_EQ(board.LoadFirmWare(nullptr), 0);
    EXPECT_EQ(board.LoadFirmWare(std::filesystem::temp_directory_path().c_str()), 0) << "unreadable";
    EXPECT_FALSE(board.FirmwareLoaded());
    EXPECT_EQ(board.LoadFirmWare(kFirmwarePath), 1);
    EXPECT_TRUE(board.FirmwareLoaded());
    EXPECT_EQ(board.LoadFirmWare(corruptPath.c_str()), 0);
    EXPECT_TRUE(board.FirmwareLoaded());  // a failed load leaves the adapter as it was
    uint8_t zero = 0;
    EXPECT_EQ(board.VendorIORequest(kConnect, 0x30, 0x33, 0, 0, &zero), 0);

    std::filesystem::remove(corruptPath);
    std::filesystem::remove(emptyPath);
}

TEST(SimulatedBoard, BlockReadFillsExactlyTheRequestedBytesAndWraps) {
    Bench bench;
    SimulatedChip& chip = *bench.board.AdapterChip(kChip);
    std::array<uint8_t, 70> buffer;
    buffer.fill(kSentinel);
    ASSERT_EQ(bench.BlockRead(0x40, 12, buffer.data()), 0);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(buffer[i], chip.Peek(static_cast<uint8_t>(0x40 + i)));
    EXPECT_EQ(buffer[12], kSentinel);

    ASSERT_EQ(bench.BlockRead(0xF8, 16, buffer.data()), 0);
    EXPECT_EQ(buffer[7], chip.Peek(0xFF));
    for (int i = 8; i < 16; ++i) EXPECT_EQ(buffer[i], chip.Peek(static_cast<uint8_t>(i - 8)));

    EXPECT_EQ(bench.BlockRead(0x00, 65, buffer.data()), 0);
    buffer.fill(kSentinel);
    EXPECT_NE(bench.BlockRead(0x00, 66, buffer.data()), 0);
    EXPECT_NE(bench.BlockRead(0x00, 0, buffer.data()), 0);
    EXPECT_NE(bench.BlockRead(0x00, -1, buffer.data()), 0);
    EXPECT_NE(bench.BlockRead(0x00, 4, nullptr), 0);
    EXPECT_NE(bench.board.VendorIORequest(kBlockRead, kChip, 0x100, 1, 4, buffer.data()), 0);
    for (uint8_t byte : buffer) EXPECT_EQ(byte, kSentinel);
}

TEST(SimulatedBoard, SingleRegisterRequestsCarryDataInTheIndex) {
    Bench bench;
    SimulatedChip& chip = *bench.board.AdapterChip(kChip);
    EXPECT_EQ(bench.Write(0x44, 0x5A), 0);
    EXPECT_EQ(chip.Peek(0x44), 0x5A);
    uint8_t byte = 0;
    EXPECT_EQ(bench.board.VendorIORequest(kRegister, kChip, 0x44, 1, 1, &byte), 0);
    EXPECT_EQ(byte, 0x5A);
    EXPECT_EQ(bench.Write(0x3E, 0x00), 0);  // accepted on the bus, ignored by the chip
    EXPECT_EQ(bench.board.VendorIORequest(kRegister, kChip, 0x3E, 1, 1, &byte), 0);
    EXPECT_EQ(byte, 0x41);
    EXPECT_NE(bench.board.VendorIORequest(kRegister, kChip, 0x10044, 0, 0, &byte), 0);
    EXPECT_EQ(chip.Peek(0x44), 0x5A);
}

TEST(SimulatedBoard, AbsentAddressAnswersButLeavesTheBufferAlone) {
    Bench bench;
    std::array<uint8_t, 8> buffer;
    buffer.fill(kSentinel);
    EXPECT_EQ(bench.BlockRead(0x3D, 3, buffer.data(), 0x2E), 0);
    EXPECT_EQ(bench.board.VendorIORequest(kRegister, 0x2E, 0x3E, 1, 1, buffer.data()), 0);
    EXPECT_EQ(bench.Write(0x44, 0x11, 0x2E), 0);
    for (uint8_t byte : buffer) EXPECT_EQ(byte, kSentinel);
    EXPECT_EQ(bench.board.AdapterChip(kChip)->Peek(0x44), 0x40);

    bench.board.RemoveAdapterChip(kChip);
    EXPECT_EQ(bench.board.AdapterChip(kChip), nullptr);
    bench.board.AddAdapterChip(0x2E);
    EXPECT_EQ(bench.BlockRead(0x3D, 3, buffer.data(), 0x2E), 0);
    EXPECT_EQ(buffer[1], 0x41);
}

TEST(SimulatedBoard, HeaterAndSwitchRequestsValidateAndReadBack) {
    Bench bench;
    uint8_t ignored = 0;
    EXPECT_EQ(bench.board.VendorIORequest(kHeater, 1, 40, 0, 1, &ignored), 0);
    EXPECT_EQ(bench.board.VendorIORequest(kHeater, 2, 100, 0, 1, &ignored), 0);
    constexpr std::array<std::pair<int, int>, 4> kInvalid = {{{0, 10}, {3, 10}, {1, 101}, {2, -1}}};
    for (auto [heater, percent] : kInvalid)
        EXPECT_NE(bench.board.VendorIORequest(kHeater, heater, percent, 0, 1, &ignored), 0);
    std::array<uint8_t, 3> heaters;
    heaters.fill(kSentinel);
    EXPECT_EQ(bench.board.VendorIORequest(kHeater, 0, 0, 1, 3, heaters.data()), 0);
    EXPECT_EQ(heaters, (std::array<uint8_t, 3>{80, 200, 0})) << "reported as twice the percent";
    EXPECT_EQ(bench.board.HeaterPercent(1), 40);

    EXPECT_EQ(bench.board.VendorIORequest(kSwitch, 0x4A, 0x12, 0, 0, nullptr), 0);
    EXPECT_EQ(bench.board.VendorIORequest(kSwitch, 0x48, 0x34, 0, 1, &ignored), 0);
    EXPECT_NE(bench.board.VendorIORequest(kSwitch, 0x4C, 0x01, 0, 0, nullptr), 0);
    EXPECT_NE(bench.board.VendorIORequest(kSwitch, 0x4A, 0x100, 0, 0, nullptr), 0);
    uint8_t byte = 0;
    EXPECT_EQ(bench.board.VendorIORequest(kSwitch, 0x4A, 0, 1, 1, &byte), 0);
    EXPECT_EQ(byte, 0x12);
    EXPECT_EQ(bench.board.SwitchByte(0x48), 0x34);

    EXPECT_NE(bench.board.VendorIORequest(0xD0, 0, 0, 0, 0, nullptr), 0);  // unknown request
    EXPECT_NE(bench.board.VendorIORequest(kConnect, 0x30, 0x33, 2, 0, nullptr), 0);
}

TEST(SimulatedBoard, HeatersWarmTheAdapterChipsOverSimulatedTime) {
    Bench bench;
    EXPECT_NEAR(bench.Remote(1), 28.0, 1.0);
    uint8_t ignored = 0;
    ASSERT_EQ(bench.board.VendorIORequest(kHeater, 1, 100, 0, 1, &ignored), 0);
    bench.board.AddAdapterChip(0x5D);  // a chip fitted later feels the heater too
    std::array<uint8_t, 2> other{};
    for (; bench.clock < 60.0; bench.clock += 0.6) {
        bench.Remote(1);
        bench.BlockRead(0x8A, 2, other.data(), 0x5D);
    }
    EXPECT_GT(bench.Remote(1), 75.0);
    EXPECT_NEAR(bench.Remote(2), 28.0, 1.0);
    EXPECT_GT(other[1] - 64, 75);
}

TEST(SimulatedBoard, InjectedFaultsHitTheChosenRequestsOnly) {
    Bench bench;
    std::array<uint8_t, 2> buffer;
    buffer.fill(kSentinel);
    bench.board.FailTransfer(2);
    EXPECT_EQ(bench.Write(0x44, 0x01), 0);
    EXPECT_NE(bench.BlockRead(0x3E, 2, buffer.data()), 0);
    EXPECT_EQ(buffer[0], kSentinel);
    EXPECT_EQ(bench.BlockRead(0x3E, 2, buffer.data()), 0);
    bench.board.FailTransfer(1);
    EXPECT_NE(bench.Write(0x44, 0x02), 0);
    EXPECT_EQ(bench.board.AdapterChip(kChip)->Peek(0x44), 0x01);

    uint8_t zero = 0;
    bench.board.FailConnect(2);
    EXPECT_EQ(bench.BlockRead(0x3E, 2, buffer.data()), 0);
    EXPECT_NE(bench.board.VendorIORequest(kConnect, 0x30, 0x33, 0, 0, &zero), 0);
    EXPECT_NE(bench.board.VendorIORequest(kConnect, 0x30, 0x33, 0, 0, &zero), 0);
    EXPECT_EQ(bench.board.VendorIORequest(kConnect, 0x30, 0x33, 0, 0, &zero), 0);

    bench.board.FailHeaterRequests(true);
    for (int i = 0; i < 3; ++i) EXPECT_NE(bench.board.VendorIORequest(kHeater, 1, 10, 0, 1, &zero), 0);
    EXPECT_EQ(bench.board.HeaterPercent(1), 0);
    EXPECT_EQ(bench.Write(0x44, 0x03), 0);
    bench.board.FailHeaterRequests(false);
    EXPECT_EQ(bench.board.VendorIORequest(kHeater, 1, 10, 0, 1, &zero), 0);
}

TEST(SimulatedBoard, RecordingIsOffByDefaultAndKeepsStatuses) {
    Bench bench;
    bench.board.AddSmbusChip(0x2E);
    std::array<uint8_t, 4> buffer{};
    bench.BlockRead(0x88, 4, buffer.data());
    bench.board.ReadSmbus(0x2E, 0x3E);
    EXPECT_TRUE(bench.board.Transfers().empty());
    EXPECT_TRUE(bench.board.SmbusAccesses().empty());

    bench.board.SetRecording(true);
    bench.Write(0x44, 0x22);
    bench.BlockRead(0x00, 66, buffer.data());
    bench.board.WriteSmbus(0x2E, 0x44, 0x33);
    bench.board.ReadSmbus(0x2F, 0x3E);
    ASSERT_EQ(bench.board.Transfers().size(), 2u);
    const auto& write = bench.board.Transfers()[0];
    EXPECT_EQ(write.request, kRegister);
    EXPECT_EQ(write.index, 0x2244);
    EXPECT_EQ(write.status, 0);
    EXPECT_EQ(bench.board.Transfers()[1].length, 66);
    EXPECT_NE(bench.board.Transfers()[1].status, 0);
    ASSERT_EQ(bench.board.SmbusAccesses().size(), 2u);
    EXPECT_TRUE(bench.board.SmbusAccesses()[0].write);
    EXPECT_EQ(bench.board.SmbusAccesses()[1].data, 0xFF);

    bench.board.ClearRecording();
    bench.board.SetRecording(false);
    bench.Write(0x44, 0x23);
    EXPECT_TRUE(bench.board.Transfers().empty());
}

TEST(SimulatedBoard, PcSmbusWorksWithoutFirmwareAndReadsOnesWhenEmpty) {
    SimulatedBoard board;
    board.DetectSmbus(0);
    EXPECT_EQ(board.ReadSmbus(0x2E, 0x3E), 0xFF);
    board.WriteSmbus(0x2E, 0x44, 0x10);  // lost
    SimulatedChip& chip = board.AddSmbusChip(0x2E);
    EXPECT_EQ(chip.Peek(0x44), 0x40);
    EXPECT_EQ(board.ReadSmbus(0x2E, 0x3E), 0x41);
    board.WriteSmbus(0x2E, 0x44, 0x10);
    EXPECT_EQ(board.ReadSmbus(0x2E, 0x44), 0x10);
    EXPECT_EQ(board.SmbusChip(0x5C), nullptr);  // the adapter's bus is a different bus
}

TEST(SimulatedBoard, ServesTheLinkLibrariesUntilDestroyed) {
    {
        SimulatedBoard board;
        board.SetFirmwareLoaded(true);
        kestrum::InstallUsbBackend(&board);
        kestrum::InstallSmbusBackend(&board);
        uint8_t byte = 0;
        EXPECT_EQ(kestrum::VendorIORequest(kRegister, kChip, 0x3E, 1, 1, &byte), 0);
        EXPECT_EQ(byte, 0x41);
        EXPECT_EQ(kestrum::ReadSmbus(0x2E, 0x00), 0xFF);
    }
    EXPECT_EQ(kestrum::InstalledUsbBackend(), nullptr);
    EXPECT_THROW(kestrum::ReadSmbus(0x2E, 0x00), kestrum::LibraryNotFound);
}

}  // namespace
