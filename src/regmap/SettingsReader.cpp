#include "regmap/SettingsReader.h"

#include "core/Conversions.h"

namespace kestrum {

char SettingsReader::ReadChar(int count) {
    char last = '\0';
    for (int i = 0; i < count && !AtEnd(); ++i) last = bytes_[position_++];
    return last;
}

bool SettingsReader::IsEndOfFile() { return !AtEnd() && ReadChar() == '}'; }

int32_t SettingsReader::ReadByte() {
    const std::size_t start = position_;
    ReadChar(2);
    return LeadingHex(bytes_.substr(start, position_ - start));
}

bool SettingsReader::SkipPast(char wanted) {
    while (!AtEnd())
        if (ReadChar() == wanted) return true;
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

}  // namespace kestrum
