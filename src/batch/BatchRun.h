// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command-line back-test: the same engine the main window drives, started as the window
// starts — stock master and settings read, signal file loaded, window chosen, run stepped to the
// end — so the figures cannot drift from the window's.

#include "batch/BatchOptions.h"

#include <filesystem>
#include <ostream>

namespace kv {

// Exit statuses:
//   0  the result is printed
//   1  no result: the signal file cannot be read, lists no signal, or has more dates than the
//      program holds
//   2  nothing run: bad arguments, no readable index.txt, a log that would overwrite an input or
//      cannot be opened, a refusal of the window (start and end rows), or an equity or trade
//      list file that cannot be written
//   3  the result is printed, but the trade log or the report could not be written
//      (kirvane-batch also gives 3 when standard output cannot be written)
int runBatch(const BatchOptions& options, const std::filesystem::path& folder, std::ostream& out,
             std::ostream& err, bool showProgress);

}  // namespace kv
