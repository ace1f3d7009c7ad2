#include "core/PinDefinitions.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/Declarations.h"
#include "core/USBStuff.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

using test::KestrumTest;

class PinDefinitionsTest : public KestrumTest {
protected:
    void SetUp() override {
        KestrumTest::SetUp();
        InitBoardIO();
    }
    // Forces Pin Config 1-4 and decodes them as start-up does.
    void Decode(uint8_t config1, uint8_t config2, uint8_t config3, uint8_t config4) {
        DecodePinConfig(config1, config2, config3, config4);
        UpdateBoardSwitches();
    }
    static std::vector<int> VoltagesInUse() {
        std::vector<int> channels;
        for (int n = 0; n < 23; ++n)
            if (gVoltageInUse[n]) channels.push_back(n);
        return channels;
    }
    static std::vector<int> UnavailableLogChannels() {
        std::vector<int> channels;
        for (int i = 0; i < kLogChannelCount; ++i) {
            EXPECT_TRUE(gLogChannel[i].Available == 0.0f || gLogChannel[i].Available == 1.0f);
            if (gLogChannel[i].Available == 0.0f) channels.push_back(i);
        }
        return channels;
    }
    // Every switch-device write since recording began.
    std::vector<test::Access> SwitchWrites() const {
        std::vector<test::Access> writes;
        for (const test::Access& access : Traffic())
            if (access.kind == test::AccessKind::SwitchWrite) writes.push_back(access);
        return writes;
    }
};

TEST_F(PinDefinitionsTest, AllPinConfigRegistersZero) {
    Decode(0x00, 0x00, 0x00, 0x00);
    EXPECT_EQ(gPinFunction[23], 2);
    EXPECT_EQ(gPinFunction[24], 2);
    for (const int pin : {1, 2, 3, 4, 7, 8, 13, 15, 20, 21, 22, 27, 31, 32})
        EXPECT_EQ(gPinFunction[pin], 0) << pin;
    EXPECT_FALSE(gRemote1Enabled);
    EXPECT_FALSE(gRemote3Enabled);
    EXPECT_EQ(VoltagesInUse(), (std::vector<int>{0, 1, 2, 3, 5, 7, 8, 9, 13, 18, 20}));
    // Remote 1 and 3, Tach 1-8, PWM 1, 2 and 4, and the voltage channels out of use.
    std::vector<int> unavailable = {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15};
    for (const int n : {4, 6, 10, 11, 12, 14, 15, 16, 17, 19, 21, 22}) unavailable.push_back(16 + n);
    EXPECT_EQ(UnavailableLogChannels(), unavailable);
    EXPECT_EQ(board.SwitchByte(0x4A), 0x03);
    EXPECT_EQ(board.SwitchByte(0x48), 0xF0);
}

TEST_F(PinDefinitionsTest, RemoteDiodesTakeTheirPinsVoltagesOutOfUse) {
    Decode(0x40, 0x00, 0x00, 0x00);
    EXPECT_TRUE(gRemote1Enabled);
    EXPECT_FALSE(gVoltageInUse[3]);
    EXPECT_FALSE(gVoltageInUse[4]);
    EXPECT_EQ(gLogChannel[1].Available, 1.0f);
    EXPECT_EQ(gLogChannel[3].Available, 0.0f);
    EXPECT_TRUE(gVoltageInUse[5]);

    // Pin 15 and pin 20 at code 1 pick the other scaling while their diode is off.
    Decode(0x20, 0x30, 0x00, 0x00);
    EXPECT_TRUE(gRemote3Enabled);
    EXPECT_FALSE(gVoltageInUse[3]);
    EXPECT_TRUE(gVoltageInUse[4]);
    EXPECT_FALSE(gVoltageInUse[5]);
    EXPECT_FALSE(gVoltageInUse[6]);
    EXPECT_EQ(gLogChannel[3].Available, 1.0f);
    EXPECT_EQ(gLogChannel[1].Available, 0.0f);
}

TEST_F(PinDefinitionsTest, TwoBitFieldsMapThroughTheirTables) {
    // Pin 23 (0x11 bits 1:0) and pin 24 (0x12 bits 7:6): Vccp, 2.5 V, 1.8 V, 1.5 V.
    const int expectedCode[4] = {2, 0, 1, 3};
    const int pin23Channel[4] = {9, 12, 11, 10};
    const int pin24Channel[4] = {13, 16, 15, 14};
    for (uint8_t field = 0; field < 4; ++field) {
        Decode(0x00, field, static_cast<uint8_t>(field << 6), 0x00);
        EXPECT_EQ(gPinFunction[23], expectedCode[field]);
        EXPECT_EQ(gPinFunction[24], expectedCode[field]);
        for (int n = 9; n <= 16; ++n)
            EXPECT_EQ(gVoltageInUse[n], n == pin23Channel[field] || n == pin24Channel[field])
                << int{field} << n;
    }
    // Pins 25 and 26: fields 2 and 3 both mean neither voltage.
    const int pin25InUse[4] = {18, 17, -1, -1};
    const int pin26InUse[4] = {20, 19, -1, -1};
    for (uint8_t field = 0; field < 4; ++field) {
        Decode(0x00, 0x00, static_cast<uint8_t>(field << 4), 0x00);
        EXPECT_EQ(gPinFunction[25], field == 3 ? 2 : field);
        EXPECT_EQ(gVoltageInUse[17], pin25InUse[field] == 17);
        EXPECT_EQ(gVoltageInUse[18], pin25InUse[field] == 18);
        Decode(0x00, 0x00, static_cast<uint8_t>(field << 2), 0x00);
        EXPECT_EQ(gPinFunction[26], field == 3 ? 2 : field);
        EXPECT_EQ(gVoltageInUse[19], pin26InUse[field] == 19);
        EXPECT_EQ(gVoltageInUse[20], pin26InUse[field] == 20);
    }
}

