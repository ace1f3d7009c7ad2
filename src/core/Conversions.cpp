#include "core/Conversions.h"

#include <locale.h>
#include <stdlib.h>

#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace kestrum {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Length of the decimal number at the start of text, 0 when there is none.
size_t NumberPrefixLength(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const size_t mantissaStart = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i;
    }
    const size_t mantissaLength = i - mantissaStart;
    if (mantissaLength == 0 || (mantissaLength == 1 && text[mantissaStart] == '.')) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) ++j;
            i = j;
        }
    }
    return i;
}

template <typename Int>
Int RoundToInt(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = RoundHalfEven(value);
    if (rounded <= static_cast<double>(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    if (rounded >= static_cast<double>(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    return static_cast<Int>(rounded);
}

// The %g form with the given precision, whatever the desktop's locale, then the exponent
// written as "E+07".
std::string GeneralText(double value, int precision) {
    if (value == 0) return "0";  // also turns -0 into 0
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
    if (error != std::errc()) return "0";
    std::string text(buffer, end);
    const size_t e = text.find('e');
    if (e != std::string::npos) {
        std::string mantissa = text.substr(0, e);
        std::string exponent = text.substr(e + 1);  // sign and at least two digits
        const char sign = exponent[0];
        exponent.erase(0, 1);
        while (exponent.size() > 2 && exponent[0] == '0') exponent.erase(0, 1);
        text = mantissa + "E" + sign + exponent;
    }
    return text;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    text.remove_prefix(start);
    const size_t length = NumberPrefixLength(text);
    if (length == 0) return 0.0;
    // Read in the C locale: the point is the decimal separator whatever the desktop says.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string number(text.substr(0, length));
    const double value = strtod_l(number.c_str(), nullptr, cLocale);
    if (std::isinf(value)) return value > 0 ? DBL_MAX : -DBL_MAX;
    return value;
}

int32_t LeadingHex(std::string_view text) {
    int64_t value = 0;
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) break;
        value = value * 16 + digit;
        if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(value);
}

std::string Hex(int64_t value) {
    uint64_t bits = value < 0 ? static_cast<uint32_t>(value) : static_cast<uint64_t>(value);
    if (bits == 0) return "0";
    std::string text;
    while (bits != 0) {
        text.insert(text.begin(), "0123456789ABCDEF"[bits & 0xF]);
        bits >>= 4;
    }
    return text;
}

double RoundHalfEven(double value) { return std::nearbyint(value); }

double RoundHalfEven(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!std::isfinite(scaled)) return value;
    return std::nearbyint(scaled) / scale;
}

int32_t RoundToInt32(double value) { return RoundToInt<int32_t>(value); }
int16_t RoundToInt16(double value) { return RoundToInt<int16_t>(value); }

std::string SingleText(float value) { return GeneralText(value, 7); }
std::string DoubleText(double value) { return GeneralText(value, 15); }

bool SettingTextToBool(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    std::string lower;
    for (const char c : trimmed) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "false") return false;
    if (lower == "true") return true;
    if (IsNumericText(trimmed)) return LeadingNumber(trimmed) != 0.0;
    return true;
}

int32_t PercentOfRegister(int32_t reg) { return RoundToInt32(reg * 100.0 / 255.0); }

// percent x 255 is exact for whole percents, so a true half (50 gives 127.5) rounds to even.
int32_t RegisterOfPercent(double percent) { return RoundToInt32(percent * 255.0 / 100.0); }

int32_t ThermTimerRegisterOfPercent(double percent) { return RoundToInt32(percent * 2.55); }

int32_t CelsiusOfRegister(int32_t reg) { return reg - kTemperatureOffset; }

int32_t RegisterOfCelsius(double celsius) {
    const int32_t whole = RoundToInt32(celsius);
    return whole > std::numeric_limits<int32_t>::max() - kTemperatureOffset
               ? std::numeric_limits<int32_t>::max()
               : whole + kTemperatureOffset;
}

int32_t FieldMask(int lowBit, int width) { return ((1 << width) - 1) << lowBit; }

bool BitIsSet(int32_t byte, int bit) { return (byte & (1 << bit)) != 0; }

int32_t WithBit(int32_t byte, int bit, bool set) { return set ? byte | (1 << bit) : byte & ~(1 << bit); }

int32_t FieldOf(int32_t byte, int lowBit, int width) { return (byte & FieldMask(lowBit, width)) >> lowBit; }

int32_t WithField(int32_t byte, int lowBit, int width, int32_t value) {
    const int32_t mask = FieldMask(lowBit, width);
    return (byte & ~mask) | ((value << lowBit) & mask);
}

int32_t ListFieldValue(std::span<const std::string> items, std::string_view text) {
    int32_t value = 0;
    for (size_t index = 0; index < items.size(); ++index)
        if (items[index] == text) value |= static_cast<int32_t>(index);
    return value;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

bool IsNumericText(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    return !trimmed.empty() && NumberPrefixLength(trimmed) == trimmed.size();
}

}  // namespace kestrum
