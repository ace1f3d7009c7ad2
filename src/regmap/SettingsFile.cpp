#include "regmap/SettingsFile.h"

#include <fstream>

#include "core/Conversions.h"
#include "core/Folders.h"
#include "core/USBStuff.h"
#include "regmap/RegMapStuff.h"

namespace kestrum {

namespace {

constexpr const char* kLineEnd = "\r\n";

void AppendLine(std::string& text, std::string_view line) {
    text += line;
    text += kLineEnd;
}

}  // namespace

FileDialogRequest SettingsFileRequest(bool forSave) {
    return {DefaultFileFolder(), kSettingsFileFilter, forSave ? kSettingsFileExtension : ""};
}

std::string SettingsFileHeader(std::string_view comment) {
    Clock& clock = SystemClock();
    std::string text;
    AppendLine(text, "Tarnwell Silicon");
    AppendLine(text, "Kestrum Evaluation Software");
    AppendLine(text, "");
    AppendLine(text, "Saved: " + clock.DateText() + " at " + clock.TimeText());
    AppendLine(text, "");
    AppendLine(text, "Comment : " + std::string(TrimBlanks(comment)));
    AppendLine(text, "");
    return text;
}

std::string SettingsFileRegisters(bool onlyChanged) {
    std::string text;
    AppendLine(text, "Address\tData\tRegister");
    AppendLine(text, "{");
    for (const RegisterInfo& record : gRegisters) {
        if (record.ReadOnly) continue;
        const int32_t value = ReadRegister(gDeviceAddress, record.Address);
        if (onlyChanged && value == record.Default) continue;
        text += RegisterLine(record.Address, value, record.Description);
    }
    AppendLine(text, "}");
    return text;
}

std::string RegisterLine(int32_t address, int32_t value, std::string_view name) {
    std::string line = "0x" + Hex(address) + "\t0x" + Hex(value) + "\t // ";
    line += name;
    line += kLineEnd;
    return line;
}

bool WriteSettingsFile(const std::string& path, std::string_view text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    // A full disk shows only when the buffer is flushed.
    file.close();
    return !file.fail();
}

std::string RecallReport(const RecallResult& result) {
    switch (result.outcome) {
        case RecallOutcome::Complete: return "";
        case RecallOutcome::NoOpeningBrace:
            return "The file has no opening \"{\", so it holds no register settings: no registers were "
                   "written.";
        case RecallOutcome::EndedBeforeClosingBrace: break;
    }
    const std::string count =
        result.written == 1 ? "1 register was" : std::to_string(result.written) + " registers were";
    return "The file ended before its closing \"}\": " + count + " written.";
}

std::string SaveFailedText(const std::string& path) {
    return "The settings could not be saved to \"" + path +
           "\". Check that the folder exists, that you may write to it and that the disk is not full.";
}

std::string ReadFailedText(const std::string& path) {
    return "The settings file \"" + path + "\" could not be read.";
}

}  // namespace kestrum
