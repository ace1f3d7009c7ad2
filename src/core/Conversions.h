#pragma once
// The program's text and number conversions, in one place: the leading-number value of
// a text, hex in and out, half-to-even rounding and the number-to-text form.

#include <cstdint>
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

// The text without leading and trailing blanks.
std::string_view TrimBlanks(std::string_view text);

}  // namespace kestrum
