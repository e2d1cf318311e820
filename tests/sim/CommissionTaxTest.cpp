// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Commission.h"
#include "sim/NetProfit.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(Commission, BandsOfEverySchedule)
{
    using enum CommissionSchedule;
    struct Case {
        CommissionSchedule schedule;
        double amount;
        int charge;
        int maximum;
    } cases[] = {
        {Kabudotcom, 0, 315, 3990},    {Kabudotcom, 300000, 315, 3990}, {Kabudotcom, 300001, 3990, 3990},
        {NoCommission, 0, 0, 0},       {NoCommission, 9e9, 0, 0},       {Etrade, 0, 735, 1680},
        {Etrade, 500000, 735, 1680},   {Etrade, 500001, 945, 1680},     {Etrade, 1000000, 945, 1680},
        {Etrade, 1000001, 1155, 1680}, {Etrade, 1500000, 1155, 1680},   {Etrade, 1500001, 1680, 1680},
        {Taikom, 4500000, 0, 0},  // no known table: free, nothing set aside
    };
    for (const Case& c : cases) {
        Commission got = commissionFor(c.schedule, c.amount);
        const int code = static_cast<int>(c.schedule);
        EXPECT_EQ(got.charge, c.charge) << "schedule " << code << " amount " << c.amount;
        EXPECT_EQ(got.maximum, c.maximum) << "schedule " << code << " amount " << c.amount;
    }
}

TEST(Commission, CodesOutsideTheListChargeNothing)
{
    for (int32_t code : {4, 7, -1}) {
        SimulationSettings settings;
        settings.commissionSchedule = code;
        Commission got = commissionFor(settings.schedule(), 4500000);
        EXPECT_EQ(got.charge, 0) << code;
        EXPECT_EQ(got.maximum, 0) << code;
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
        {300000, 30, 300000, -200000},  // covered by the carried loss
        {300000, 30, 290000, 90000},    // only the 100,000 above the loss is taxed
        {100000, 10, 90000, 180000},    // fully taxed while the profit is positive
        {-50000, -5, -50000, 130000},   // a loss is taken in full, no refund
        {0, 0, 0, 130000},              // at the buy price: nothing, no tax
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
