#include "core/Conversions.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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
    if (rounded <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
    if (rounded >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
    return static_cast<Int>(rounded);
}

// printf's %g with the given precision, then the exponent written as "E+07".
std::string GeneralText(double value, int precision) {
    if (value == 0) return "0";  // also turns -0 into 0
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
    std::string text(buffer);
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
    const std::string number(text.substr(0, length));
    const double value = std::strtod(number.c_str(), nullptr);
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
    if (NumberPrefixLength(trimmed) == trimmed.size() && !trimmed.empty()) return LeadingNumber(trimmed) != 0.0;
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace kestrum
