#pragma once
// The portfolio simulation of a run: its state, the three portfolio lists and the texts it
// shows. The main window owns one and binds its lists and texts to controls; the batch tool
// drives the very same object through the main window.
//
// A run replays the signal-list rows startRow..endRow as trading days. Each simulateStep()
// performs one phase and leaves simState naming the next:
//   2 "売却後待機"  gather the next day's rows (a run of identical date texts) into candidateList
//   3 "購入前待機"  buy candidates into holdingsList (BuyPhase), margin line in the message line
//   4 "購入後待機"  drop the candidates not bought; then 5, or 99 once the window is used up
//   5 "購入完了"    open the next day: move due holdings to sellList
//   1 "売却前待機"  sell the whole sellList (tax by netProfit), then 2
//   99 "終了"       sell everything still held, close the log, "シミュレーション終了！"
// The lists are the only record of positions: whenever a number of a row is needed the row is
// copied into rowBuffer and parsed into listRow again.
//
// Using it from the run controls (the main window checks the refusals; this class does not):
//   実行   start(startRow, endRow)   — run figures from the settings, the log dialog when log
//                                     saving is on, then the first step (state 3 afterwards)
//   NEXT   simulateStep()            — under the platform's wait cursor
//   AUTO   autoRunning = true and platform.setTimer(window, kAutoTimerEvent, 0); each tick
//          calls simulateStep() and refreshes
//   STOP   autoRunning = false and platform.killTimer(window, kAutoTimerEvent)
//   RESET  reset()
// The final liquidation stops AUTO itself: it clears autoRunning and calls stopAutoTimer, which
// the owner sets, e.g. [this] { platform().killTimer(*this, kAutoTimerEvent); }.
// Message boxes are shown only at the end of a step or before the first one, when the state is
// whole, because a modal box keeps delivering AUTO ticks.

#include "sim/ListRow.h"
#include "sim/PortfolioLists.h"
#include "sim/TradeLog.h"
#include "toolkit/ListBox.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kv {

class Platform;
class SimulatorApp;

class TradingSimulation {
public:
    // signalList is the main window's signal list; messageLine its status line (edit 1002),
    // which the loader writes too.
    TradingSimulation(SimulatorApp& app, Platform& platform, const ListBox& signalList,
                      std::string& messageLine);

    // Starts a run over the signal-list rows startRow..endRow (inclusive) and takes its first
    // step. Expects no run in progress.
    void start(int startRow, int endRow);

    // Performs the phase that simState names; does nothing before a run (state 0).
    void simulateStep();

    // Abandons the run: state 0 "実行前", the three lists emptied, the log closed. Figures,
    // message line, current date and simCnt stay as they are.
    void reset();

    bool inProgress() const { return simState != 0; }   // also after the end, until reset()
    bool finished() const { return liquidations > 0; }  // the final liquidation has run

    // Fills the detail pane from the selected row of holdingsList, candidateList or sellList
    // (pass the list's control id: 1024, 1021, 1025). A holdings or sell-list row also puts
    // "購入数：… 購入金額：… 利益…" into the message line. No selection: nothing changes.
    void showSelection(int listControlId, const DetailFields& fields);

    // rowBuffer parsed into listRow (lots only when withLots).
    void readListRow(bool withLots);
    // Commission of a purchase of `amount` yen: sets lastCommission and the settings'
    // maxCommission by the chosen schedule.
    void commissionFor(double amount);
    // 総資産 and 運用資産 from totalAssets and operatingAssets.
    void showTotals();

    // Called by the final liquidation when it stops AUTO; the owner kills its window timer.
    std::function<void()> stopAutoTimer;

    int simState = 0;               // 0: no run; 1..5 and 99: the phase to perform next
    int startRow = 0;               // the run's window of signal-list rows, inclusive
    int endRow = -1;
    int simCnt = 0;                 // next signal-list row to gather (sim_cnt of the message line)
    double operatingAssets = 0;     // buying power, 運用資産
    double totalAssets = 0;         // capital + after-tax profit − commissions, 総資産
    double holdingsValue = 0;       // purchase cost of all held positions
    double sellListAmount = 0;      // exit values of the sell list
    double unrealizedLoss = 0;      // losses the held positions will realise; zero or negative
    double sellListProfit = 0;      // gross profits of the sell list
    double cumulativeProfit = 0;    // after-tax profit so far, from minus the carried loss
    int32_t lastCommission = 0;     // commission of the latest purchase
    bool autoRunning = false;       // the AUTO timer runs
    bool endReached = false;        // the last row of the window has been gathered

    // Counters of the run, for summaries: purchases, sales, simulateStep calls (the first step of
    // start() and every final liquidation included), final liquidations.
    int purchases = 0;
    int sales = 0;
    int steps = 0;
    int liquidations = 0;

    std::string rowBuffer;          // the row being parsed; never cut
    ListRow listRow;                // the row parsed last

    ListBox holdingsList;           // 1024 所持銘柄
    ListBox candidateList;          // 1021 購入候補
    ListBox sellList;               // 1025 売却リスト

    std::string stateText;          // 1019 状態
    std::string currentDateText;    // 1020
    std::string holdingsFigureText; // 1022
    std::string sellFigureText;     // 1030
    std::string operatingAssetsText;// 1023
    std::string totalAssetsText;    // 1026

    TradeLog tradeLog;              // open while a logged run is in progress

private:
    friend class BuyPhase;

    void setState(int state);
    void openDay();
    void sellDueList();
    void gatherDay();
    void closeDay();
    void liquidate();
    void sellAll(bool showEndDates);
    double sumOverHoldings(double (ListRow::*value)() const);
    void reportLogFailure();

    SimulatorApp& app;
    Platform& platform;
    const ListBox& signalList;
    std::string& messageLine;
};

}  // namespace kv
