#pragma once
// kvn.conf: one line of eighteen comma-separated values, no line break, raw bytes.

#include "settings/SimulationSettings.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kv {

inline constexpr const char* kSettingsFileName = "kvn.conf";

// The file's one line for these settings.
std::string formatSettingsLine(const SimulationSettings& settings);

// Every field from its position of the line; a missing or unreadable position gives 0 (false).
SimulationSettings parseSettingsLine(std::string_view line);

// How loadSettings found the file.
enum class SettingsLoad {
    Read,          // the settings come from the file
    Created,       // first start: the file was created with the defaults
    CreateFailed,  // first start, and the file could not be created: the defaults are in use
};

// Sets the defaults, then reads the file, or creates it with the defaults at first start.
SettingsLoad loadSettings(SimulationSettings& settings, const std::filesystem::path& file);

// Replaces the file with the settings as a whole, by way of a temporary file in the same folder;
// false when that fails, and then the file is as it was.
bool saveSettings(const SimulationSettings& settings, const std::filesystem::path& file);

}  // namespace kv
