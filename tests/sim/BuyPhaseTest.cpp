#include "sim/SimHarness.h"

#include <gtest/gtest.h>

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
                                   c.buyPrice + 10, h.app->tradingUnit[static_cast<size_t>(c.code)]));
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
