// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command lines of kirvane-batch and kirvane-sweep, read by one parser with one set of
// (Japanese) messages: the options both take — --start-row, --end-row, --set, --json, "--" and
// the one signal file — and each tool's own, which it hands over as a table.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv {

// What both tools take.
struct RunArguments {
    std::optional<int> startRow;  // 0-based signal-list rows, as 開始日指定 / 終了日指定
    std::optional<int> endRow;
    std::vector<std::pair<std::string, std::string>> settings;  // --set NAME=VALUE, in order
    bool json = false;
    std::filesystem::path signalFile;
};

// One option of a tool's own; every one takes a value, the next argument. `take` gets that
// value (nothing when the command line ends first) and answers with the refusal's message, or
// nothing when it took the value.
struct ToolOption {
    std::string_view name;
    std::function<std::optional<std::string>(const std::optional<std::string>& value)> take;
};

// How a --set value is checked: Lenient takes any text and converts it as kvn.conf does;
// Exact takes only a number written out in full that the setting can hold (refuseSettingValue).
enum class SetValueCheck { Lenient, Exact };

// Reads `arguments` into `common` and through `own`. Empty when they can be used, else why not,
// naming the argument at fault.
std::string parseRunArguments(const std::vector<std::string>& arguments, RunArguments& common,
                              SetValueCheck setValues, const std::vector<ToolOption>& own);

}  // namespace kv
