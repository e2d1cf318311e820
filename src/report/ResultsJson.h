// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The run's results as the "results" object of kirvane-batch --json, and as the report carries
// them for a tool to read back: one writer, so the two cannot differ.

#include "sim/ResultFigureTable.h"
#include "sim/RunResults.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>

namespace kv {

// A figure without a value, and any figure that is not a finite number, is null.
nlohmann::ordered_json jsonNumber(std::optional<double> value);

// "2004/01/05", or null.
nlohmann::ordered_json jsonDate(std::optional<int32_t> yyyymmdd);

// A figure as the JSON writes it: counts as integers, dates as texts, the rest as numbers; null
// without a finite value.
nlohmann::ordered_json figureJson(const FigureDescription& figure, std::optional<double> value);

// {"days", "finalAssets", …, "months", "years", "sharpeRatio", …}: the day points with their
// drawdowns and every figure of the results.
nlohmann::ordered_json resultsJson(const RunResults& results);

}  // namespace kv
