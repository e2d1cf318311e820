// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimHarness.h"

#include "sim/Backtest.h"
#include "sim/PortfolioLists.h"
#include "text/Numbers.h"

#include <gtest/gtest.h>

#include <random>

namespace kv {
namespace {

using test::signalLine;
using test::SimHarness;

// A stock-1 signal (unit 1000) bought at 100 on `date`, ending on `end` at 110.
std::string row(const std::string& date, const std::string& end = "2004/2/1", int buy = 100)
{
    return signalLine(1, "極洋", date, buy, "○", end, buy + 10, 1000);
}

TEST(DailyCycle, DaysAreRunsOfIdenticalDateTexts)
{
    SimHarness h;
    for (const char* date : {"2004/1/5", "2004/1/5", "2004/1/6", "2004/1/5", "2004/01/05"})
        h.addSignal(row(date));
    h.app->settings.maxStocks = 0;  // nothing bought: only the days matter here
    h.start();
    std::vector<std::pair<std::string, int>> days;
    while (!h.sim.finished()) {
        if (h.sim.state() == SimState::BeforeBuy)
            days.emplace_back(h.figures().currentDate, h.sim.candidateList().count());
        h.steps(1);
    }
    EXPECT_EQ(days,
              (std::vector<std::pair<std::string, int>>{
                  {"2004/1/5", 2}, {"2004/1/6", 1}, {"2004/1/5", 1}, {"2004/01/05", 1}}));
}

TEST(DailyCycle, StatesAndTextsThroughADay)
{
    SimHarness h;
    h.addSignal(row("2004/1/5", "2004/1/6"));
    h.addSignal(row("2004/1/6", "2004/2/1"));
    h.start();
    std::vector<SimState> states;
    for (int i = 0; i < 5; ++i) {
        states.push_back(h.sim.state());
        h.steps(1);
    }
    EXPECT_EQ(states,
              (std::vector<SimState>{SimState::BeforeBuy, SimState::AfterBuy, SimState::DayDone,
                                     SimState::BeforeSale, SimState::AfterSale}));
    EXPECT_EQ(h.sim.state(), SimState::BeforeBuy);
    EXPECT_EQ(h.figures().simCnt, 2);
    EXPECT_EQ(h.figures().currentDate, "2004/1/6");
}

TEST(DailyCycle, OpeningMovesDuePositionsAndTheSalesEmptyTheHoldings)
{
    SimHarness h;
    h.addSignal(signalLine(1, "極洋", "2004/1/5", 500, "○", "2004/1/6", 520, 1000));
    h.addSignal(signalLine(2, "日水", "2004/1/6", 300, "○", "2004/1/9", 310, 100));
    h.app->settings.maxStocks = 1;
    h.start();
    h.steps(3);  // buy, close, open 2004/1/6
    EXPECT_EQ(h.sim.state(), SimState::BeforeSale);
    EXPECT_EQ(h.sim.holdingsList().count(), 0);
    EXPECT_EQ(h.sim.sellList().count(), 1);
    ASSERT_TRUE(h.figures().reportedSellList);
    EXPECT_EQ(sellFigure(h.figures().reportedSellList->amount, h.figures().reportedSellList->profit),
              "( \\4680000 : 180000)");
    EXPECT_EQ(toUtf8(h.messageLine), "現在利益：-500000");
    h.steps(1);  // sell
    EXPECT_EQ(h.sim.sellList().count(), 0);
    EXPECT_EQ(h.figures().holdingsValue, 0);
    EXPECT_EQ(h.figures().reportedHoldingsValue, 0.0);
    EXPECT_FALSE(h.figures().reportedSellList);
    EXPECT_EQ(h.messageLine, "");
    EXPECT_EQ(h.figures().totalAssets, 2176010);
}

TEST(DailyCycle, BuyFirstSellsOneDayLaterAndTheCostStillBindsThatDay)
{
    for (bool buyFirst : {false, true}) {
        SimHarness h;
        h.app->settings.setOrder(buyFirst ? TradeOrder::BuyFirst : TradeOrder::SellFirst);
        h.app->settings.maxStocks = 1;
        h.addSignal(row("2004/1/5", "2004/1/6", 500));
        h.addSignal(row("2004/1/6", "2004/2/1", 500));
        h.addSignal(row("2004/1/7", "2004/2/1", 500));
        h.start();
        h.steps(3);  // buy on 1/5, close, open 1/6
        EXPECT_EQ(h.sim.sellList().count(), buyFirst ? 0 : 1) << buyFirst;
        h.steps(3);  // sell, gather, buy on 1/6
        // Selling first frees the capital; buying first leaves 490,025 − 3990 of buying power.
        EXPECT_EQ(h.figures().purchases, buyFirst ? 1 : 2) << buyFirst;
        h.steps(2);  // close, open 1/7
        EXPECT_EQ(h.sim.sellList().count(), buyFirst ? 1 : 0) << buyFirst;
    }
}

// Positions enter and leave the lists at every place (bought anywhere in a day, due anywhere in
// the holdings): after every step the figures and the due rule must hold for the rows as listed.
TEST(DailyCycle, FiguresAndDueRowsFollowTheListedRowsThroughManyDays)
{
    const char* dates[] = {"2004/1/5", "2004/1/6", "2004/1/7", "2004/1/8", "2004/1/9", "2004/1/13"};
    const char* marks[] = {"○", "×", "？"};
    std::mt19937 rng(4242);
    for (int run = 0; run < 12; ++run) {
        SimHarness h;
        h.app->settings.maxStocks = 1 + static_cast<int>(rng() % 4);
        h.app->settings.setOrder(run % 2 ? TradeOrder::BuyFirst : TradeOrder::SellFirst);
        h.app->settings.capital = 20000000;
        for (int day = 0; day < 6; ++day) {
            for (int n = 1 + static_cast<int>(rng() % 5); n > 0; --n) {
                int buy = 100 + static_cast<int>(rng() % 900);
                int end = day + static_cast<int>(rng() % 4);
                h.addSignal(signalLine(1 + static_cast<int>(rng() % 3), rng() % 2 ? "極洋" : "日水",
                                       dates[day], buy, marks[rng() % 3], end < 6 ? dates[end] : "9999/99/99",
                                       buy - 50 + static_cast<int>(rng() % 100), rng() % 2 ? 1000 : 100));
            }
        }
        auto sumOver = [&](const test::ListTexts& list, double (RowFigures::*value)() const) {
            double sum = 0;
            for (int i = 0; i < list.count(); ++i)
                sum += (h.parsedRow(list, i).*value)();
            return sum;
        };
        h.start();
        while (!h.sim.finished()) {
            h.steps(1);
            const RunFigures& f = h.figures();
            SCOPED_TRACE("run " + std::to_string(run) + " step " + std::to_string(f.steps));
            if (h.sim.state() == SimState::AfterSale || h.sim.state() == SimState::AfterBuy) {
                EXPECT_EQ(f.holdingsValue, sumOver(h.sim.holdingsList(), &RowFigures::cost));
            }
            if (h.sim.state() != SimState::BeforeSale)
                continue;
            EXPECT_EQ(f.sellListAmount, sumOver(h.sim.sellList(), &RowFigures::exitValue));
            EXPECT_EQ(f.sellListProfit, sumOver(h.sim.sellList(), &RowFigures::grossProfit));
            const int32_t today = rowDate(f.currentDate);
            auto due = [&](const ListRow& r) { return run % 2 ? today > r.endDate : today >= r.endDate; };
            for (int i = 0; i < h.sim.holdingsList().count(); ++i)
                EXPECT_FALSE(due(h.parsedRow(h.sim.holdingsList(), i)));
            for (int i = 0; i < h.sim.sellList().count(); ++i)
                EXPECT_TRUE(due(h.parsedRow(h.sim.sellList(), i)));
        }
        EXPECT_EQ(h.figures().sales, h.figures().purchases);
    }
}

TEST(DailyCycle, UndeterminableEndIsSoldOnlyInTheFinalLiquidation)
{
    SimHarness h;
    h.app->settings.maxStocks = 1;
    h.addSignal(signalLine(1, "極洋", "2004/1/5", 500, "？", "9999/99/99", 500, 1000));
    for (const char* date : {"2004/1/6", "2004/1/7", "2004/1/8"})
        h.addSignal(row(date, "2004/1/8", 100000));  // too dear to buy
    h.startLogged();
    int openings = 0;
    while (h.sim.state() != SimState::Ended) {
        if (h.sim.state() == SimState::BeforeSale) {
            ++openings;
            EXPECT_EQ(h.sim.sellList().count(), 0);
        }
        h.steps(1);
    }
    EXPECT_EQ(openings, 3);
    EXPECT_EQ(h.sim.holdingsList().count(), 1);
    h.steps(1);
    EXPECT_EQ(h.figures().currentDate, "9999/99/99");
    // A "？" signal sells at 3 % below its buy price: 485 for 9 lots of 1000.
    auto lines = h.logLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2],
              "売却,1,極洋,9999/99/99,485,9000,4365000,-135000,-3.00,-635000,-135000,4855025,1861010");
}

