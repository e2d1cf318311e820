// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Monte Carlo of the trade order as the "monteCarlo" object of kirvane-batch --json and of
// the report's data: {"paths", "seed", "order", "trades", "finalAssets": {"p5", …, "p95"},
// "maxDrawdownPercent": {…}, "lossProbabilityPercent", "drawdownAtLeastPercent": {"20", "30",
// "50"}, "ruinProbabilityPercent", "actualMaxDrawdownPercent", "pathsWithSmallerDrawdownPercent"},
// percentages from 0 to 100; the figures null when none could be taken.

#include "sim/MonteCarlo.h"

#include <nlohmann/json.hpp>

namespace kv {

nlohmann::ordered_json monteCarloJson(const MonteCarloResult& result);

}  // namespace kv
