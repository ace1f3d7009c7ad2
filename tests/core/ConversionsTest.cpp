#include "core/Conversions.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <string>

namespace kestrum {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfTheText) {
    EXPECT_EQ(LeadingNumber("250.5"), 250.5);
    EXPECT_EQ(LeadingNumber("  42abc"), 42.0);
    EXPECT_EQ(LeadingNumber("-7.25°C"), -7.25);
    EXPECT_EQ(LeadingNumber("2.5e2x"), 250.0);
    EXPECT_EQ(LeadingNumber("3e"), 3.0);  // an exponent without digits is not part of it
    EXPECT_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_EQ(LeadingNumber(""), 0.0);
    EXPECT_EQ(LeadingNumber("abc"), 0.0);
    EXPECT_EQ(LeadingNumber("-"), 0.0);
    EXPECT_EQ(LeadingNumber("."), 0.0);
}

TEST(LeadingNumber, SaturatesOnHugeInput) {
    EXPECT_EQ(LeadingNumber(std::string(400, '9')), DBL_MAX);
    EXPECT_EQ(LeadingNumber("-" + std::string(400, '9')), -DBL_MAX);
    EXPECT_EQ(LeadingNumber("1e999999"), DBL_MAX);
    EXPECT_EQ(RoundToInt32(LeadingNumber(std::string(400, '9'))), std::numeric_limits<int32_t>::max());
}

TEST(LeadingHex, ReadsHexDigitsUpToTheFirstOtherCharacter) {
    EXPECT_EQ(LeadingHex("5Ch on USB"), 0x5C);
    EXPECT_EQ(LeadingHex("5CH"), 0x5C);
    EXPECT_EQ(LeadingHex("ff"), 0xFF);
    EXPECT_EQ(LeadingHex("2Eh on SMBus"), 0x2E);
    EXPECT_EQ(LeadingHex(""), 0);
    EXPECT_EQ(LeadingHex("h5"), 0);
    EXPECT_EQ(LeadingHex("A\t"), 10);
    EXPECT_EQ(LeadingHex(std::string(40, 'F')), std::numeric_limits<int32_t>::max());
}

TEST(Hex, WritesUpperCaseWithoutLeadingZeros) {
    EXPECT_EQ(Hex(0), "0");
    EXPECT_EQ(Hex(0x0A), "A");
    EXPECT_EQ(Hex(0x5C), "5C");
    EXPECT_EQ(Hex(0x100), "100");
    EXPECT_EQ(Hex(-1), "FFFFFFFF");
}

TEST(RoundHalfEven, RoundsHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(76.5), 76.0);
    EXPECT_EQ(RoundHalfEven(25.5), 26.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundToInt32(250.5), 250);
    EXPECT_EQ(RoundToInt32(99.5), 100);
    EXPECT_FLOAT_EQ(static_cast<float>(RoundHalfEven(0.125, 2)), 0.12f);
    EXPECT_FLOAT_EQ(static_cast<float>(RoundHalfEven(0.625, 2)), 0.62f);
    EXPECT_FLOAT_EQ(static_cast<float>(RoundHalfEven(0.375, 2)), 0.38f);
    EXPECT_EQ(RoundHalfEven(0.0125, 3), 0.012);
}

TEST(RoundToInt, SaturatesAtTheTypeRange) {
    EXPECT_EQ(RoundToInt16(40000.0), std::numeric_limits<int16_t>::max());
    EXPECT_EQ(RoundToInt16(-40000.0), std::numeric_limits<int16_t>::min());
    EXPECT_EQ(RoundToInt32(1e300), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(NumberText, IsTheShortestFormWithoutLeadingBlank) {
    EXPECT_EQ(SingleText(25.25f), "25.25");
    EXPECT_EQ(SingleText(2450.0f), "2450");
    EXPECT_EQ(SingleText(0.12f), "0.12");
    EXPECT_EQ(SingleText(-64.0f), "-64");
    EXPECT_EQ(SingleText(0.0f), "0");
    EXPECT_EQ(SingleText(-0.0f), "0");
    EXPECT_EQ(SingleText(15.94f), "15.94");
    EXPECT_EQ(SingleText(1.0e7f), "1E+07");
    EXPECT_EQ(DoubleText(0.1), "0.1");
    EXPECT_EQ(DoubleText(12.3), "12.3");
    EXPECT_EQ(DoubleText(4294967.296), "4294967.296");
}

TEST(SettingTextToBool, FollowsTheStoredText) {
    EXPECT_FALSE(SettingTextToBool("False"));
    EXPECT_FALSE(SettingTextToBool("FALSE"));
    EXPECT_FALSE(SettingTextToBool("0"));
    EXPECT_FALSE(SettingTextToBool("0.0"));
    EXPECT_TRUE(SettingTextToBool("True"));
    EXPECT_TRUE(SettingTextToBool("true"));
    EXPECT_TRUE(SettingTextToBool("-1"));
    EXPECT_TRUE(SettingTextToBool("2.5"));
    EXPECT_TRUE(SettingTextToBool("maybe"));
    EXPECT_TRUE(SettingTextToBool(""));
    EXPECT_TRUE(SettingTextToBool("0 apples"));
}

}  // namespace
}  // namespace kestrum