TEST(DailyCycle, OneRowWindowInsideALongerList)
{
    SimHarness h;
    for (const char* date : {"2004/1/5", "2004/1/6", "2004/1/6", "2004/1/6"})
        h.addSignal(row(date));
    h.start(1, 1);
    EXPECT_EQ(h.sim.candidateList().count(), 1);  // row 2 has the same date but is outside
    EXPECT_TRUE(h.figures().endReached);
    EXPECT_EQ(h.figures().simCnt, 2);
    h.steps(2);
    EXPECT_EQ(h.sim.state(), SimState::Ended);
    EXPECT_EQ(h.sim.holdingsList().count(), 1);
    h.steps(1);
    EXPECT_TRUE(h.sim.finished());
    EXPECT_EQ(h.figures().sales, 1);
}

TEST(DailyCycle, TheLastDayEndsAtTheListEndEvenWhenItsDateReadsLikeTheMarker)
{
    // Past the window the next text is "end": a day whose date text is that very word must still
    // stop at the window's last row.
    SimHarness h;
    h.addSignal(row("end"));
    h.addSignal(row("end"));
    h.start();
    EXPECT_EQ(h.sim.candidateList().count(), 2);
    EXPECT_TRUE(h.figures().endReached);
}

TEST(DailyCycle, FinalLiquidationStopsAutoOnce)
{
    SimHarness h;
    h.addSignal(row("2004/1/5"));
    h.start();
    h.sim.setAutoRunning(true);
    h.runToEnd();
    EXPECT_FALSE(h.figures().autoRunning);
    EXPECT_EQ(h.autoStops, 1);
    h.steps(1);
    EXPECT_EQ(h.autoStops, 1);
    EXPECT_EQ(h.finishes, 2);  // every liquidation says so, stopped AUTO or not
}

