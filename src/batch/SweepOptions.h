// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of kirvane-sweep:
//   kirvane-sweep [--jobs N] [--shard I/N] [--start-row N] [--end-row M] [--set NAME=VALUE]...
//     --vary NAME=V1,V2,... | --vary NAME=FROM:TO:STEP ... [--sort FIELD] [--top K] [--json] SIGNAL_FILE

#include "batch/SweepGrid.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kv {

struct SweepOptions {
    std::optional<int> jobs;  // worker threads; none: one per core
    uint64_t shard = 0;       // this shard of `shards`: the combinations whose index % shards == shard
    uint64_t shards = 1;
    std::optional<int> startRow;  // 0-based signal-list rows, as kirvane-batch takes them
    std::optional<int> endRow;
    std::vector<std::pair<std::string, std::string>> settings;  // --set NAME=VALUE, in order
    SweepGrid grid;                                             // the --vary axes, in order
    std::optional<std::string> sortField;                       // a figure's name
    std::optional<uint64_t> top;
    bool json = false;
    std::filesystem::path signalFile;
};

// The options, or the reason the arguments are not valid (naming the argument at fault).
struct ParsedSweepArguments {
    std::optional<SweepOptions> options;
    std::string error;
};

ParsedSweepArguments parseSweepArguments(const std::vector<std::string>& arguments);

std::string sweepUsage();

}  // namespace kv
