// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Commission.h"
#include "sim/NetProfit.h"
#include "sim/TaxAccount.h"

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

// The account's rule, worked by hand (as in the README): 100,000 carried into a run that starts in
// 2004, tax 20 %. Each step is (year, taxable gain g, the sale's tax).
TEST(TaxAccount, NetsEachYearAndCarriesLossesThreeYears)
{
    struct Sale {
        int32_t year;
        double gain;
        double tax;
    } sales[] = {
        {2004, 300000, 40000},    // Y = −100,000 + 300,000: 20 % of 200,000
        {2004, -150000, -30000},  // Y = 50,000: 10,000 in all, 30,000 given back
        {2005, -80000, 0},        // 2003's loss used up by 2004's gain; Y = −80,000
        {2006, 50000, 0},         // 2005's loss of 80,000: Y = −30,000
        {2006, 40000, 2000},      // Y = 10,000
        {2010, 40000, 8000},      // 2005's last 0 and nothing usable after 2008: all taxed
        {2009, 10000, 2000},      // dated before the year in progress: counts in 2010
    };
    TaxAccount account;
    account.begin(100000);
    account.firstYear(2004);
    double total = 0;
    for (const Sale& s : sales) {
        const double tax = account.tax(s.gain, s.year, 0.2);
        total += tax;
        EXPECT_DOUBLE_EQ(tax, s.tax) << s.year << " " << s.gain;
    }
    EXPECT_DOUBLE_EQ(total, 22000);

    // A loss is usable in the three years after its own, no later.
    account.begin(0);
    EXPECT_DOUBLE_EQ(account.tax(-100000, 2004, 0.2), 0);
    EXPECT_DOUBLE_EQ(account.tax(10000, 2007, 0.2), 0);     // 2004's loss: 90,000 left
    EXPECT_DOUBLE_EQ(account.tax(10000, 2008, 0.2), 2000);  // gone after 2007
}

}  // namespace
}  // namespace kv
