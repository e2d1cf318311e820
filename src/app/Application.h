// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up of the program: the main window runs modally on the given platform, in the current
// working directory, and the program ends when it closes.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kv {

class Platform;

// The command line of the window, `kirvane [SIGNAL_FILE]` (and of the scripted window): at
// most one signal file, "--" before a name that begins with '-'.
struct ApplicationArguments {
    std::optional<std::filesystem::path> signalFile;
    std::string error;  // why the arguments cannot be used; empty when they can
};
ApplicationArguments parseApplicationArguments(const std::vector<std::string>& arguments);

// Builds the main window over the application object and runs it; returns the exit status.
// A `signalFile` is loaded once the window has started, as 読み込み would load it.
int runApplication(Platform& platform, const std::optional<std::filesystem::path>& signalFile = std::nullopt);

}  // namespace kv
