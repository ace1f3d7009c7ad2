#include "regmap/SettingsReader.h"

#include "core/Conversions.h"

namespace kestrum {

bool SettingsReader::AtEnd() {
    if (position_ < filled_) return false;
    if (ended_) return true;
    position_ = 0;
    filled_ = source_.Read(buffer_);
    ended_ = filled_ == 0;
    return ended_;
}

bool SettingsReader::Next(char& c) {
    if (AtEnd()) return false;
    c = buffer_[position_++];
    return true;
}

char SettingsReader::ReadChar(int count) {
    char last = '\0';
    for (int i = 0; i < count; ++i)
        if (!Next(last)) break;
    return last;
}

bool SettingsReader::IsEndOfFile() { return !AtEnd() && ReadChar() == '}'; }

int32_t SettingsReader::ReadByte() {
    std::array<char, 2> digits{};
    std::size_t count = 0;
    while (count < digits.size() && Next(digits[count])) ++count;
    return LeadingHex(std::string_view(digits.data(), count));
}

bool SettingsReader::SkipPast(char wanted) {
    for (char c; Next(c);)
        if (c == wanted) return true;
    return false;
}

RecallResult SettingsReader::Recall(const RegisterWriter& write) {
    RecallResult result;
    if (!SkipPast('{')) {
        result.outcome = RecallOutcome::NoOpeningBrace;
        return result;
    }
    SkipToEndOfLine();
    // Every step reads at least one character, so the loop ends with the data.
    for (;;) {
        if (AtEnd()) break;
        if (IsEndOfFile()) return result;
        if (!SkipPast('x')) break;
        const int32_t reg = ReadByte();
        if (!SkipPast('x')) break;
        const int32_t value = ReadByte();
        if (!SkipToEndOfLine()) break;
        write(reg, value);
        ++result.written;
    }
    result.outcome = RecallOutcome::EndedBeforeClosingBrace;
    return result;
}

RecallResult RecallSettings(ByteSource& source, const RegisterWriter& write) {
    return SettingsReader(source).Recall(write);
}

}  // namespace kestrum
