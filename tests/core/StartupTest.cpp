#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/General.h"
#include "core/USBStuff.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

using test::KestrumTest;

// A PC SMBus library that only notes what start-up asked of it.
class SpySmbus final : public SmbusBackend {
public:
    std::vector<int32_t> detects;
    int reads = 0;
    void DetectSmbus(int32_t reserved) override { detects.push_back(reserved); }
    uint8_t ReadSmbus(uint8_t, uint8_t) override {
        ++reads;
        return 0xFF;
    }
    void WriteSmbus(uint8_t, uint8_t, uint8_t) override {}
};

// A USB adapter library whose adapter takes no firmware file, however good: it answers 0,
// or the library fails with an exception.
class RefusingAdapter final : public UsbAdapterBackend {
public:
    explicit RefusingAdapter(bool throws) : throws_(throws) {}
    int16_t LoadFirmWare(const char*) override {
        if (throws_) throw std::runtime_error("adapter not responding");
        return 0;
    }
    int16_t VendorIORequest(int16_t, int32_t, int32_t, int16_t, int16_t, uint8_t*) override { return 1; }

private:
    bool throws_;
};

constexpr const char* kNoAdapter = "kestrum-eval: USB adapter not available: ";

class StartupTest : public KestrumTest {
protected:
    void SetUp() override {
        KestrumTest::SetUp();
        board.SetFirmwareLoaded(false);
    }
    std::string FirmwarePath() const { return TempPath("KestrumFW.Hex"); }
    void WriteFirmware(const std::string& text) { std::ofstream(FirmwarePath(), std::ios::binary) << text; }
    // Probes where no link can be had; what start-up said on standard error.
    std::string ProbeExpectingTheEnd() {
        diagnostics.str("");
        EXPECT_THROW(ProbeLinks(), ProgramEnded);
        EXPECT_FALSE(gUSBPresent);
        return diagnostics.str();
    }
};

TEST_F(StartupTest, NeitherLinkShowsTheMessageAndEnds) {
    InstallUsbBackend(nullptr);
    bool unloaded = false;
    SetWindowUnloader([&] { unloaded = true; });
    EXPECT_THROW(ProbeLinks(), ProgramEnded);
    ExpectFatalEnd("USB/SMBus Hardware not detected");
    EXPECT_FALSE(unloaded) << "nothing has been shown yet";
    EXPECT_EQ(diagnostics.str(), "") << "without the adapter library there is no firmware to speak of";
}

TEST_F(StartupTest, OnlyTheAdapterWithAValidFirmwareFile) {
    ProgramDirWithFirmware();
    ProbeLinks();
    EXPECT_TRUE(gUSBPresent);
    EXPECT_FALSE(gSMBusPresent);
    EXPECT_TRUE(board.FirmwareLoaded());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(diagnostics.str(), "");
}

TEST_F(StartupTest, OnlyThePcSmbusIsProbedAndDetected) {
    InstallUsbBackend(nullptr);
    SpySmbus smbus;
    InstallSmbusBackend(&smbus);
    ProbeLinks();
    EXPECT_TRUE(gSMBusPresent);
    EXPECT_FALSE(gUSBPresent);
    EXPECT_EQ(smbus.reads, 1);
    EXPECT_EQ(smbus.detects, std::vector<int32_t>{0});
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StartupTest, AMissingEmptyCorruptOrUnreadableFirmwareFileMeansNoAdapterAndSaysWhy) {
    const std::string file = kNoAdapter + std::string("firmware file ") + FirmwarePath();
    const std::pair<std::string, std::string> cases[] = {
        {"", " is empty"},
        {":0100000041BF\r\n:00000001FF\r\n", " is not a valid Intel HEX file"},  // wrong checksum
        {":0100000041BE\r\n", " is not a valid Intel HEX file"},                 // no end-of-file record
        {"this is not a hex file\r\n", " is not a valid Intel HEX file"},
    };
    for (const auto& [text, fault] : cases) {
        WriteFirmware(text);
        EXPECT_EQ(ProbeExpectingTheEnd(), file + fault + "\n") << text;
    }
    std::filesystem::remove(FirmwarePath());
    EXPECT_EQ(ProbeExpectingTheEnd(), file + " is missing\n");
    ASSERT_TRUE(std::filesystem::create_directory(FirmwarePath()));
    EXPECT_EQ(ProbeExpectingTheEnd(), file + " is not a regular file\n");
    std::filesystem::remove(FirmwarePath());
    std::filesystem::create_symlink("/dev/zero", FirmwarePath());  // read, it would never end
    EXPECT_EQ(ProbeExpectingTheEnd(), file + " is not a regular file\n");
    std::filesystem::remove(FirmwarePath());

    diagnostics.str("");
    WriteFirmware(":0100000041BE\r\n:00000001FF\r\n");
    ProbeLinks();
    EXPECT_TRUE(gUSBPresent);
    EXPECT_EQ(diagnostics.str(), "");
    EXPECT_EQ(messages.shown.size(), 7u) << "one message for each fault, none for the valid file";
}

