#include "sim/Commission.h"
#include "sim/NetProfit.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(Commission, BandsOfEverySchedule)
{
    struct Case {
        int schedule;
        double amount;
        int charge;
        int maximum;
    } cases[] = {
        {0, 0, 315, 3990},          {0, 300000, 315, 3990},    {0, 300001, 3990, 3990},
        {1, 0, 0, 0},               {1, 9e9, 0, 0},
        {2, 0, 735, 1680},          {2, 500000, 735, 1680},    {2, 500001, 945, 1680},
        {2, 1000000, 945, 1680},    {2, 1000001, 1155, 1680},  {2, 1500000, 1155, 1680},
        {2, 1500001, 1680, 1680},
        {3, 4500000, 0, 0},         // no known table: free, nothing set aside
        {7, 4500000, 0, 0},         {-1, 100, 0, 0},
    };
    for (const Case& c : cases) {
        Commission got = commissionFor(c.schedule, c.amount);
        EXPECT_EQ(got.charge, c.charge) << "schedule " << c.schedule << " amount " << c.amount;
        EXPECT_EQ(got.maximum, c.maximum) << "schedule " << c.schedule << " amount " << c.amount;
    }
}

TEST(NetProfit, CarriedLossThenTaxThenLossesInFull)
{
    // Carried loss 500,000 at 10 %: each step is (gross, price difference, net, cumulative after).
    struct Sale {
        double gross;
        int difference;
        double net;
        double cumulative;
    } sales[] = {
        {300000, 30, 300000, -200000},   // covered by the carried loss
        {300000, 30, 290000, 90000},     // only the 100,000 above the loss is taxed
        {100000, 10, 90000, 180000},     // fully taxed while the profit is positive
        {-50000, -5, -50000, 130000},    // a loss is taken in full, no refund
        {0, 0, 0, 130000},               // at the buy price: nothing, no tax
    };
    double cumulative = -500000;
    for (const Sale& s : sales) {
        double net = netProfit(s.gross, s.difference, cumulative, 0.1);
        cumulative += net;
        EXPECT_DOUBLE_EQ(net, s.net) << "gross " << s.gross;
        EXPECT_DOUBLE_EQ(cumulative, s.cumulative) << "gross " << s.gross;
    }
    // A gain that exactly uses up the loss is untaxed.
    EXPECT_DOUBLE_EQ(netProfit(200000, 1, -200000, 0.1), 200000);
}

}  // namespace
}  // namespace kv
