// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A kvn.conf that holds no value at all (empty, a line end only, /dev/null) is read as it
// stands, every setting 0, as the window reads it; from the command line that is seldom meant,
// so kirvane-batch and kirvane-sweep both say so.

#include <ostream>

namespace kv {

class SimulatorApp;

// Writes the warning to `err` when the settings read from the file are all 0.
void warnOfEmptySettings(const SimulatorApp& app, std::ostream& err);

}  // namespace kv
