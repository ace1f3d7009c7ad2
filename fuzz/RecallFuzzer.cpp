// Any bytes at all, handed to the settings file recall: it must end, within the data,
// with writes that a register file can take, and the same writes however the bytes arrive.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ByteSource.h"
#include "regmap/SettingsReader.h"

namespace {

using Writes = std::vector<std::pair<int32_t, int32_t>>;

// Hands the bytes out in short reads of changing length, so that the reader's refills fall
// at every kind of place in a line, as they do in a file much larger than its buffer.
class TricklingSource final : public kestrum::ByteSource {
public:
    explicit TricklingSource(std::string_view bytes) : inner_(bytes) {}
    std::size_t Read(std::span<char> buffer) override {
        const std::size_t limit = 1 + reads_++ % 7;
        return inner_.Read(buffer.first(std::min(buffer.size(), limit)));
    }

private:
    kestrum::MemorySource inner_;
    std::size_t reads_ = 0;
};

kestrum::RecallResult Recall(kestrum::ByteSource& source, Writes& writes) {
    return kestrum::RecallSettings(source, [&](int32_t reg, int32_t value) {
        // Two hex digits each: anything else would be clamped or wrapped by the chip link.
        if (reg < 0 || reg > 0xFF || value < 0 || value > 0xFF) std::abort();
        writes.emplace_back(reg, value);
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Writes writes;
    kestrum::MemorySource whole(bytes);
    const kestrum::RecallResult result = Recall(whole, writes);
    if (result.written != static_cast<int>(writes.size())) std::abort();
    // Each write ends with its own line feed.
    if (writes.size() > static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'))) std::abort();
    if (result.outcome == kestrum::RecallOutcome::NoOpeningBrace && !writes.empty()) std::abort();

    Writes trickled;
    TricklingSource trickle(bytes);
    const kestrum::RecallResult again = Recall(trickle, trickled);
    if (again.outcome != result.outcome || again.written != result.written || trickled != writes)
        std::abort();
    return 0;
}
