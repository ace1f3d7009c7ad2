#include "core/Measurement.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/Declarations.h"
#include "core/General.h"
#include "core/USBStuff.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

using test::KestrumTest;

class MeasurementTest : public KestrumTest {
protected:
    void SetUp() override {
        KestrumTest::SetUp();
        gTachClockHz = 90000;
        gChipRevision = 1;
    }
    void Poke(std::initializer_list<std::pair<uint8_t, uint8_t>> values) {
        for (const auto& [reg, value] : values) Chip().Poke(reg, value);
    }
    // Log channels with marks in the fields acquisition must never write.
    static void MarkLogChannels() {
        for (int i = 0; i < kLogChannelCount; ++i) gLogChannel[i] = {-1000.0f - i, 0.5f, 0.25f};
    }
};

TEST_F(MeasurementTest, EachGroupMakesItsBlockReadsInOrder) {
    using test::B;
    const std::vector<std::vector<test::Access>> expected = {
        {B(0x88, 8)}, {B(0x98, 8), B(0xA2, 8)},
        {B(0xAA, 4)}, {B(0x8B, 1), B(0x8F, 8), B(0xA3, 7)},
        {B(0xAE, 2)}, {B(0x5A, 2), B(0x5C, 4), B(0x49, 2), B(0x45, 2)},
    };
    for (int16_t group = 1; group <= 6; ++group) {
        StartRecording();
        ReadMeasurementGroup(group);
        EXPECT_EQ(Traffic(), expected[group - 1]) << "group " << group;
    }
}

TEST_F(MeasurementTest, TemperaturesCountQuarterDegreesAndIgnoreTheLowBits) {
    MarkLogChannels();
    Poke({{0x88, 0x40},
          {0x89, 0x59},
          {0x8A, 0xC0},
          {0x8B, 0x40},
          {0x8C, 0x00},
          {0x8D, 0x00},
          {0x8E, 0xFF},
          {0x8F, 0xFF}});
    ReadMeasurementGroup(1);
    EXPECT_EQ(gTemperature[0], 25.25f);
    EXPECT_EQ(gTemperature[1], 0.75f);
    EXPECT_EQ(gTemperature[2], -64.0f);
    EXPECT_EQ(gTemperature[3], 191.75f);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(gLogChannel[k].Value, gTemperature[k]);
        EXPECT_EQ(gLogChannel[k].Available, 0.5f);
        EXPECT_EQ(gLogChannel[k].Selected, 0.25f);
    }
    EXPECT_EQ(gLogChannel[4].Value, -1004.0f) << "other groups' channels untouched";

    // With Remote 1 as a voltage input, 0x8B is both a temperature high byte and a voltage.
    ReadMeasurementGroup(4);
    EXPECT_EQ(gVoltage[3], 0.83f);  // 0x40 x 2.5 / 192 = 0.8333
    EXPECT_EQ(gVoltage[4], 0.6f);   // 0x40 x 1.8 / 192
}

TEST_F(MeasurementTest, TachCountsOutsideTheSpeedRangeGiveZero) {
    EXPECT_EQ(TachToRPM(0), 0);
    EXPECT_EQ(TachToRPM(-5), 0);
    EXPECT_EQ(TachToRPM(26), 0);
    EXPECT_EQ(TachToRPM(27), 200000);
    EXPECT_EQ(TachToRPM(1000), 5400);
    EXPECT_EQ(TachToRPM(60000), 90);
    EXPECT_EQ(TachToRPM(60001), 0);
    EXPECT_EQ(TachToRPM(0xFFFF), 0);
    EXPECT_EQ(TachToRPM(0x10000), 0);
    EXPECT_EQ(TachToRPM(7), 0) << "raw speed 771428 is above the range";

    // A clock whose sixty-fold does not fit 32 bits still converts.
    gTachClockHz = 100'000'000;
    EXPECT_EQ(TachToRPM(30000), 200000);
    EXPECT_EQ(TachToRPM(0xFFFF), 91554);
}

