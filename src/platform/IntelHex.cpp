#include "platform/IntelHex.h"

#include <optional>

namespace kestrum {

namespace {

std::optional<uint8_t> HexByte(std::string_view text, size_t at) {
    if (at + 2 > text.size()) return std::nullopt;
    int value = 0;
    for (size_t i = at; i < at + 2; ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    return static_cast<uint8_t>(value);
}

enum RecordType : uint8_t {
    kData = 0,
    kEndOfFile = 1,
    kExtSegment = 2,
    kStartSegment = 3,
    kExtLinear = 4,
    kStartLinear = 5
};

// Decodes one record line (without line end) into its bytes, checking length and checksum.
std::optional<std::vector<uint8_t>> DecodeRecord(std::string_view line) {
    if (line.size() < 11 || line[0] != ':' || (line.size() - 1) % 2 != 0) return std::nullopt;
    std::vector<uint8_t> bytes;
    uint8_t sum = 0;
    for (size_t at = 1; at < line.size(); at += 2) {
        auto byte = HexByte(line, at);
        if (!byte) return std::nullopt;
        bytes.push_back(*byte);
        sum = static_cast<uint8_t>(sum + *byte);
    }
    if (sum != 0 || bytes.size() != static_cast<size_t>(bytes[0]) + 5) return std::nullopt;
    return bytes;
}

}  // namespace

bool ParseIntelHex(std::string_view text, FirmwareImage& image) {
    image.blocks.clear();
    uint32_t base = 0;
    bool ended = false;
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (line.empty()) continue;
        if (ended) return false;  // nothing may follow the end-of-file record

        auto record = DecodeRecord(line);
        if (!record) return false;
        const auto& r = *record;
        const uint8_t count = r[0];
        const uint32_t offset = (uint32_t{r[1]} << 8) | r[2];
        switch (r[3]) {
            case kData:
                image.blocks.push_back(
                    {base + offset, std::vector<uint8_t>(r.begin() + 4, r.begin() + 4 + count)});
                break;
            case kEndOfFile:
                if (count != 0) return false;
                ended = true;
                break;
            case kExtSegment:
                if (count != 2) return false;
                base = ((uint32_t{r[4]} << 8) | r[5]) << 4;
                break;
            case kExtLinear:
                if (count != 2) return false;
                base = ((uint32_t{r[4]} << 8) | r[5]) << 16;
                break;
            case kStartSegment:
            case kStartLinear:
                if (count != 4) return false;
                break;
            default: return false;
        }
    }
    return ended;
}

}  // namespace kestrum
