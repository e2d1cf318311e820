// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// kirvane-sweep --walk-forward I:S: the windows of the session's rows, each run as the sweep's
// runner runs a grid, printed as one line per window (CSV with a header, or a JSON object) and a
// summary of the out-of-sample runs (comment lines "# NAME,VALUE" after the CSV, or one JSON
// object {"walkForward": {…}}).

#include "batch/SweepOptions.h"
#include "sweep/WalkForward.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <ostream>

namespace kv {

// The values of combination `index` of `grid` as a JSON line of the sweep has them: each varied
// setting by its name, as a number of its kind.
void putAxisValues(nlohmann::ordered_json& line, const SweepGrid& grid, uint64_t index);

class BatchSession;

// Runs the walk-forward of `options` over rows first..last of the prepared session with
// `settings` as every combination's start. Exit status 0, or 2 when the rows make no window.
int runWalkForwardSweep(const SweepOptions& options, BatchSession& session,
                        const SimulationSettings& settings, int first, int last, std::ostream& out,
                        std::ostream& err, const WalkForwardProgress& progress);

}  // namespace kv