TEST_F(MeasurementTest, FanSpeedsComeFromBothTachBlocks) {
    MarkLogChannels();
    gFanRPM[8] = 77;
    // Counts 27, 1000, 60000, 0xFFFF, 60001, 26, 0, 2000; high bytes above 0x7F included.
    Poke({{0x98, 27},
          {0x99, 0},
          {0x9A, 0xE8},
          {0x9B, 0x03},
          {0x9C, 0x60},
          {0x9D, 0xEA},
          {0x9E, 0xFF},
          {0x9F, 0xFF},
          {0xA2, 0x61},
          {0xA3, 0xEA},
          {0xA4, 26},
          {0xA5, 0},
          {0xA6, 0},
          {0xA7, 0},
          {0xA8, 0xD0},
          {0xA9, 0x07}});
    ReadMeasurementGroup(2);
    const std::vector<int32_t> rpm(gFanRPM.begin(), gFanRPM.begin() + 8);
    EXPECT_EQ(rpm, (std::vector<int32_t>{200000, 5400, 90, 0, 0, 0, 0, 2700}));
    EXPECT_EQ(gFanRPM[8], 77);
    for (int n = 0; n < 8; ++n) EXPECT_EQ(gLogChannel[4 + n].Value, static_cast<float>(gFanRPM[n]));
}

TEST_F(MeasurementTest, PwmDutyIsInvertedOnRevisionZeroChips) {
    Poke({{0xAA, 0xFF}, {0xAB, 0x00}, {0xAC, 0x80}, {0xAD, 0x40}});
    gPWMDuty[4] = 77;
    ReadMeasurementGroup(3);
    EXPECT_EQ(gPWMDuty[0], 100);
    EXPECT_EQ(gPWMDuty[1], 0);
    EXPECT_EQ(gPWMDuty[2], 50);
    EXPECT_EQ(gPWMDuty[3], 25);
    EXPECT_EQ(gLogChannel[15].Value, 25.0f);

    gChipRevision = 0;
    ReadMeasurementGroup(3);
    EXPECT_EQ(gPWMDuty[0], 0);
    EXPECT_EQ(gPWMDuty[1], 100);
    EXPECT_EQ(gPWMDuty[2], 50);
    EXPECT_EQ(gPWMDuty[3], 75);
    EXPECT_EQ(gLogChannel[12].Value, 0.0f);
    EXPECT_EQ(gLogChannel[13].Value, 100.0f);
    EXPECT_EQ(gPWMDuty[4], 77);
}

TEST_F(MeasurementTest, VoltagesRoundHalfToEvenAtTwoDecimals) {
    MarkLogChannels();
    Poke({{0xA3, 192},
          {0xA5, 255},
          {0xA9, 2},
          {0xA7, 6},
          {0x8B, 48},
          {0x96, 192},
          {0x94, 96},
          {0x95, 192},
          {0x90, 192},
          {0x93, 144}});
    ReadMeasurementGroup(4);
    EXPECT_EQ(gVoltage[0], 12.0f);
    EXPECT_EQ(gVoltage[1], 15.94f);
    EXPECT_EQ(gVoltage[8], 0.12f) << "0.125 rounds to even";
    EXPECT_EQ(gVoltage[7], 0.16f);  // 5 V scale: 6 x 5 / 192 = 0.15625
    EXPECT_EQ(gVoltage[3], 0.62f) << "0.625 rounds to even";
    EXPECT_EQ(gVoltage[2], 3.3f);
    EXPECT_EQ(gVoltage[21], 0.75f);  // 0x94
    EXPECT_EQ(gVoltage[22], 1.5f);   // 0x95
    EXPECT_EQ(gVoltage[9], 2.13f);   // Vccp1 from 0x90
    EXPECT_EQ(gVoltage[12], 2.5f);   // 2.5 V scale of the same 0x90
    EXPECT_EQ(gVoltage[20], 3.0f);   // VBatt
    for (int n = 0; n < kVoltageChannelCount; ++n) {
        EXPECT_EQ(gLogChannel[16 + n].Value, gVoltage[n]) << n;
        EXPECT_EQ(gLogChannel[16 + n].Available, 0.5f);
    }

    Poke({{0xA3, 6}});
    ReadMeasurementGroup(4);
    EXPECT_EQ(gVoltage[0], 0.38f);  // 0.375 rounds to even, upwards
}

