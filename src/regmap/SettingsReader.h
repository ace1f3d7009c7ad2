#pragma once
// Reading a register settings file back, character by character, in step with how the
// writer lays it out: the reader finds its way by "{", "x", "}" and line feeds only.
// Plain C++ over bytes, so that it can be fuzzed without a chip. The bytes stream through a
// small buffer, so that a file of any size costs the same memory.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/ByteSource.h"

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
    // The most bytes the reader asks its source for, and holds, at a time.
    static constexpr std::size_t kBufferSize = 4096;

    explicit SettingsReader(ByteSource& source) : source_(source) {}

    // Reads count characters and returns the last one; at the end of the data it reads
    // what is left and returns '\0' when nothing was read.
    char ReadChar(int count = 1);
    // Reads one character: true when it is the "}" that closes the register lines.
    bool IsEndOfFile();
    // Reads exactly two characters (fewer at the end) and returns their leading hex
    // digits: "A" then TAB gives 10, no digit gives 0.
    int32_t ReadByte();
    // True when every character has been read; may fetch the next buffer-full to know.
    bool AtEnd();

    // From the "{" to the "}": every register line is handed to write in file order. A
    // line counts once its line feed is read, so a line cut off by the end is not written.
    RecallResult Recall(const RegisterWriter& write);

private:
    // Reads until it has read the character; false when the data ends first.
    bool SkipPast(char wanted);
    bool SkipToEndOfLine() { return SkipPast('\n'); }

    // The next character, when there is one.
    bool Next(char& c);

    ByteSource& source_;
    std::array<char, kBufferSize> buffer_{};
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    bool ended_ = false;  // once the source has nothing left, it is not asked again
};

RecallResult RecallSettings(ByteSource& source, const RegisterWriter& write);

}  // namespace kestrum
