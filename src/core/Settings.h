#pragma once
// Per-user application settings: application key = the application title, section
// "Settings". Values are stored as text.

#include <string>

namespace kestrum {

std::string GetSetting(const std::string& key, const std::string& defaultText);
void SaveSetting(const std::string& key, const std::string& text);

}  // namespace kestrum
