// SPDX-License-Identifier: GPL-3.0-or-later
// The default settings' first day and its sale, followed figure by figure and byte by byte.

#include "sim/PortfolioLists.h"
#include "sim/SimHarness.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::signalLine;
using test::SimHarness;

TEST(WorkedDay, BuyNineLotsThenSellThemAgainstTheCarriedLoss)
{
    SimHarness h;
    h.addSignal(signalLine(1, "極洋", "2004/01/05", 500, "○", "2004/01/06", 520, 1000));
    h.startLogged();
    test::HarnessSimulation& s = h.sim;

    // 実行: run figures from the settings, the first day gathered.
    EXPECT_EQ(s.state(), SimState::BeforeBuy);
    EXPECT_EQ(s.figures().currentDate, "2004/01/05");
    EXPECT_EQ(s.candidateList().count(), 1);
    EXPECT_TRUE(s.figures().endReached);
    EXPECT_EQ(s.figures().cumulativeProfit, -500000);
    EXPECT_EQ(h.messageLine, "sim_cnt:1 line_hold:0 line_buy:1 line_sell:0");
    EXPECT_EQ(moneyText(s.figures().operatingAssets), "\\5000000");
    EXPECT_EQ(moneyText(s.figures().totalAssets), "\\2000000");

    h.steps(1);  // buy
    EXPECT_EQ(s.state(), SimState::AfterBuy);
    ASSERT_EQ(s.holdingsList().count(), 1);
    EXPECT_EQ(s.holdingsList().row(0),
              signalLine(1, "極洋", "2004/01/05", 500, "○", "2004/01/06", 520, 1000) + " 9");
    EXPECT_EQ(s.candidateList().count(), 0);
    EXPECT_EQ(s.figures().lastCommission, 3990);
    EXPECT_EQ(s.figures().totalAssets, 1996010);
    EXPECT_EQ(s.figures().operatingAssets, 490025);
    EXPECT_EQ(s.figures().holdingsValue, 4500000);
    EXPECT_EQ(s.figures().unrealizedLoss, 0);
    EXPECT_EQ(holdingsFigure(s.figures().reportedHoldingsValue.value()), "(\\4500000)");
    EXPECT_EQ(moneyText(s.figures().totalAssets), "\\1996010");
    EXPECT_EQ(moneyText(s.figures().operatingAssets), "\\490025");
    EXPECT_EQ(toUtf8(h.messageLine),
              "sim_cnt:1 含み損合計:0 最低必要委託保証金：900000 資本金-含み損計：1996010");

    // The held position's read-out.
    EXPECT_EQ(toUtf8(s.positionReadout(s.list(PortfolioList::Holdings).at(0))),
              "購入数：9000 購入金額：4500000 利益180000");

    h.steps(1);  // close the day: the window is used up
    EXPECT_EQ(s.state(), SimState::Ended);

    h.steps(1);  // final liquidation
    EXPECT_TRUE(s.finished());
    EXPECT_EQ(s.figures().cumulativeProfit, -320000);
    EXPECT_EQ(s.figures().totalAssets, 2176010);
    EXPECT_EQ(s.figures().operatingAssets, 5170025);
    EXPECT_EQ(s.holdingsList().count(), 0);
    EXPECT_EQ(s.sellList().count(), 0);
    EXPECT_EQ(s.figures().reportedHoldingsValue, 0.0);
    EXPECT_FALSE(s.figures().reportedSellList);
    EXPECT_EQ(s.figures().currentDate, "2004/1/6");
    EXPECT_EQ(h.finishes, 1);
    EXPECT_FALSE(s.logIsOpen());
    EXPECT_EQ(s.figures().purchases, 1);
    EXPECT_EQ(s.figures().sales, 1);
    EXPECT_EQ(s.figures().steps, 4);

    EXPECT_EQ(
        h.folder.read("log.csv"),
        toCp932("売買,コード,銘柄名,日付,株価,株数,金額,差引益or手数料,利益率,現利益合計,税引き益,運用枠残,"
                "現在の資産\r\n"
                "購入,1,極洋,2004/1/5,500,9000,4500000,-3990,,,,500000,1996010\r\n"
                "売却,1,極洋,2004/1/6,520,9000,4680000,180000,4.00,-320000,180000,5170025,2176010\r\n"));

    // A further step repeats the liquidation with empty lists and changes no figure.
    h.steps(1);
    EXPECT_EQ(s.figures().totalAssets, 2176010);
    EXPECT_EQ(s.figures().cumulativeProfit, -320000);
    EXPECT_EQ(h.finishes, 2);
    EXPECT_EQ(h.logLines().size(), 3u);
}

}  // namespace
}  // namespace kv
