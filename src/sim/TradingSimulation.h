// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stepping core of the back-test engine (Backtest): the state of a run, its figures and the
// three portfolio lists, over typed signal rows that it only reads. Several simulations on other
// threads may share the stock master and the signal rows, each with settings of its own.
//
// A run replays the signal rows startRow..endRow as trading days. Each simulateStep()
// performs one phase and leaves the state naming the next:
//   AfterSale   gather the next day's rows (a run of identical date texts) into the candidates
//   BeforeBuy   buy candidates into the holdings (BuyPhase), margin line for the message line
//   AfterBuy    drop the candidates not bought; then DayDone, or Ended once the window is used up
//   DayDone     open the next day: move due holdings to the sell list
//   BeforeSale  sell the whole sell list (tax by netProfit), then AfterSale
//   Ended       sell everything still held, close the log; the outcome says the run finished
//
// A step answers with a StepOutcome: the new text of the message line, if the phase sets one,
// and what the user has to be told. The trade log's lines of a step are written when it ends.

#include "data/ListRow.h"
#include "sim/PortfolioLists.h"
#include "sim/PositionList.h"
#include "sim/RunFigures.h"
#include "sim/RunResults.h"
#include "sim/TaxAccount.h"
#include "sim/SimState.h"
#include "settings/SimulationSettings.h"
#include "sim/TradeLog.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace kv {

class SignalRows;
class StockMaster;

// What one step (or the start of a run) leaves for the user.
struct StepOutcome {
    std::optional<std::string> messageLine;  // the message line's new text, when the phase sets one
    bool logOpenFailed = false;              // start(): the trade log file could not be created
    bool logWriteFailed = false;             // a log write failed; the log is closed for the rest of the run
    bool stoppedAuto = false;                // the final liquidation ended automatic stepping
    bool finished = false;                   // the final liquidation ran in this step

    // Something the user must be told (not the message line): stepping stops at it.
    bool needsTelling() const { return logOpenFailed || logWriteFailed || finished; }
};

class TradingSimulation {
public:
    // The signal rows must not change while a run is in progress; the settings are the run's.
    TradingSimulation(const StockMaster& master, const SignalRows& rows, SimulationSettings& settings);

    // Starts a run over the signal rows startRow..endRow (inclusive) and takes its first step.
    // With a logFile the trade log is written there (an outcome says when it cannot be created;
    // the run goes on without a log); keepTradeRecord keeps the log's lines in memory too, and
    // keepTradeList the results' list of trades. Expects no run in progress.
    StepOutcome start(int startRow, int endRow, const std::optional<std::filesystem::path>& logFile,
                      bool keepTradeRecord = true, bool keepTradeList = false);

    // Performs the phase that the state names; does nothing before a run.
    StepOutcome simulateStep();

    // Abandons the run: state BeforeRun, the three lists emptied, the log written and closed (the
    // outcome says when that failed). Figures and simCnt stay as they are.
    StepOutcome reset();

    // Sets the state without performing anything; the window sets BeforeRun at start-up.
    void setState(SimState state) { fig.simState = state; }
    void setAutoRunning(bool running) { fig.autoRunning = running; }

    // The figures a run starts from: 運用資産 capital × leverage and 総資産 capital. The window
    // shows them before a run too.
    void setStartingAssets();

    const RunFigures& figures() const { return fig; }
    // The day points and trade sums of the run (or of the last one, after RESET).
    const RunResults& results() const { return runResults; }
    SimState state() const { return fig.simState; }
    bool inProgress() const
    {
        return fig.simState != SimState::BeforeRun;
    }                                                       // also after the end, until reset()
    bool finished() const { return fig.liquidations > 0; }  // the final liquidation has run
    bool logIsOpen() const { return tradeLog.isOpen(); }
    // The trade record of the current or last run: the log's lines with blanks for commas. A
    // run starts a new one; reset() keeps it. Empty for a run that keeps none.
    const std::string& tradeRecord() const { return tradeLog.record().text(); }

    const PositionList& list(PortfolioList which) const;
    // A list for a view to observe; its rows change only through the run.
    PositionList& listToObserve(PortfolioList which);

    // "購入数：… 購入金額：… 利益…" of a held or due position, for the message line.
    std::string positionReadout(const Position& position) const;

private:
    friend class BuyPhase;

    // The run sets the schedule's largest commission into its settings: purchase budgets set it
    // aside.
    void applyScheduleMaximum();
    void commissionFor(double amount);
    double buyingPower() const;
    void reportHoldings(double value);
    void openDay(StepOutcome& outcome);
    void sellDueList(StepOutcome& outcome);
    void gatherDay(StepOutcome& outcome);
    void closeDay();
    void liquidate(StepOutcome& outcome);
    void sellAll(bool finalLiquidation);
    void sellPosition(const Position& position, bool finalLiquidation);
    double undecidedHoldingsCost() const;
    bool heldToLimit(const Position& position, int32_t today) const;
    double sumOverHoldings(double (RowFigures::*value)() const) const;
    Position heldPosition(const Position& candidate, double lots) const;

    const StockMaster& master;
    const SignalRows& rows;
    SimulationSettings& settings;
    RunFigures fig;
    PositionList holdings;    // 所持銘柄
    PositionList candidates;  // 購入候補
    PositionList dueForSale;  // 売却リスト
    TradeLog tradeLog;        // open while a logged run is in progress
    RunResults runResults;
    TaxAccount taxAccount;     // the tax of an account that nets each year (TaxModel::Account)
    int32_t dayDate = 0;       // the gathered day's date, for its day point
    bool dayGathered = false;  // the day being run has rows (a window past its end has none)
};

}  // namespace kv
