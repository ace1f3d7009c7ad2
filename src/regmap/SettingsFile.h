#pragma once
// The register settings file (".sav"): a short header, the comment, and one line per
// writable register with its address, value and name, readable and editable by a person.
// The reader is in SettingsReader.h; the two must stay in step.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Seams.h"
#include "regmap/SettingsReader.h"

namespace kestrum {

inline constexpr const char* kSettingsFileFilter = "Text Files (*.sav)|*.sav";
inline constexpr const char* kSettingsFileExtension = "sav";

// The dialog request of a save (the extension is added to a name without one) or a recall,
// starting in the default file folder.
FileDialogRequest SettingsFileRequest(bool forSave);

// Lines 1-7: maker, program, when it was saved (from the clock), the trimmed comment.
std::string SettingsFileHeader(std::string_view comment);
// The column heading, "{", a line for each writable record in table order as read from
// the chip now (only those that differ from their default when onlyChanged), and "}".
std::string SettingsFileRegisters(bool onlyChanged);
// "0x" address TAB "0x" value TAB " // " name, with its CR LF.
std::string RegisterLine(int32_t address, int32_t value, std::string_view name);

// Replaces the file with the text; false when it could not be written completely.
bool WriteSettingsFile(const std::string& path, std::string_view text);

// What the user is told after a recall, or "" when it reached its closing "}".
std::string RecallReport(const RecallResult& result);
std::string SaveFailedText(const std::string& path);
std::string ReadFailedText(const std::string& path);

}  // namespace kestrum
