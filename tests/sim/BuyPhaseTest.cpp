// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimHarness.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

namespace kv {
namespace {

using test::signalLine;
using test::SimHarness;

// One day's candidates: (stock code, buy price) of stocks 1 (unit 1000), 2 (unit 100) and
// 4 (no trading unit).
struct Candidate {
    int code;
    int buyPrice;
};

const char* nameOf(int code)
{
    switch (code) {
    case 1:
        return "極洋";
    case 2:
        return "日水";
    case 3:
        return "マルハ";
    default:
        return "単位なし";
    }
}

class BuyPhase : public ::testing::Test {
protected:
    // Gathers the candidates as one day and performs the buy phase.
    void buyDay(const std::vector<Candidate>& candidates)
    {
        for (const Candidate& c : candidates)
            h.addSignal(signalLine(c.code, nameOf(c.code), "2004/1/5", c.buyPrice, "○", "2004/1/9",
                                   c.buyPrice + 10, h.app->master.tradingUnit[static_cast<size_t>(c.code)]));
        h.startLogged();
        ASSERT_EQ(h.sim.state(), SimState::BeforeBuy);
        h.steps(1);
        ASSERT_EQ(h.sim.state(), SimState::AfterBuy);
    }
    // (buy price, lots) of every holdings row, in list order.
    std::vector<std::pair<int, int>> holdings()
    {
        std::vector<std::pair<int, int>> result;
        for (int i = 0; i < h.sim.holdingsList().count(); ++i) {
            ListRow row = h.parsedRow(h.sim.holdingsList(), i);
            result.emplace_back(row.buyPrice, static_cast<int>(row.lots));
        }
        return result;
    }
    SimulationSettings& settings() { return h.app->settings; }
    SimHarness h;
};

TEST_F(BuyPhase, AtMostMaxStocksPurchasesAndTheRestDroppedAtTheClose)
{
    settings().maxStocks = 3;
    buyDay({{1, 100}, {1, 101}, {1, 102}, {1, 103}, {1, 104}});
    EXPECT_EQ(h.figures().purchases, 3);
    EXPECT_EQ(h.sim.candidateList().count(), 2);
    h.steps(1);
    EXPECT_EQ(h.sim.candidateList().count(), 0);
}

TEST_F(BuyPhase, CheapestLotFirstAndEqualLotCostsInListOrder)
{
    // Lot costs 300,000, 30,000, 30,000 (stock 2, unit 100) and 100,000.
    settings().maxPurchaseAmount = 1000000;
    buyDay({{1, 300}, {1, 30}, {2, 300}, {1, 100}});
    EXPECT_EQ(holdings(), (std::vector<std::pair<int, int>>{{30, 33}, {300, 33}, {100, 9}, {300, 3}}));
}

TEST_F(BuyPhase, OtherPrioritiesBuyInListOrderAndAnUnaffordableFirstRowEndsTheDay)
{
    settings().setPriority(BuyPriority::ListOrder);
    settings().maxPurchaseAmount = 0;
    buyDay({{1, 9000}, {2, 100}});  // lot cost 9,000,000 exceeds the whole pool
    EXPECT_EQ(h.figures().purchases, 0);
}

TEST_F(BuyPhase, LotsFromTheBudgetOrFromTheCapOnOnePurchase)
{
    struct Case {
        double capital;
        int32_t maxPurchaseAmount;
        int buyPrice;  // stock 1, unit 1000
        int lots;
    } cases[] = {
        {400000, 50000000, 250, 3},  // budget 1,000,000 below the cap: 996,010 / 250,000
        {2000000, 1000000, 100, 9},  // cap below the budget: 996,010 / 100,000
        {2000000, 0, 100, 49},       // no cap: 4,996,010 / 100,000
        {2000000, 5000000, 500, 9},  // cap equal to the budget takes the integer rule
        {1000, 0, 100, 0},           // a budget below one lot buys nothing
        // Budgets that afford exactly one lot: 100,000 and 199,997.5 after the commission.
        {41596, 50000000, 100, 1},
        {81595, 50000000, 100, 1},
        {41595, 50000000, 100, 0},  // 99,997.5: just short of one lot
        {2000000, 103990, 100, 1},  // the cap: 100,000 after the commission
        {2000000, 203989, 100, 1},
    };
    for (const Case& c : cases) {
        SimHarness fresh;
        fresh.app->settings.capital = c.capital;
        fresh.app->settings.maxPurchaseAmount = c.maxPurchaseAmount;
        fresh.addSignal(signalLine(1, "極洋", "2004/1/5", c.buyPrice, "○", "2004/1/9", c.buyPrice, 1000));
        fresh.start();
        fresh.steps(1);
        int lots = 0;
        if (fresh.sim.holdingsList().count() == 1)
            lots = static_cast<int>(fresh.parsedRow(fresh.sim.holdingsList(), 0).lots);
        EXPECT_EQ(lots, c.lots) << "capital " << c.capital << " cap " << c.maxPurchaseAmount;
    }
}

TEST_F(BuyPhase, OperatingRateSpreadsThePoolOverTheDaysPurchases)
{
    settings().operatingRate = 0.5;
    buyDay({{1, 100}, {1, 100}});  // pool 2,500,000; lot cost 100,000
    EXPECT_EQ(holdings(), (std::vector<std::pair<int, int>>{{100, 12}, {100, 12}}));
    auto lines = h.logLines();
    ASSERT_EQ(lines.size(), 3u);
    // Remaining frame: the rate reserve 2,500,000 plus what the day has not spent.
    EXPECT_EQ(lines[1], "購入,1,極洋,2004/1/5,100,12000,1200000,-3990,,,,3800000,1996010");
    EXPECT_EQ(lines[2], "購入,1,極洋,2004/1/5,100,12000,1200000,-3990,,,,2600000,1992020");
    EXPECT_EQ(h.figures().operatingAssets, 1992020 * 2.5 - 2400000);
}

TEST_F(BuyPhase, PerStockOperationHoldsEachPurchaseToAShareOfThePool)
{
    settings().operatingRate = 0.5;
    settings().setOperation(OperationType::PerStock);
    buyDay({{1, 100}, {1, 100}});  // pool cut to 2/5 of 2,500,000
    EXPECT_EQ(holdings(), (std::vector<std::pair<int, int>>{{100, 4}, {100, 5}}));
    auto lines = h.logLines();
    ASSERT_EQ(lines.size(), 3u);
    // Remaining frame: rate reserve 2,500,000 + 600,000 unspent + stock reserve 1,500,000.
    EXPECT_EQ(lines[1], "購入,1,極洋,2004/1/5,100,4000,400000,-3990,,,,4600000,1996010");
}

TEST_F(BuyPhase, CommissionSchedulesChargeAndSetAside)
{
    settings().setSchedule(CommissionSchedule::NoCommission);
    buyDay({{1, 500}});
    EXPECT_EQ(holdings()[0].second, 10);  // nothing set aside: 5,000,000 / 500,000
    EXPECT_EQ(h.logLines()[1], "購入,1,極洋,2004/1/5,500,10000,5000000,0,,,,0,2000000");
    EXPECT_EQ(h.app->settings.maxCommission, 0);
}

TEST_F(BuyPhase, CandidatesWithoutLotCostArePassedOverUnderEitherPriority)
{
    for (BuyPriority priority : {BuyPriority::LowestLotCost, BuyPriority::ListOrder}) {
        SimHarness fresh;
        fresh.app->settings.setPriority(priority);
        fresh.addSignal(signalLine(4, "単位なし", "2004/1/5", 100, "○", "2004/1/9", 110, 0));
        fresh.addSignal(signalLine(1, "極洋", "2004/1/5", 0, "○", "2004/1/9", 110, 1000));
        fresh.addSignal(signalLine(1, "極洋", "2004/1/5", 500, "○", "2004/1/9", 510, 1000));
        fresh.start();
        fresh.steps(1);
        EXPECT_EQ(fresh.figures().purchases, 1) << "priority " << static_cast<int>(priority);
        EXPECT_EQ(fresh.sim.candidateList().count(), 2) << "priority " << static_cast<int>(priority);
        fresh.steps(1);
        EXPECT_EQ(fresh.sim.candidateList().count(), 0) << "priority " << static_cast<int>(priority);
    }
    buyDay({{4, 100}, {4, 200}});  // nothing can be bought at all
    EXPECT_EQ(h.figures().purchases, 0);
    EXPECT_EQ(h.figures().holdingsValue, 0);
}

// The choice of the next candidate as a fresh walk over the rows not yet bought: a running
// minimum from 999999999 that moves only to a strictly smaller lot cost, else the first row
// that can be bought; rows without a lot cost are never chosen.
int walkChoice(const std::vector<int64_t>& lotCosts, const std::vector<bool>& bought, bool lowestFirst)
{
    int64_t lowest = 999999999;
    int cheapest = -1;
    int first = -1;
    for (int i = 0; i < static_cast<int>(lotCosts.size()); ++i) {
        int64_t lotCost = lotCosts[static_cast<size_t>(i)];
        if (bought[static_cast<size_t>(i)] || lotCost <= 0)
            continue;
        if (first < 0)
            first = i;
        if (lotCost < lowest) {
            lowest = lotCost;
            cheapest = i;
        }
    }
    return lowestFirst && cheapest >= 0 ? cheapest : first;
}

TEST_F(BuyPhase, EveryPurchaseIsTheCandidateAFreshWalkWouldChoose)
{
    // (buy price, trading unit): equal lot costs, lot costs just below, at and above the running
    // minimum's start, and rows without a lot cost.
    const std::pair<int, int> kinds[] = {
        {100, 1000},     {300, 100},      {30, 1000}, {999999998, 1}, {999999999, 1},
        {1000000, 1000}, {3000, 1000000}, {0, 1000},  {500, 0},       {1, 1},
    };
    std::mt19937 rng(20040105);
    for (int day = 0; day < 60; ++day) {
        const bool lowestFirst = day % 2 == 0;
        const int rows = 1 + static_cast<int>(rng() % 40);
        SimHarness fresh;
        fresh.app->settings.capital = 1e13;
        fresh.app->settings.maxPurchaseAmount = 0;
        fresh.app->settings.maxStocks = 1 + static_cast<int>(rng() % (rows + 5));
        fresh.app->settings.setPriority(lowestFirst ? BuyPriority::LowestLotCost : BuyPriority::ListOrder);
        std::vector<int64_t> lotCosts;
        std::vector<std::string> texts;
        for (int i = 0; i < rows; ++i) {
            auto [price, unit] = kinds[rng() % std::size(kinds)];
            texts.push_back(signalLine(1, "極洋", "2004/1/5", price, "○", "2004/1/9", price, unit,
                                       "r" + std::to_string(i)));
            fresh.addSignal(texts.back());
            lotCosts.push_back(int64_t{price} * unit);
        }
        fresh.start();
        fresh.steps(1);

        std::vector<bool> bought(static_cast<size_t>(rows));
        std::vector<std::string> expectedHeld;
        for (int k = 0; k < fresh.app->settings.maxStocks; ++k) {
            int chosen = walkChoice(lotCosts, bought, lowestFirst);
            if (chosen < 0)
                break;
            bought[static_cast<size_t>(chosen)] = true;
            expectedHeld.push_back(texts[static_cast<size_t>(chosen)]);
        }
        std::vector<std::string> expectedLeft;
        for (int i = 0; i < rows; ++i)
            if (!bought[static_cast<size_t>(i)])
                expectedLeft.push_back(texts[static_cast<size_t>(i)]);

        std::vector<std::string> held;
        for (int i = 0; i < fresh.sim.holdingsList().count(); ++i) {
            const std::string& row = fresh.sim.holdingsList().row(i);
            held.push_back(row.substr(0, row.rfind(' ')));  // the candidate row, without the lots
        }
        std::vector<std::string> left;
        for (int i = 0; i < fresh.sim.candidateList().count(); ++i)
            left.push_back(fresh.sim.candidateList().row(i));
        EXPECT_EQ(held, expectedHeld) << "day " << day;
        EXPECT_EQ(left, expectedLeft) << "day " << day;
    }
}

TEST_F(BuyPhase, LotCostsBeyondTheInt32RangeAreBoughtWithoutOverflow)
{
    settings().capital = 1e12;
    settings().maxPurchaseAmount = 0;
    h.addStock(3, "マルハ", 1000000);
    // Lot cost 3,000,000,000: above the running minimum's start, so chosen as the first of them.
    buyDay({{3, 3000}});
    ASSERT_EQ(h.figures().purchases, 1);
    EXPECT_EQ(holdings()[0].second, 833);  // (2.5e12 − 3990) / 3e9
    EXPECT_EQ(h.figures().holdingsValue, 833 * 3e9);
    EXPECT_EQ(h.logLines()[1],
              "購入,3,マルハ,2004/1/5,3000,833000000,2499000000000,-3990,,,,1000000000,999999996010");
}

TEST_F(BuyPhase, MarginLineWarnsWhenAssetsLessTheLossFallBelowTheRequiredMargin)
{
    // 9 lots at 500 that will be sold at 100: a loss of 3,600,000 to come.
    h.addSignal(signalLine(1, "極洋", "2004/1/5", 500, "×", "2004/1/9", 100, 1000));
    h.start();
    h.steps(1);
    EXPECT_EQ(h.figures().unrealizedLoss, -3600000);
    EXPECT_EQ(toUtf8(h.messageLine),
              "sim_cnt:1 含み損合計:-3600000 最低必要委託保証金：900000 "
              "資本金-含み損計：-1603990『追証の可能性あり』");
}

}  // namespace
}  // namespace kv
