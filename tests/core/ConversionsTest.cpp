#include "core/Conversions.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "support/CommaLocale.h"

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

TEST(NumberText, IgnoresADesktopWithADecimalComma) {
    const test::CommaLocale comma;
    ASSERT_TRUE(comma.Active()) << "the German locale could not be set up";
    ASSERT_EQ(std::strtod("3.5", nullptr), 3.0) << "the C library reads the comma locale";
    EXPECT_EQ(LeadingNumber("3.5"), 3.5);
    EXPECT_EQ(LeadingNumber("3,5"), 3.0);
    EXPECT_EQ(LeadingNumber("-2.5e1"), -25.0);
    EXPECT_EQ(SingleText(25.25f), "25.25");
    EXPECT_EQ(DoubleText(0.125), "0.125");
    EXPECT_EQ(SingleText(1.5e7f), "1.5E+07");
}

TEST(PercentEncoding, EveryWholePercentRoundTripsAndHalvesGoToEven) {
    for (int percent = 0; percent <= 100; ++percent)
        EXPECT_EQ(PercentOfRegister(RegisterOfPercent(percent)), percent) << percent;
    EXPECT_EQ(RegisterOfPercent(50), 128);  // 127.5 to even
    EXPECT_EQ(RegisterOfPercent(75), 191);  // 191.25
    EXPECT_EQ(RegisterOfPercent(100), 255);
    EXPECT_EQ(PercentOfRegister(0xC0), 75);
    EXPECT_EQ(PercentOfRegister(0x80), 50);
    EXPECT_EQ(PercentOfRegister(255), 100);
    // Not clamped: the write primitive clamps.
    EXPECT_EQ(RegisterOfPercent(200), 510);
    EXPECT_EQ(RegisterOfPercent(-10), -26);
}

TEST(PercentEncoding, ThermTimerLimitsKeepTheirBinaryFloatingProduct) {
    EXPECT_EQ(ThermTimerRegisterOfPercent(50), 127);
    EXPECT_EQ(ThermTimerRegisterOfPercent(100), 255);
    EXPECT_EQ(ThermTimerRegisterOfPercent(0), 0);
}

TEST(TemperatureEncoding, HoldsDegreesPlus64) {
    EXPECT_EQ(CelsiusOfRegister(0), -64);
    EXPECT_EQ(CelsiusOfRegister(255), 191);
    EXPECT_EQ(RegisterOfCelsius(-64), 0);
    EXPECT_EQ(RegisterOfCelsius(191), 255);
    EXPECT_EQ(RegisterOfCelsius(45), 0x6D);
    EXPECT_EQ(RegisterOfCelsius(20.5), 84);  // 20.5 to even
    EXPECT_EQ(RegisterOfCelsius(21.5), 86);
    EXPECT_EQ(RegisterOfCelsius(1e300), std::numeric_limits<int32_t>::max());
}

TEST(BitsAndFields, ReadAndReplaceOnlyTheirOwnBits) {
    EXPECT_TRUE(BitIsSet(0x80, 7));
    EXPECT_FALSE(BitIsSet(0x7F, 7));
    EXPECT_EQ(WithBit(0x00, 3, true), 0x08);
    EXPECT_EQ(WithBit(0xFF, 3, false), 0xF7);
    EXPECT_EQ(WithBit(0x08, 3, true), 0x08);
    // A three-bit field at every position, over a background of ones and of zeros.
    for (int low = 0; low <= 5; ++low) {
        const int32_t mask = 7 << low;
        EXPECT_EQ(FieldOf(0xFF, low, 3), 7) << low;
        EXPECT_EQ(FieldOf(5 << low, low, 3), 5) << low;
        EXPECT_EQ(WithField(0xFF, low, 3, 2), (0xFF & ~mask) | (2 << low)) << low;
        EXPECT_EQ(WithField(0x00, low, 3, 5), 5 << low) << low;
        EXPECT_EQ(WithField(0x00, low, 3, 0xF), mask) << "only the field's width is written";
    }
    EXPECT_EQ(WithField(0x3C, 6, 2, 3), 0xFC);
    EXPECT_EQ(WithField(0xA5, 0, 8, 0x5A), 0x5A);
}

TEST(ListFieldValue, OrsTheIndexOfEveryExactMatch) {
    const std::vector<std::string> pin25 = {"+3.3V", "+1.2V1 Gbit", "VR_Hot1", "VR_Hot1"};
    EXPECT_EQ(ListFieldValue(pin25, "+3.3V"), 0);
    EXPECT_EQ(ListFieldValue(pin25, "+1.2V1 Gbit"), 1);
    EXPECT_EQ(ListFieldValue(pin25, "VR_Hot1"), 3) << "both duplicates";
    EXPECT_EQ(ListFieldValue(pin25, "vr_hot1"), 0) << "case counts";
    EXPECT_EQ(ListFieldValue(pin25, "VR_Hot1 "), 0) << "blanks count";
    EXPECT_EQ(ListFieldValue(pin25, ""), 0);
    const std::vector<std::string> ramp = {"35 sec", "17.6  sec", "11.8  sec"};
    EXPECT_EQ(ListFieldValue(ramp, "17.6  sec"), 1);
    EXPECT_EQ(ListFieldValue(ramp, "17.6 sec"), 0);
}

TEST(IsNumericText, TheWholeTextIsOneNumber) {
    for (const char* text : {"1", "2.5", " 5 ", "-0.5", "+3", "1e2", ".5", "5."})
        EXPECT_TRUE(IsNumericText(text)) << '"' << text << '"';
    for (const char* text : {"", "   ", "abc", "5x", "2 5", ".", "-", "e5", "3e", "1,5"})
        EXPECT_FALSE(IsNumericText(text)) << '"' << text << '"';
}

}  // namespace
}  // namespace kestrum
