// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report's asset curve and drawdown as one inline SVG drawing: vector lines that stay crisp
// when zoomed or printed, and under every day point a hover area whose tooltip gives the date,
// the assets and the drawdown.

#include "sim/RunResults.h"

#include <string>

namespace kv {

// The <svg> element for the day points and their figures; a note instead when there is none.
std::string assetChartSvg(const std::vector<DayPoint>& days, const ResultFigures& figures);

}  // namespace kv
