// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Choosing the stock whose figures are shown, by its code text or by the stocks with signals.

#include "stats/SignalTally.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kv {

// The stock a typed code names: the text's leading number (atoi-like), when the text is not
// empty and the number lies in 1..9999. Code 0 collects the rows of unknown stocks, so it is
// never a stock of its own.
std::optional<int32_t> stockCodeOfText(std::string_view text);

// The codes 1..9999 (within byStock) that have at least one signal, ascending.
std::vector<int32_t> stocksWithSignals(std::span<const SignalTally> byStock);

}  // namespace kv
