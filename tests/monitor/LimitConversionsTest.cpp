#include "monitor/LimitConversions.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/General.h"
#include "core/PinDefinitions.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

using namespace LimitFormSubs;

class LimitConversionsTest : public test::KestrumTest {
protected:
    void SetUp() override {
        KestrumTest::SetUp();
        gTachClockHz = 90000;
    }
    static std::vector<std::string> Offered() {
        std::vector<std::string> items;
        for (const VoltLimitEntry& entry : kVoltLimitEntries)
            if (VoltEntryOffered(entry)) items.emplace_back(entry.item);
        return items;
    }
};

TEST_F(LimitConversionsTest, TachLimitsShowAsRpmAtTheNinetyKilohertzClock) {
    EXPECT_FLOAT_EQ(TachLimitToRpm(0), 12000.0f) << "no limit";
    EXPECT_NEAR(TachLimitToRpm(1), 10567.51f, 0.005f);
    EXPECT_NEAR(TachLimitToRpm(209), 100.45f, 0.005f);
    for (int16_t limit : {210, 211, 254, 255}) EXPECT_FLOAT_EQ(TachLimitToRpm(limit), 0.0f) << limit;
    EXPECT_NEAR(TachLimitToRpm(21), 958.98f, 0.005f);
}

TEST_F(LimitConversionsTest, RpmBecomesTheNearestTachLimitCappedAt255) {
    EXPECT_FLOAT_EQ(RpmToTachLimit(1000.0f), 21.0f) << "5400000 / 256255 = 21.07";
    EXPECT_FLOAT_EQ(RpmToTachLimit(0.0f), 255.0f) << "0 counts as 1 rpm, 10567.51 is capped";
    EXPECT_FLOAT_EQ(RpmToTachLimit(12000.0f), 2.0f);
    // Not an inverse pair: a limit written from a speed shows back near it.
    EXPECT_FLOAT_EQ(RpmToTachLimit(TachLimitToRpm(21)), 22.0f);
}

TEST_F(LimitConversionsTest, VoltageCodesAre192PerNominalWithHalvesToEven) {
    EXPECT_FLOAT_EQ(VoltRegToVolts(192, 12.0f), 12.0f);
    EXPECT_FLOAT_EQ(VoltRegToVolts(150, 4.0f), 3.12f) << "3.125";
    EXPECT_FLOAT_EQ(VoltRegToVolts(0, 3.3f), 0.0f);
    EXPECT_DOUBLE_EQ(VoltScaleMaximum(12.0f), 15.94);
    EXPECT_DOUBLE_EQ(VoltScaleMaximum(0.0f), 0.0);
    EXPECT_EQ(VoltLimitCode(13.2, 12.0f), 211);
    EXPECT_EQ(VoltLimitCode(15.94, 12.0f), 255);
    EXPECT_EQ(VoltLimitCode(40.0, 12.0f), 255);
    EXPECT_EQ(VoltLimitCode(-1.0, 12.0f), 0);
    EXPECT_EQ(VoltLimitCode(1.25, 2.5f), 96);
}

TEST_F(LimitConversionsTest, TheVoltageListOffersWhatThePinDecodeMeasures) {
    // Whatever the configuration, an entry is offered exactly when its channel is in use.
    const std::vector<std::array<uint8_t, 4>> configs{{0x00, 0x00, 0x00, 0x00}, {0x7F, 0xCE, 0x42, 0xFC},
                                                      {0x00, 0x21, 0x96, 0x50}, {0x40, 0x12, 0xE5, 0x90},
                                                      {0x20, 0x33, 0x7A, 0x60}, {0x60, 0xFF, 0xFF, 0xFF}};
    for (const auto& config : configs) {
        DecodePinConfig(config[0], config[1], config[2], config[3]);
        for (const VoltLimitEntry& entry : kVoltLimitEntries)
            EXPECT_EQ(VoltEntryOffered(entry), gVoltageInUse[entry.reading])
                << entry.item << " with 0x" << std::hex << int(config[0]) << " " << int(config[1]) << " "
                << int(config[2]) << " " << int(config[3]);
    }
}

TEST_F(LimitConversionsTest, PinsWithARemoteDiodeOfferNoVoltage) {
    DecodePinConfig(0x40, 0x20, 0x42, 0x00);  // Remote 1 diode, pin 15 code 1
    for (const std::string& item : Offered()) EXPECT_EQ(item.find("(pin15)"), std::string::npos) << item;
    DecodePinConfig(0x00, 0x20, 0x42, 0x00);
    const std::vector<std::string> offered = Offered();
    EXPECT_NE(std::find(offered.begin(), offered.end(), "1.8V (pin15)"), offered.end());
    EXPECT_NE(std::find(offered.begin(), offered.end(), "1.25V (pin19)"), offered.end())
        << "decided by pin 20";
}

TEST_F(LimitConversionsTest, AFanRowNeedsItsTachEnabledAndItsPinATachInput) {
    DecodePinConfig(0x7F, 0xCE, 0x42, 0xFC);
    EXPECT_TRUE(FanRowEnabled(2, 0xFF));
    EXPECT_FALSE(FanRowEnabled(2, 0xFB));
    EXPECT_TRUE(FanOffered(2));
    DecodePinConfig(0x7F, 0xC6, 0x42, 0xFC);  // pin 21 a voltage input again
    EXPECT_FALSE(FanOffered(6));
    EXPECT_FALSE(FanRowEnabled(6, 0xFF));
}

}  // namespace
}  // namespace kestrum
