// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of kirvane-batch:
//   kirvane-batch [--start-row N] [--end-row M] [--log FILE] [--equity FILE] [--set NAME=VALUE]...
//                 [--json] SIGNAL_FILE

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kv {

struct BatchOptions {
    std::optional<int> startRow;  // 0-based signal-list rows, as 開始日指定 / 終了日指定
    std::optional<int> endRow;
    std::optional<std::filesystem::path> logFile;
    std::optional<std::filesystem::path> equityFile;            // the day points as CSV
    std::vector<std::pair<std::string, std::string>> settings;  // --set NAME=VALUE, in order
    bool json = false;
    std::filesystem::path signalFile;
};

// The options, or the reason the arguments are not valid.
struct ParsedBatchArguments {
    std::optional<BatchOptions> options;
    std::string error;
};

ParsedBatchArguments parseBatchArguments(const std::vector<std::string>& arguments);

std::string batchUsage();

}  // namespace kv
