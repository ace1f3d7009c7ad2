#pragma once
// The program's text and number conversions, in one place: the leading-number value of
// a text, hex in and out, half-to-even rounding and the number-to-text form.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kestrum {

// The decimal number at the start of a text (after leading blanks): optional sign,
// digits, fraction and exponent. 0 when the text does not begin with one; saturates at
// the largest finite double instead of overflowing.
double LeadingNumber(std::string_view text);

// The leading hex digits of a text, either case, up to the first other character:
// "5Ch" gives 0x5C, "" and "xyz" give 0. Saturates at INT32_MAX.
int32_t LeadingHex(std::string_view text);

// Upper-case hex without leading zeros; negative numbers as their 32-bit pattern.
std::string Hex(int64_t value);

// Half-to-even rounding, to a whole number or to a number of decimals.
double RoundHalfEven(double value);
double RoundHalfEven(double value, int decimals);

// Half-to-even rounding to an integer type, saturating at the type's range (NaN gives 0).
int32_t RoundToInt32(double value);
int16_t RoundToInt16(double value);

// The locale-independent number-to-text form without the leading blank of positive
// numbers: up to 7 significant digits for a single, 15 for a double, no trailing zeros
// ("25.25", "2450", "0.12", "-3.5", "1E+07").
std::string SingleText(float value);
std::string DoubleText(double value);

// The Boolean reading of a stored setting text: "True"/"False" in any case, or a number
// (0 is False, any other number True); any other text counts as True.
bool SettingTextToBool(std::string_view text);

// Register encodings. Percent registers are shown as Round(reg x 100 / 255) and written as
// Round(percent x 255 / 100); the two THERM timer limits alone are written as
// Round(percent x 2.55) in binary floating point, so that 50 gives 127 there, not 128.
// Temperature limits, Tmin and operating points hold degrees C + 64. Written values are
// not clamped here: the write primitive clamps to 0..255.
inline constexpr int32_t kTemperatureOffset = 64;
int32_t PercentOfRegister(int32_t reg);
int32_t RegisterOfPercent(double percent);
int32_t ThermTimerRegisterOfPercent(double percent);
int32_t CelsiusOfRegister(int32_t reg);
int32_t RegisterOfCelsius(double celsius);

// Bits and fields of a register value; a field is `width` bits from `lowBit` up.
bool BitIsSet(int32_t byte, int bit);
int32_t WithBit(int32_t byte, int bit, bool set);
int32_t FieldOf(int32_t byte, int lowBit, int width);
// The byte with the field replaced by the value's low `width` bits.
int32_t WithField(int32_t byte, int lowBit, int width, int32_t value);

// A list's text as a field value: the OR of the index of every item whose text equals it
// exactly (lists with duplicate items give both indexes), 0 when none does.
int32_t ListFieldValue(std::span<const std::string> items, std::string_view text);

// The text without leading and trailing blanks.
std::string_view TrimBlanks(std::string_view text);

// Whether the whole text, blanks around it aside, is one decimal number of the form
// LeadingNumber reads ("2.5", " -1e2 "); "", "abc" and "5x" are not.
bool IsNumericText(std::string_view text);

}  // namespace kestrum
