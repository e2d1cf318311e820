// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The figures of a run, as TradingSimulation keeps them: read by the main window (which formats
// its figure fields from them), by the batch tool and by the tests.

#include "sim/SimState.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kv {

// The sell list's exit values and gross profits, as the opening of a day counted them.
struct SellListFigure {
    double amount = 0;
    double profit = 0;
};

struct RunFigures {
    SimState simState = SimState::BeforeRun;  // the phase to perform next
    int startRow = 0;                         // the run's window of signal-list rows, inclusive
    int endRow = -1;
    int simCnt = 0;               // next signal-list row to gather (sim_cnt of the message line)
    double operatingAssets = 0;   // buying power, 運用資産
    double totalAssets = 0;       // capital + after-tax profit − commissions, 総資産
    double holdingsValue = 0;     // purchase cost of all held positions
    double sellListAmount = 0;    // exit values of the sell list
    double unrealizedLoss = 0;    // losses the held positions will realise; zero or negative
    double sellListProfit = 0;    // gross profits of the sell list
    double cumulativeProfit = 0;  // after-tax profit so far, from minus the carried loss
    int32_t lastCommission = 0;   // commission of the latest purchase
    bool autoRunning = false;     // the AUTO timer runs
    bool endReached = false;      // the last row of the window has been gathered

    // Counters of the run, for summaries: purchases, sales, simulateStep calls (the first step of
    // start() and every final liquidation included), final liquidations.
    int purchases = 0;
    int sales = 0;
    int steps = 0;
    int liquidations = 0;

    // The current day's date text as the list writes it; during the final liquidation the end
    // date of each position sold ("%d/%d/%d"). Empty before the first day.
    std::string currentDate;

    // What the two list figures last reported. A phase reports them at fixed moments and they stay
    // until the next report, through RESET and the start of the next run. Nothing: the field is
    // empty (no count yet, or the sell list was sold).
    std::optional<double> reportedHoldingsValue;
    std::optional<SellListFigure> reportedSellList;
};

}  // namespace kv
