// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of kirvane-batch:
//   kirvane-batch [--start-row N] [--end-row M] [--log FILE] [--equity FILE] [--trades FILE]
//                 [--report FILE] [--set NAME=VALUE]... [--json]
//                 [--monte-carlo N [--mc-seed S] [--mc-order permute|bootstrap]] SIGNAL_FILE

#include "batch/RunArguments.h"
#include "sim/MonteCarlo.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// The rows, --set, --json and the signal file as RunArguments holds them, and the outputs.
struct BatchOptions : RunArguments {
    std::optional<std::filesystem::path> logFile;
    std::optional<std::filesystem::path> equityFile;  // the day points as CSV
    std::optional<std::filesystem::path> tradesFile;  // the list of trades as CSV
    std::optional<std::filesystem::path> reportFile;  // the run's report as one HTML page
    // --monte-carlo N with its seed and order: the trade order's Monte Carlo after the run.
    std::optional<MonteCarloSettings> monteCarlo;
};

// The options, or the reason the arguments are not valid.
struct ParsedBatchArguments {
    std::optional<BatchOptions> options;
    std::string error;
};

ParsedBatchArguments parseBatchArguments(const std::vector<std::string>& arguments);

std::string batchUsage();

}  // namespace kv
