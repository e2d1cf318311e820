#pragma once
// The portfolio simulation of a run: its state, figures and the three portfolio lists. The main
// window owns one, shows its lists and formats its figures; the batch tool drives the very same
// object through the main window; the sweep runs one per worker thread, each with settings of
// its own over the shared signal list.
//
// A run replays the signal-list rows startRow..endRow as trading days. Each simulateStep()
// performs one phase and leaves the state naming the next:
//   AfterSale   gather the next day's rows (a run of identical date texts) into the candidates
//   BeforeBuy   buy candidates into the holdings (BuyPhase), margin line for the message line
//   AfterBuy    drop the candidates not bought; then DayDone, or Ended once the window is used up
//   DayDone     open the next day: move due holdings to the sell list
//   BeforeSale  sell the whole sell list (tax by netProfit), then AfterSale
//   Ended       sell everything still held, close the log; the outcome says the run finished
// The lists are the only record of positions: each row is parsed once when it enters a list, and
// the parse travels with the row's text (RowList).
//
// A step answers with a StepOutcome: the new text of the message line, if the phase sets one,
// and what the window has to tell the user. The window shows those at the end of the step, when
// the state is whole, because a modal box keeps delivering AUTO ticks.
//
// Using it from the run controls (the main window checks the refusals; this class does not):
//   実行   start(startRow, endRow, logFile)   — figures from the settings, the log opened, then
//                                              the first step (state BeforeBuy afterwards)
//   NEXT   simulateStep()
//   AUTO   setAutoRunning(true) and the window's timer; each tick calls simulateStep()
//   STOP   setAutoRunning(false) and the timer killed
//   RESET  reset()
// The final liquidation clears autoRunning itself and says so (stoppedAuto): the window then
// kills its timer.

#include "sim/ListRow.h"
#include "sim/PortfolioLists.h"
#include "sim/RowList.h"
#include "sim/RunFigures.h"
#include "sim/RunResults.h"
#include "sim/SimState.h"
#include "settings/SimulationSettings.h"
#include "sim/TradeLog.h"
#include "toolkit/ListBox.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace kv {

class SimulatorApp;

// What one step (or the start of a run) leaves for the window to show.
struct StepOutcome {
    std::optional<std::string> messageLine;  // the message line's new text, when the phase sets one
    bool logOpenFailed = false;              // start(): the trade log file could not be created
    bool logWriteFailed = false;             // a log write failed; the log is closed for the rest of the run
    bool stoppedAuto = false;                // the final liquidation ended automatic stepping
    bool finished = false;                   // the final liquidation ran in this step
};

class TradingSimulation {
public:
    // signalList holds the rows the runs replay; it must not change while a run is in progress.
    // The runs read and write the application's settings (the options dialog edits them between
    // runs).
    TradingSimulation(SimulatorApp& app, const ListBox& signalList);
    // A simulation with settings of its own: the stock master and the signal list are only read,
    // so several simulations on other threads may share them while each steps its own run.
    TradingSimulation(const SimulatorApp& master, SimulationSettings& settings, const ListBox& signalList);

    // Starts a run over the signal-list rows startRow..endRow (inclusive) and takes its first
    // step. With a logFile the trade log is written there (an outcome says when it cannot be
    // created; the run goes on without a log). Expects no run in progress.
    StepOutcome start(int startRow, int endRow, const std::optional<std::filesystem::path>& logFile);

    // Performs the phase that the state names; does nothing before a run.
    StepOutcome simulateStep();

    // Abandons the run: state BeforeRun, the three lists emptied, the log closed. Figures and
    // simCnt stay as they are.
    void reset();

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
    // run starts a new one; reset() keeps it.
    const std::string& tradeRecord() const { return tradeLog.record().text(); }

    const ListBox& holdingsList() const { return holdings.listBox(); }
    const ListBox& candidateList() const { return candidates.listBox(); }
    const ListBox& sellList() const { return dueForSale.listBox(); }
    // A list for a view to show and to select in; its rows change only through the run.
    ListBox& listToShow(PortfolioList which);

    // "購入数：… 購入金額：… 利益…" of a holdings or sell-list row, for the message line.
    std::string positionReadout(std::string_view row) const;

private:
    friend class BuyPhase;

    void commissionFor(double amount);
    double buyingPower() const;
    void reportHoldings(double value);
    void openDay(StepOutcome& outcome);
    void sellDueList(StepOutcome& outcome);
    void gatherDay(StepOutcome& outcome);
    void closeDay();
    void liquidate(StepOutcome& outcome);
    void sellAll(bool showEndDates);
    void sellPosition(const RowFigures& position, std::string_view row);
    double sumOverHoldings(double (RowFigures::*value)() const) const;

    const SimulatorApp& master;  // the stock master's name look-up
    SimulationSettings& settings;
    const ListBox& signalList;
    RunFigures fig;
    std::string rowBuffer;  // the signal row being read; never cut
    RowList holdings;       // 所持銘柄
    RowList candidates;     // 購入候補
    RowList dueForSale;     // 売却リスト
    TradeLog tradeLog;      // open while a logged run is in progress
    RunResults runResults;
    int32_t dayDate = 0;       // the gathered day's date, for its day point
    bool dayGathered = false;  // the day being run has rows (a window past its end has none)
};

}  // namespace kv
