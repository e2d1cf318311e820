// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// kirvane-sweep --walk-forward I:S: the windows of the session's rows, each run as the sweep's
// runner runs a grid, printed as one line per window (CSV with a header, or a JSON object) and a
// summary of the out-of-sample runs (comment lines "# NAME,VALUE" after the CSV, or one JSON
// object {"walkForward": {…}}).

#include "batch/SweepOptions.h"
#include "sweep/WalkForward.h"

#include <ostream>

namespace kv {

class BatchSession;

// Runs the walk-forward of `options` over rows first..last of the prepared session with
// `settings` as every combination's start. Exit status 0, or 2 when the rows make no window.
int runWalkForwardSweep(const SweepOptions& options, BatchSession& session,
                        const SimulationSettings& settings, int first, int last, std::ostream& out,
                        std::ostream& err, const WalkForwardProgress& progress);

}  // namespace kv