TEST(DailyCycle, ResetDropsPositionsKeepsFiguresAndARestartBeginsAtCapital)
{
    SimHarness h;
    h.addSignal(row("2004/1/5"));
    h.addSignal(row("2004/1/6"));
    h.startLogged();
    h.steps(1);
    ASSERT_EQ(h.sim.holdingsList().count(), 1);
    double total = h.figures().totalAssets;
    h.sim.reset();
    EXPECT_EQ(h.sim.state(), SimState::BeforeRun);
    EXPECT_EQ(h.sim.holdingsList().count() + h.sim.candidateList().count() + h.sim.sellList().count(), 0);
    EXPECT_FALSE(h.sim.logIsOpen());
    EXPECT_EQ(h.figures().totalAssets, total);
    EXPECT_EQ(h.logLines().size(), 2u);  // the positions were dropped, not sold

    h.steps(1);  // no run: nothing happens
    EXPECT_EQ(h.sim.state(), SimState::BeforeRun);

    h.app->settings.saveLog = false;
    h.start();
    EXPECT_EQ(h.figures().totalAssets, 2000000);
    EXPECT_EQ(h.figures().cumulativeProfit, -500000);
    EXPECT_EQ(h.figures().purchases, 0);
    EXPECT_EQ(h.figures().steps, 1);
}

// The engine's window of rows: a refused choice comes back as a value and changes nothing.
TEST(Backtest, WindowChoicesAreRefusedAsValuesAndTheRunStaysInTheWindow)
{
    SimHarness h;
    SignalRows rows;
    for (const char* date : {"2004/01/05", "2004/01/06", "2004/01/07"})
        rows.append(row(date, "2004/01/08"), h.app->master);
    Backtest engine(h.app->master, rows, h.app->settings);
    engine.chooseAllRows("2004/01/05", "2004/01/07");
    EXPECT_EQ(engine.chooseStart(-1), RowChoice::NoStartRow);
    EXPECT_EQ(engine.chooseStart(3), RowChoice::NoStartRow);
    EXPECT_EQ(engine.chooseEnd(3), RowChoice::NoEndRow);
    EXPECT_EQ(engine.chooseEnd(1), RowChoice::Chosen);
    EXPECT_EQ(engine.chooseStart(2), RowChoice::StartAfterEnd);
    EXPECT_EQ(engine.chooseStart(1), RowChoice::Chosen);
    EXPECT_EQ(engine.chooseEnd(0), RowChoice::EndBeforeStart);
    EXPECT_EQ(engine.startRow(), 1);
    EXPECT_EQ(engine.endRow(), 1);
    EXPECT_EQ(engine.startDateText(), "2004/1/6");
    EXPECT_EQ(engine.endDateText(), "2004/1/6");
    EXPECT_EQ(toUtf8(rowChoiceText(RowChoice::EndBeforeStart)), "終了日が開始日より前です。");

    // A run that keeps no trade record: the row of the window bought and sold, nothing kept.
    EXPECT_FALSE(engine.start(std::nullopt, false).logOpenFailed);
    EXPECT_TRUE(engine.runToEnd().finished);
    EXPECT_EQ(engine.figures().purchases, 1);
    EXPECT_EQ(engine.figures().sales, 1);
    EXPECT_TRUE(engine.tradeRecord().empty());
}

}  // namespace
}  // namespace kv
