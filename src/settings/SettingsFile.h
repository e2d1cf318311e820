#pragma once
// kvn.conf: one line of eighteen comma-separated values, no line break, raw bytes.

#include "settings/SimulationSettings.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kv {

class Platform;

inline constexpr const char* kSettingsFileName = "kvn.conf";

// The file's one line for these settings.
std::string formatSettingsLine(const SimulationSettings& settings);

// Every field from its position of the line; a missing or unreadable position gives 0 (false).
SimulationSettings parseSettingsLine(std::string_view line);

// Sets the defaults, then reads the file, or creates it with the defaults at first start
// (telling the user so).
void loadSettings(SimulationSettings& settings, const std::filesystem::path& file, Platform& platform);

// Replaces the file's content with the settings; a file that cannot be written is reported.
bool saveSettings(const SimulationSettings& settings, const std::filesystem::path& file, Platform& platform);

}  // namespace kv
