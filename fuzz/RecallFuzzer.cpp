// Any bytes at all, handed to the settings file recall: it must end, within the data,
// with writes that a register file can take.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "regmap/SettingsReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    int writes = 0;
    const kestrum::RecallResult result = kestrum::RecallSettings(bytes, [&](int32_t reg, int32_t value) {
        // Two hex digits each: anything else would be clamped or wrapped by the chip link.
        if (reg < 0 || reg > 0xFF || value < 0 || value > 0xFF) std::abort();
        ++writes;
    });
    if (result.written != writes) std::abort();
    // Each write ends with its own line feed.
    if (writes > std::count(bytes.begin(), bytes.end(), '\n')) std::abort();
    if (result.outcome == kestrum::RecallOutcome::NoOpeningBrace && writes != 0) std::abort();
    return 0;
}
