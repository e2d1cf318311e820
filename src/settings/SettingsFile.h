// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// kvn.conf: one line of eighteen comma-separated values, no line break, raw bytes.

#include "settings/SimulationSettings.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct SettingDescription;

inline constexpr const char* kSettingsFileName = "kvn.conf";

// The file's one line for these settings.
std::string formatSettingsLine(const SimulationSettings& settings);

// Every field from its position of the line; a missing or unreadable position gives 0 (false).
SimulationSettings parseSettingsLine(std::string_view line);

// The first setting whose text in the line would read back as another value (a number too long
// for its field, "inf"), or nothing when the whole line reads back as it was written.
const SettingDescription* settingNotReadBack(const SimulationSettings& settings);

// How loadSettings found the file.
enum class SettingsLoad {
    Read,          // the settings come from the file
    Created,       // first start: the file was created with the defaults
    CreateFailed,  // first start, and the file could not be created: the defaults are in use
    Unreadable,    // the file exists but cannot be read: the defaults are in use, the file is kept
};

// Sets the defaults, then reads the file, or creates it with the defaults when it does not
// exist (only then: a file that exists but cannot be read is never overwritten). For
// CreateFailed and Unreadable the system's error number goes to `error` when one is given. The
// settings of kirvane.ini beside it are read too; what was wrong in that file (each line once,
// its default used) goes to `notes` as messages.
[[nodiscard]] SettingsLoad loadSettings(SimulationSettings& settings, const std::filesystem::path& file,
                                        int* error = nullptr, std::vector<std::string>* notes = nullptr);

// Replaces the file's content with the settings, all or nothing: the line goes to a new file in
// the same folder, which replaces the old one only once it is completely written. False (and the
// system's error number in `error`) when that fails; the old file, or none, is left as it was.
// A line that would not read back as written (settingNotReadBack) is not written: ERANGE.
// kirvane.ini beside it is written the same way when it exists or a value of its own is not the
// default.
[[nodiscard]] bool saveSettings(const SimulationSettings& settings, const std::filesystem::path& file,
                                int* error = nullptr);

// Replaces `file` with `bytes` all or nothing, as saveSettings does; false with the system's
// error number in `error` when that fails.
[[nodiscard]] bool replaceFile(const std::filesystem::path& file, std::string_view bytes,
                               int* error = nullptr);

}  // namespace kv
