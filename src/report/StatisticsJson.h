// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The statistics of the loaded signal file as the "statistics" object of kirvane-batch --json
// and of the report's data block, computed by the same functions as the statistics dialog.

#include <nlohmann/json.hpp>

namespace kv {

class SimulatorApp;

// {"overall", "stocks", "rankings", "years", "months"}: the figures of all signals, of every
// stock with signals, the five rankings as the dialog opens with them, and of every year and
// month with a dated slot. Percentages are numbers (12.5 for 12.50 %), null without a divisor.
nlohmann::ordered_json statisticsJson(const SimulatorApp& app);

}  // namespace kv
