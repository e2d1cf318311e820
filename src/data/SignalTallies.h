// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The statistics of the loaded signal file: per stock, overall and per date slot. A date slot
// is a run of rows with the same signal date; the slots grow with the file, up to
// kDateSlotCount of them.

#include "data/StockMaster.h"
#include "stats/SignalTally.h"
#include "stats/Tallies.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kv {

inline constexpr int kDateSlotCount = 250000;  // date slots 0..249999

struct SignalTallies {
    std::array<SignalTally, kStockCodeCount> stockTally{};
    SignalTally overallTally{};
    std::vector<SignalTally> dateTally;  // one per date slot in use
    std::vector<int32_t> slotDate;       // yyyymmdd of each slot (0 for a date that reads as none)

    // Empties every tally and every slot.
    void clear();
    // The tables that tallyRow fills.
    TallyTables tables() { return {overallTally, stockTally, dateTally}; }
};

}  // namespace kv
