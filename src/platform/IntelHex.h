#pragma once
// Reader for Intel HEX text, the format of the adapter's firmware file.

#include <cstdint>
#include <string_view>
#include <vector>

namespace kestrum {

struct FirmwareImage {
    struct Block {
        uint32_t address;
        std::vector<uint8_t> data;
    };
    std::vector<Block> blocks;
};

// True when the text is well-formed Intel HEX: every line a record with the right length
// and checksum, a known record type, and an end-of-file record as the last record.
// Blank lines and CR LF line ends are accepted.
bool ParseIntelHex(std::string_view text, FirmwareImage& image);

}  // namespace kestrum
