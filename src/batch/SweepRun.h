// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// kirvane-sweep: the back-test of one signal file under every combination of a grid of
// settings. It starts as kirvane-batch starts (same folder, files, refusals and exit statuses),
// loads the signal file once, runs the combinations on worker threads and prints one line per
// combination: CSV with a header, or one JSON object per line.

#include "batch/SweepOptions.h"

#include <filesystem>
#include <ostream>

namespace kv {

// Exit statuses: 0 done; 1 no signal could be run (or a run failed); 2 a refusal, bad arguments
// or no index.txt. `showProgress` writes a progress line to `err` (meant for a terminal).
int runSweep(const SweepOptions& options, const std::filesystem::path& folder, std::ostream& out,
             std::ostream& err, bool showProgress);

}  // namespace kv
