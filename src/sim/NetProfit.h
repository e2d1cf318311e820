// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tax on the profit of one sale, with the loss carried from before the run.

#include <cstdint>

namespace kv {

// After-tax profit of a sale with gross profit `gross`, whose sell price lies `priceDifference`
// above its buy price, when the run's after-tax profit so far is `cumulativeProfit` (negative
// while a loss is carried). Losses are taken in full, without refund; a gain is taxed at
// taxRate only on the part that exceeds the loss still carried.
double netProfit(double gross, int64_t priceDifference, double cumulativeProfit, double taxRate);

}  // namespace kv
