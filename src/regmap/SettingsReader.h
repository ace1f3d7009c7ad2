#pragma once
// Reading a register settings file back, character by character, in step with how the
// writer lays it out: the reader finds its way by "{", "x", "}" and line feeds only.
// Plain C++ over bytes, so that it can be fuzzed without a chip.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace kestrum {

enum class RecallOutcome {
    Complete,                // the closing "}" was reached
    NoOpeningBrace,          // the file has no "{": nothing was written
    EndedBeforeClosingBrace  // the lines before the end were written
};

struct RecallResult {
    RecallOutcome outcome = RecallOutcome::Complete;
    int written = 0;  // register writes made, in file order
};

// Writes one register of the chip; the window passes the register primitive.
using RegisterWriter = std::function<void(int32_t reg, int32_t value)>;

class SettingsReader {
public:
    explicit SettingsReader(std::string_view bytes) : bytes_(bytes) {}

    // Reads count characters and returns the last one; at the end of the data it reads
    // what is left and returns '\0' when nothing was read.
    char ReadChar(int count = 1);
    // Reads one character: true when it is the "}" that closes the register lines.
    bool IsEndOfFile();
    // Reads exactly two characters (fewer at the end) and returns their leading hex
    // digits: "A" then TAB gives 10, no digit gives 0.
    int32_t ReadByte();
    // True when every character has been read.
    bool AtEnd() const { return position_ >= bytes_.size(); }

    // From the "{" to the "}": every register line is handed to write in file order. A
    // line counts once its line feed is read, so a line cut off by the end is not written.
    RecallResult Recall(const RegisterWriter& write);

private:
    // Reads until it has read the character; false when the data ends first.
    bool SkipPast(char wanted);
    bool SkipToEndOfLine() { return SkipPast('\n'); }

    std::string_view bytes_;
    std::size_t position_ = 0;
};

inline RecallResult RecallSettings(std::string_view bytes, const RegisterWriter& write) {
    return SettingsReader(bytes).Recall(write);
}

}  // namespace kestrum
