#pragma once
// The command-line back-test: the program's own main window on the scripted backend, driven
// through its buttons as a user would — load, choose the window, run, step to the end — so the
// figures cannot drift from the window's.

#include "batch/BatchOptions.h"

#include <filesystem>
#include <ostream>

namespace kv {

// Exit statuses: 0 done; 1 no signal could be run (the file cannot be opened, lists no signal,
// or has more dates than the window holds); 2 a refusal, bad arguments, no index.txt, or an
// equity file that cannot be written.
int runBatch(const BatchOptions& options, const std::filesystem::path& folder, std::ostream& out,
             std::ostream& err, bool showProgress);

}  // namespace kv
