#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "regmap/RegMapStuff.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

class RegisterTableTest : public test::KestrumTest {
protected:
    void SetUp() override {
        KestrumTest::SetUp();
        InitRegisterTable();
    }
};

TEST_F(RegisterTableTest, LayoutOfTheRecords) {
    // Primaries: one per address, ascending.
    for (int i = 1; i < kPrimaryRegisterCount; ++i)
        EXPECT_LT(gRegisters[i - 1].Address, gRegisters[i].Address) << "record " << i;

    const std::vector<int32_t> alternates = {0x45, 0x47, 0x49, 0x4B, 0x4C, 0x78, 0x7C, 0x7D, 0x7E,
                                             0x7F, 0x8B, 0x8F, 0xA3, 0xA5, 0xA7, 0xA9, 0x50};
    for (int i = 0; i < 17; ++i) EXPECT_EQ(gRegisters[159 + i].Address, alternates[i]) << "alternate " << i;

    int readOnly = 0, shared = 0;
    for (const RegisterInfo& r : gRegisters) {
        readOnly += r.ReadOnly;
        shared += r.SharedAddress;
        EXPECT_EQ(r.Description, r.Name);
        EXPECT_FALSE(r.Saved);
        EXPECT_EQ(std::count(r.BitNames.begin(), r.BitNames.end(), ':'), 7) << r.Name;
        const bool inAlternates =
            std::find(alternates.begin(), alternates.end(), r.Address) != alternates.end();
        EXPECT_EQ(r.SharedAddress, inAlternates) << r.Name;
    }
    EXPECT_EQ(readOnly, 56);
    EXPECT_EQ(shared, 34);

    // Every record names a different register.
    for (int i = 0; i < kRegisterCount; ++i) EXPECT_EQ(FindRegisterByName(gRegisters[i].Name), i);
}

TEST_F(RegisterTableTest, EveryAddressUpToC6HasARecordExceptTheGaps) {
    const std::set<int32_t> gaps = {0x04, 0x05, 0x06, 0x15, 0x17, 0x1F, 0x20, 0x27, 0x2D, 0x2E,
                                    0x2F, 0x39, 0x3A, 0x3B, 0x3C, 0x40, 0x41, 0x42, 0x43, 0x65,
                                    0x66, 0x67, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x97, 0xA0,
                                    0xA1, 0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xC2};
    for (int32_t address = 0; address <= 0xC6; ++address)
        EXPECT_EQ(FindRegisterByAddress(address) == kRegisterNotFound, gaps.count(address) == 1) << address;
}

TEST_F(RegisterTableTest, ReadOnlyRanges) {
    for (const RegisterInfo& r : gRegisters) {
        const int32_t a = r.Address;
        const bool expected = (a >= 0x3D && a <= 0x3F) || (a >= 0x88 && a <= 0x96) ||
                              (a >= 0x98 && a <= 0xA9) || (a >= 0xAE && a <= 0xC6);
        EXPECT_EQ(r.ReadOnly, expected) << r.Name;
    }
}

TEST_F(RegisterTableTest, LookupByAddressFindsThePrimary) {
    EXPECT_EQ(gRegisters[FindRegisterByAddress(0x45)].Name, "Remote 1 Low Limit");
    EXPECT_EQ(FindRegisterByAddress(0x50), 61);
    EXPECT_EQ(gRegisters[61].Name, "Local THERM2 Limit");
    EXPECT_EQ(FindRegisterByName("1.5V1 (3GIO) High Limit"), 175);
    EXPECT_EQ(FindRegisterByAddress(0xC2), kRegisterNotFound);
    EXPECT_EQ(gRegisters[FindRegisterByAddress(0xC1)].Name, "Thermal Status 2,BMC");
    EXPECT_EQ(gRegisters[FindRegisterByAddress(0xC3)].Name, "Voltage Status 1,BMC");
    EXPECT_EQ(FindRegisterByAddress(0x100), kRegisterNotFound);
    EXPECT_EQ(FindRegisterByAddress(0x04), kRegisterNotFound);
}

TEST_F(RegisterTableTest, LookupByNameIsExact) {
    EXPECT_EQ(FindRegisterByName("Configuration 0"), 0);
    EXPECT_EQ(FindRegisterByName("configuration 0"), kRegisterNotFound);
    EXPECT_EQ(FindRegisterByName("Configuration 0 "), kRegisterNotFound);
    EXPECT_EQ(FindRegisterByName(""), kRegisterNotFound);
    EXPECT_EQ(FindRegisterByName("Pin 15 Low Limit"), 159);
}

TEST_F(RegisterTableTest, FieldsOfSampleRecords) {
    const RegisterInfo& pin2 = gRegisters[FindRegisterByName("Pin Config 2")];
    EXPECT_EQ(pin2.Address, 0x11);
    EXPECT_EQ(pin2.Default, 0xCE);
    const auto bits = SplitBitNames(pin2);
    EXPECT_EQ(bits[0], "P8");
    EXPECT_EQ(bits[6], "P23");
    EXPECT_EQ(bits[7], "P23");

    const RegisterInfo& tmin = gRegisters[FindRegisterByName("Local Tmin")];
    EXPECT_EQ(tmin.Address, 0x5C);
    EXPECT_EQ(tmin.Default, 0x9A);
    EXPECT_EQ(SplitBitNames(tmin)[0], "7");
    EXPECT_EQ(SplitBitNames(tmin)[7], "0");

    const RegisterInfo& hyst = gRegisters[FindRegisterByName("Remote 2 / Remote 3 Hyst")];
    EXPECT_EQ(hyst.Address, 0x55);
    EXPECT_EQ(gRegisters[FindRegisterByName("Thermal Status 3,Host")].Address, 0xBA);
    EXPECT_TRUE(gRegisters[FindRegisterByName("Pin 19 Voltage")].ReadOnly);
    EXPECT_EQ(gRegisters[FindRegisterByName("Pin 19 Voltage")].Default, 0xFF);
}

TEST_F(RegisterTableTest, BuildingTwiceGivesTheSameTable) {
    InitRegisterTable();
    int shared = 0;
    for (const RegisterInfo& r : gRegisters) shared += r.SharedAddress;
    EXPECT_EQ(shared, 34);
}

}  // namespace
}  // namespace kestrum
