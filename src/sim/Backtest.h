// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The back-test engine: one run of the portfolio simulation over the loaded signals, as the main
// window, kirvane-batch and kirvane-sweep all drive it. It is built from the stock master and
// the signal rows (shared, only read) and keeps its own copy of the settings. It chooses the run's
// window of rows (refusals come back as values), starts (with an optional trade log, keeping the
// trade record and the list of trades in memory or not), steps, runs to the end and answers with
// its figures, results, trade record and lists. It shows nothing: what the user must be told comes back as outcomes.
//
// Using it:
//   chooseAllRows / chooseStart / chooseEnd   the window (before a run)
//   setSettings                               between runs
//   start(logFile, keepTradeRecord,           the figures from the settings, the log opened, then
//         keepTradeList)                      the first step
//   step() or runToEnd()                      until finished()
//   reset()                                   abandons the run (or clears a finished one)

#include "data/SignalRows.h"
#include "settings/SimulationSettings.h"
#include "sim/TradingSimulation.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace kv {

class StockMaster;

// How a choice of the run's first or last row ended.
enum class RowChoice {
    Chosen,
    NoStartRow,      // no such row to start from
    StartAfterEnd,   // the row lies after the last row of the run
    NoEndRow,        // no such row to end at
    EndBeforeStart,  // the row lies before the first row of the run
};

// The message of a refused choice (empty for Chosen).
const std::string& rowChoiceText(RowChoice choice);

class Backtest {
public:
    Backtest(const StockMaster& master, const SignalRows& rows, const SimulationSettings& settings);
    Backtest(const Backtest&) = delete;
    Backtest& operator=(const Backtest&) = delete;

    const SimulationSettings& settings() const { return ownSettings; }
    // New settings for the next run; the starting figures follow them. Expects no run in
    // progress.
    void setSettings(const SimulationSettings& settings);

    // The run's window: every row of a file just loaded, with the first and last date texts as
    // the file writes them.
    void chooseAllRows(std::string firstDateText, std::string lastDateText);
    // A row as the first or the last of the run; its date then reads as 2004/1/5.
    RowChoice chooseStart(int row);
    RowChoice chooseEnd(int row);
    // Rows first..last of the rows loaded, chosen as chooseStart and chooseEnd would choose them
    // after chooseAllRows.
    [[nodiscard]] RowChoice chooseRows(int first, int last);
    int startRow() const { return firstRow; }
    int endRow() const { return lastRow; }
    const std::string& startDateText() const { return firstDateText; }
    const std::string& endDateText() const { return lastDateText; }

    [[nodiscard]] StepOutcome start(const std::optional<std::filesystem::path>& logFile, bool keepTradeRecord,
                                    bool keepTradeList = false);
    StepOutcome step() { return sim.simulateStep(); }
    // Steps until the final liquidation has run; `afterStep` (when given) follows every step.
    // The outcome gathers what the steps reported.
    [[nodiscard]] StepOutcome runToEnd(const std::function<void(const RunFigures&)>& afterStep = {});
    StepOutcome reset() { return sim.reset(); }
    void setAutoRunning(bool running) { sim.setAutoRunning(running); }

    const RunFigures& figures() const { return sim.figures(); }
    const RunResults& results() const { return sim.results(); }
    const std::string& tradeRecord() const { return sim.tradeRecord(); }
    SimState state() const { return sim.state(); }
    bool inProgress() const { return sim.inProgress(); }
    bool finished() const { return sim.finished(); }
    bool logIsOpen() const { return sim.logIsOpen(); }

    const PositionList& list(PortfolioList which) const { return sim.list(which); }
    PositionList& listToObserve(PortfolioList which) { return sim.listToObserve(which); }
    // "購入数：… 購入金額：… 利益…" of a position of a list.
    std::string positionReadout(PortfolioList which, int index) const;

    const SignalRows& signalRows() const { return rows; }

private:
    const SignalRows& rows;
    SimulationSettings ownSettings;
    TradingSimulation sim;
    int firstRow = 0;
    int lastRow = 0;
    std::string firstDateText;
    std::string lastDateText;
};

}  // namespace kv