TEST_F(MeasurementTest, ThermTimersAreWholePercentAndNotLogged) {
    MarkLogChannels();
    const auto before = gLogChannel;
    Poke({{0xAE, 0xFF}, {0xAF, 0x80}});
    gThermPercent[0] = 7.0f;
    ReadMeasurementGroup(5);
    EXPECT_EQ(gThermPercent[1], 100.0f);
    EXPECT_EQ(gThermPercent[2], 50.0f);
    EXPECT_EQ(gThermPercent[0], 7.0f);
    Poke({{0xAE, 0x01}});
    ReadMeasurementGroup(5);
    EXPECT_EQ(gThermPercent[1], 0.0f);
    for (int i = 0; i < kLogChannelCount; ++i) {
        EXPECT_EQ(gLogChannel[i].Value, before[i].Value);
        EXPECT_EQ(gLogChannel[i].Available, before[i].Available);
        EXPECT_EQ(gLogChannel[i].Selected, before[i].Selected);
    }
}

TEST_F(MeasurementTest, TemperatureParametersAreRegisterMinus64) {
    Poke({{0x5A, 0x40},
          {0x5B, 0xFF},
          {0x5C, 0x00},
          {0x5D, 0x40},
          {0x5E, 0xFF},
          {0x5F, 0x68},
          {0x49, 0x6D},
          {0x4A, 0x00},
          {0x45, 0xFF},
          {0x46, 0x5F}});
    gOpPoint[0] = gTempHighLimit[0] = gTempLowLimit[0] = 77;
    ReadMeasurementGroup(6);
    EXPECT_EQ(gOpPoint[1], 0);
    EXPECT_EQ(gOpPoint[2], 191);
    EXPECT_EQ(gTmin, (std::array<int16_t, 4>{-64, 0, 191, 40}));
    EXPECT_EQ(gTempHighLimit[1], 45);
    EXPECT_EQ(gTempHighLimit[2], -64);
    EXPECT_EQ(gTempLowLimit[1], 191);
    EXPECT_EQ(gTempLowLimit[2], 31);
    EXPECT_EQ(gOpPoint[0], 77);
    EXPECT_EQ(gTempHighLimit[0], 77);
    EXPECT_EQ(gTempLowLimit[0], 77);
    const std::vector<float> logged = {gLogChannel[39].Value, gLogChannel[40].Value, gLogChannel[41].Value,
                                       gLogChannel[42].Value, gLogChannel[43].Value, gLogChannel[44].Value};
    EXPECT_EQ(logged, (std::vector<float>{-64, 0, 191, 40, 0, 191}));
}

TEST_F(MeasurementTest, GroupNumbersOutsideOneToSixTouchNothing) {
    MarkLogChannels();
    gTemperature.fill(1.5f);
    gVoltage.fill(2.5f);
    const auto logBefore = gLogChannel;
    board.SetRecording(true);
    for (const int16_t group : {int16_t{0}, int16_t{7}, int16_t{-1}, int16_t{32767}})
        ReadMeasurementGroup(group);
    EXPECT_TRUE(board.Transfers().empty());
    EXPECT_EQ(gTemperature[2], 1.5f);
    EXPECT_EQ(gVoltage[22], 2.5f);
    for (int i = 0; i < kLogChannelCount; ++i) EXPECT_EQ(gLogChannel[i].Value, logBefore[i].Value);
}

}  // namespace
}  // namespace kestrum
