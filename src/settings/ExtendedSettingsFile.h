// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// kirvane.ini: the settings kvn.conf has no place for, beside it in the same folder. UTF-8 text,
// a [simulation] section of `name = value` lines, `#` comments:
//
//   # how the tax is computed
//   [simulation]
//   taxModel = 1
//   undecidedHoldDays = 20
//
// A setting without a line keeps its default. The file is written only when it exists already
// or a value of its own is not the default, and then all or nothing, keeping its comments and
// every line it does not know.

#include "settings/SimulationSettings.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

inline constexpr const char* kExtendedSettingsFileName = "kirvane.ini";

// kirvane.ini beside the settings file `kvnConf`.
std::filesystem::path extendedSettingsFile(const std::filesystem::path& kvnConf);

// Sets the values of kirvane.ini's settings from its text; every other setting stays as it is.
// Each line that names no such setting, or whose value is not one the setting takes, leaves that
// setting at its default and gives one message (code page 932) naming the line.
std::vector<std::string> parseExtendedSettings(std::string_view text, SimulationSettings& settings);

// The same from the file; a missing file sets the defaults and says nothing, an unreadable one
// says so once.
std::vector<std::string> loadExtendedSettings(SimulationSettings& settings,
                                              const std::filesystem::path& file);

// The file's new text for `settings`, from its old text (empty when there is none): known
// settings' lines take their values, settings that differ from their default and have no line
// are added to the [simulation] section (made at the end when there is none), and every other
// line stays as it was.
std::string formatExtendedSettings(std::string_view oldText, const SimulationSettings& settings);

// Writes the file when it exists or a value differs from its default; true when nothing needed
// writing. False, with the system's error number in `error`, when a write failed.
[[nodiscard]] bool saveExtendedSettings(const SimulationSettings& settings, const std::filesystem::path& file,
                                        int* error = nullptr);

// Copies the values of kirvane.ini's settings from `from` to `to`.
void copyExtendedSettings(const SimulationSettings& from, SimulationSettings& to);

}  // namespace kv