TEST_F(PinDefinitionsTest, Pins28And29PairWithTheOnePointFiveVoltChannels) {
    Decode(0x00, 0x00, 0x00, 0x40);  // pin 28 code 1
    EXPECT_EQ(gPinFunction[28], 1);
    EXPECT_TRUE(gVoltageInUse[22]);
    EXPECT_FALSE(gVoltageInUse[21]);
    EXPECT_EQ(gLogChannel[16 + 22].Available, 1.0f);

    Decode(0x00, 0x00, 0x00, 0x10);  // pin 29 code 1
    EXPECT_EQ(gPinFunction[29], 1);
    EXPECT_TRUE(gVoltageInUse[21]);
    EXPECT_FALSE(gVoltageInUse[22]);

    Decode(0x00, 0x00, 0x00, 0xC0);  // pin 28 field 3: THERM pin
    EXPECT_EQ(gPinFunction[28], 2);
    EXPECT_FALSE(gVoltageInUse[22]);
    EXPECT_EQ(board.SwitchByte(0x4A), 0x07);
    Decode(0x00, 0x00, 0x00, 0x20);  // pin 29 field 2: THERM pin
    EXPECT_EQ(board.SwitchByte(0x4A), 0x0B);
}

TEST_F(PinDefinitionsTest, PinFunctionsRouteTachAndPwmSignals) {
    Decode(0x00, 0x40, 0x00, 0x00);  // pin 13 code 1: PWM 4
    EXPECT_EQ(gLogChannel[15].Available, 1.0f);
    EXPECT_FALSE(gVoltageInUse[2]);

    Decode(0x1F, 0x8C, 0x02, 0x0C);  // tach 1-8 on pins 1-4, 7, 8, 21, 22; PWM 1, 2; pin 27
    for (int i = 4; i <= 13; ++i) EXPECT_EQ(gLogChannel[i].Available, 1.0f) << i;
    for (const int n : {0, 1, 7, 8}) EXPECT_FALSE(gVoltageInUse[n]) << n;
    EXPECT_EQ(gPinFunction[27], 1);
    EXPECT_EQ(board.SwitchByte(0x4A), 0x33);
    EXPECT_EQ(board.SwitchByte(0x48), 0xFF);
    EXPECT_EQ(PackBoardFlags(0), 0x33);
    EXPECT_EQ(PackBoardFlags(1), 0xFF);

    Decode(0x0A, 0x00, 0x00, 0x00);  // tach on pins 2 and 4 only
    EXPECT_EQ(board.SwitchByte(0x48), 0xFA);
}

TEST_F(PinDefinitionsTest, WritesToPinConfigAndEasyConfigRedecodeAndRewriteTheSwitches) {
    Decode(0x00, 0x00, 0x00, 0x00);
    board.SetRecording(true);

    // Pin config changed behind the program's back; the write of 0x14 re-reads it.
    Chip().Poke(0x10, 0x40);
    Chip().Poke(0x13, 0x0C);
    WriteRegister(gDeviceAddress, 0x14, 0x00);
    EXPECT_TRUE(gRemote1Enabled);
    EXPECT_EQ(gLogChannel[12].Available, 1.0f);
    ASSERT_EQ(board.Transfers().size(), 4u);
    EXPECT_EQ(board.Transfers()[0].request, kRequestRegister);
    EXPECT_EQ(board.Transfers()[1].request, kRequestBlockRead);
    EXPECT_EQ(board.Transfers()[1].index, 0x10);
    EXPECT_EQ(board.Transfers()[1].length, 4);
    EXPECT_EQ(SwitchWrites(),
              (std::vector<test::Access>{test::SwitchWrite(0x4A, 0x33), test::SwitchWrite(0x48, 0xF0)}));

    // A write to 0x12 rewrites both devices, even after the switch dialog changed them.
    WriteBoardPort(0x4A, 0x00);
    board.ClearRecording();
    WriteRegister(gDeviceAddress, 0x12, 0x00);
    EXPECT_EQ(SwitchWrites(),
              (std::vector<test::Access>{test::SwitchWrite(0x4A, 0x33), test::SwitchWrite(0x48, 0xF0)}));
    EXPECT_EQ(board.SwitchByte(0x4A), 0x33);

    board.ClearRecording();
    WriteRegister(gDeviceAddress, 0x15, 0x00);
    WriteRegister(gDeviceAddress, 0x0F, 0x00);
    EXPECT_EQ(board.Transfers().size(), 2u) << "only the two register writes";
}

}  // namespace
}  // namespace kestrum
