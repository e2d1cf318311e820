// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of kirvane-sweep:
//   kirvane-sweep [--jobs N] [--shard I/N] [--start-row N] [--end-row M] [--set NAME=VALUE]...
//     [--holdout-from YYYY/MM/DD] --vary NAME=V1,V2,... | --vary NAME=FROM:TO:STEP ...
//     [--sort FIELD] [--top K] [--json] SIGNAL_FILE
//   kirvane-sweep [--jobs N] [--start-row N] [--end-row M] [--set NAME=VALUE]... --walk-forward I:S
//     --vary ... [--sort FIELD] [--json] SIGNAL_FILE

#include "batch/RunArguments.h"
#include "sweep/SweepGrid.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// The rows, --set, --json and the signal file as RunArguments holds them (the --set values
// checked as exactly as the --vary values), and the sweep's own options.
struct SweepOptions : RunArguments {
    std::optional<int> jobs;  // worker threads; none: one per core
    uint64_t shard = 0;       // this shard of `shards`: the combinations whose index % shards == shard
    uint64_t shards = 1;
    SweepGrid grid;                        // the --vary axes, in order; at least one
    std::optional<std::string> sortField;  // a figure's name
    std::optional<uint64_t> top;
    // yyyymmdd: each combination runs on the rows before the first row dated on or after it
    // (in-sample) and on the rows from that row on (out-of-sample).
    std::optional<int32_t> holdoutFrom;
    // --walk-forward I:S: the in-sample and out-of-sample months of a walk-forward optimisation.
    struct Months {
        int inSample = 0;
        int outOfSample = 0;
    };
    std::optional<Months> walkForward;
};

// The most months --walk-forward takes for either part: a century.
inline constexpr int kMaxWalkForwardMonths = 1200;

// The options, or the reason the arguments are not valid (naming the argument at fault).
struct ParsedSweepArguments {
    std::optional<SweepOptions> options;
    std::string error;
};

ParsedSweepArguments parseSweepArguments(const std::vector<std::string>& arguments);

std::string sweepUsage();

}  // namespace kv