TEST_F(StartupTest, AnAdapterThatRefusesAGoodFileIsSaidWhileThePcSmbusCarriesOn) {
    ProgramDirWithFirmware();
    SpySmbus smbus;
    InstallSmbusBackend(&smbus);
    for (const bool throws : {false, true}) {
        RefusingAdapter adapter(throws);
        InstallUsbBackend(&adapter);
        diagnostics.str("");
        ProbeLinks();
        EXPECT_FALSE(gUSBPresent);
        EXPECT_TRUE(gSMBusPresent);
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(diagnostics.str(), kNoAdapter + std::string("the adapter did not accept firmware file ") +
                                         FirmwarePath() + "\n");
    }
    InstallUsbBackend(nullptr);
}

TEST_F(StartupTest, AFirmwarePathTooLongForTheAdapterLibraryIsSaid) {
    const std::string directory = "/" + std::string(520, 'd');
    SetProgramDirectory(directory);
    EXPECT_EQ(ProbeExpectingTheEnd(), kNoAdapter + std::string("firmware file ") + directory +
                                          "/KestrumFW.Hex has a longer path than the adapter library takes "
                                          "(512 characters)\n");
}

TEST_F(StartupTest, BothLinksPresent) {
    ProgramDirWithFirmware();
    InstallSmbusBackend(&board);
    ProbeLinks();
    EXPECT_TRUE(gUSBPresent);
    EXPECT_TRUE(gSMBusPresent);
}

using DelayTest = KestrumTest;

// Readings that take almost no time: the naps move the clock, yet a wait that spins ends too.
constexpr double kInstant = 1e-6;

TEST_F(DelayTest, NapsBetweenReadingsUntilTheClockReadsPastTheEnd) {
    clock.step = kInstant;
    clock.SetTime(60.0);
    Delay(50);
    EXPECT_GT(clock.Now() - 60.0, 0.050);
    EXPECT_LE(clock.Now() - 60.0, 0.050 + test::ScriptedClock::kNap + 2 * kInstant)
        << "ended at the first reading past";
    EXPECT_GE(clock.naps, 50);
    EXPECT_LE(clock.readings, clock.naps + 2) << "no two readings without a nap between them";
}

TEST_F(DelayTest, WaitsAtLeastTheTimeWhenReadingsTakeTimeToo) {
    const double start = clock.Now();
    Delay(50);
    EXPECT_GE(clock.Now() - start, 0.050);
    EXPECT_LT(clock.Now() - start, 0.060);
    EXPECT_GT(clock.naps, 0);

    clock.SetTime(60.0);  // where single precision tells 1 ms apart
    const int napsBefore = clock.naps;
    Delay(0);
    EXPECT_EQ(clock.naps, napsBefore) << "a wait already over on its first reading does not sleep";
}

TEST_F(DelayTest, SleepsThroughWhatRemainsTwentyMillisecondsAtATime) {
    clock.step = kInstant;
    clock.napsTakeTheirLength = true;
    clock.SetTime(60.0);
    Delay(1000);
    EXPECT_GT(clock.Now() - 60.0, 1.0);
    // The last nap is the shortest one when the wait is all but over.
    EXPECT_LE(clock.Now() - 60.0, 1.0 + test::ScriptedClock::kNap + 1e-5) << "no nap ran past the end";
    EXPECT_LE(clock.naps, 51);
    EXPECT_LE(clock.longestNapMs, 20.0f);
}

TEST_F(DelayTest, BegunBeforeMidnightEndsAtTheWrap) {
    clock.step = kInstant;
    clock.SetTime(test::ScriptedClock::kDay - 0.010);
    Delay(1000);
    EXPECT_LT(clock.Now(), 0.1) << "ended just after the wrap, not a second later";
    EXPECT_LT(clock.naps, 100);
}

TEST_F(StartupTest, InitDefaultsReadsTheSelectedChip) {
    board.SetFirmwareLoaded(true);
    board.AddAdapterChip(0x5A);  // a second chip that must not be asked
    Chip().Poke(0x3F, 3);
    Chip().Poke(0x22, 0xE1);
    InitDefaults();
    EXPECT_EQ(gChipRevision, 3);
    EXPECT_EQ(gTachClockHz, 90000);
    EXPECT_EQ(gLogIntervalMs, 100);
    EXPECT_EQ(gMeasurePeriodMs, 100);
    EXPECT_EQ(gGraphPeriodMs, 50);
    EXPECT_TRUE(gMeasureEnabled);
    EXPECT_FALSE(gPWMManual[1]);
    EXPECT_TRUE(gPWMManual[2]);
    EXPECT_FALSE(gPWMManual[3]);
}

}  // namespace
}  // namespace kestrum
