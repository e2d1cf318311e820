// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every command-line program of Kirvane does alike: --help and --version, and a one-line
// complaint with exit status 2 when its command line cannot be used.

#include <string>
#include <string_view>
#include <vector>

namespace kv {

inline constexpr int kExitUsage = 2;

// "kirvane-batch (Kirvane) 1.0+g1a2b3c4\n", then the copyright and the licence.
std::string versionText(std::string_view program);

// "kirvane-batch: <problem>（使い方は kirvane-batch --help）\n"
std::string usageErrorText(std::string_view program, std::string_view problem);

enum class StandardOption { None, Help, Version };

// The first of -h, --help and --version among the arguments before "--".
StandardOption findStandardOption(const std::vector<std::string>& arguments);

// An argument that looks like an option: "-x", "--x" (a lone "-" is a name).
bool isOption(std::string_view argument);

}  // namespace kv
