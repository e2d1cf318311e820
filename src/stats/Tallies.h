// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Filling the signal statistics while a signal file is read: every accepted row is added to the
// overall tally, to the tally of its stock code and to the tally of its date slot.

#include "stats/SignalTally.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace kv {

// The three tallies of the data store, seen by the code that fills them.
struct TallyTables {
    SignalTally& overall;
    std::span<SignalTally> byStock;  // indexed by stock code
    std::span<SignalTally> byDate;   // indexed by date slot
};

// Zeroes every field of every tally.
void resetTallies(const TallyTables& tables);

// Adds one row to the overall tally, to byStock[code] and to byDate[slot] (both must exist).
// The prices are the texts of the row's fields, read with the atoi-like rule; the row's return
// is sell ÷ buy − 1. A buy price of 0 gives no finite return, so such a row's return counts as
// 0: the row is counted under its mark but adds nothing to a return sum.
void tallyRow(const TallyTables& tables, int32_t code, int32_t slot, std::string_view resultMark,
              std::string_view buyPrice, std::string_view sellPrice);

}  // namespace kv
