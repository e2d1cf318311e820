// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The statistics of the loaded signal file for kirvane-batch, computed by the same functions
// as the statistics dialog: as JSON, and as the simple totals block of the readable summary.

#include <nlohmann/json.hpp>

#include <ostream>

namespace kv {

class SimulatorApp;

// {"overall", "stocks", "rankings", "years", "months"}: the figures of all signals, of every
// stock with signals, the five rankings as the dialog opens with them, and of every year and
// month with a dated slot. Percentages are numbers (12.5 for 12.50 %), null without a divisor.
nlohmann::ordered_json statisticsJson(const SimulatorApp& app);

// The simple totals as the dialog's first group shows them, in four lines.
void printSimpleTotals(std::ostream& out, const SimulatorApp& app);

}  // namespace kv
