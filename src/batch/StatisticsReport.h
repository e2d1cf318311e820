// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The statistics of the loaded signal file in kirvane-batch's readable summary: the simple
// totals block, computed by the same functions as the statistics dialog.

#include <ostream>

namespace kv {

class SimulatorApp;

// The simple totals as the dialog's first group shows them, in four lines.
void printSimpleTotals(std::ostream& out, const SimulatorApp& app);

}  // namespace kv
