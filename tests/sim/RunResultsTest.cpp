// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/RunResults.h"
#include "sim/SimHarness.h"
#include "sim/TradeListCsv.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>
#include <vector>

namespace kv {
namespace {

// Expects a value that is there and equal to `expected` (within rounding of the divisions).
void expectValue(const std::optional<double>& got, double expected, const char* what)
{
    ASSERT_TRUE(got.has_value()) << what;
    EXPECT_NEAR(*got, expected, 1e-9 * std::max(1.0, std::fabs(expected))) << what;
}

void expectPeriod(const PeriodResult& got, int year, int month, double assets, double profit,
                  std::optional<double> returnPercent, int trades, int wins)
{
    SCOPED_TRACE(testing::Message() << year << "/" << month);
    EXPECT_EQ(got.year, year);
    EXPECT_EQ(got.month, month);
    EXPECT_DOUBLE_EQ(got.assets, assets);
    EXPECT_DOUBLE_EQ(got.profit, profit);
    EXPECT_EQ(got.returnPercent.has_value(), returnPercent.has_value());
    if (got.returnPercent && returnPercent) {
        EXPECT_NEAR(*got.returnPercent, *returnPercent, 1e-9);
    }
    EXPECT_EQ(got.trades, trades);
    EXPECT_EQ(got.wins, wins);
}

// Capital 1,000,000 over five days in three months. Sales +50,000 (tax 5,000), then three losses
// in a row (−30,000, −20,000, −10,000), +40,000 (tax 4,000), and −5,000 in the final liquidation;
// two purchases at 3,990.
RunResults losingStreakRun()
{
    RunResults r;
    r.begin(1000000);
    r.purchase(3990);
    r.closeDay(20040105, 996010);
    r.sale(50000, 45000);
    r.purchase(3990);
    r.closeDay(20040106, 1037020);
    r.sale(-30000, -30000);
    r.sale(-20000, -20000);
    r.closeDay(20040202, 987020);
    r.sale(-10000, -10000);
    r.closeDay(20040203, 977020);
    r.sale(40000, 36000);
    r.closeDay(20040301, 1013020);
    r.sale(-5000, -5000);
    r.liquidated(1008020);
    return r;
}

TEST(RunResults, TradeFiguresOfALosingStreak)
{
    ResultFigures f = losingStreakRun().figures();
    EXPECT_EQ(f.trades, 6);
    EXPECT_EQ(f.wins, 2);
    EXPECT_EQ(f.losses, 4);
    expectValue(f.winRatePercent, 100.0 / 3, "win rate");
    EXPECT_DOUBLE_EQ(f.grossProfit, 90000);
    EXPECT_DOUBLE_EQ(f.grossLoss, 65000);
    expectValue(f.profitFactor, 90000.0 / 65000, "profit factor");
    expectValue(f.averageWin, 45000, "average win");
    expectValue(f.averageLoss, 16250, "average loss");
    expectValue(f.expectancy, 25000.0 / 6, "expectancy");
    expectValue(f.largestWin, 50000, "largest win");
    expectValue(f.largestLoss, 30000, "largest loss");
    EXPECT_EQ(f.maxConsecutiveLosses, 3);
    EXPECT_DOUBLE_EQ(f.totalCommission, 7980);
    EXPECT_DOUBLE_EQ(f.totalTax, 9000);
}

TEST(RunResults, CurveDrawdownAndReturnOfALosingStreak)
{
    RunResults r = losingStreakRun();
    ASSERT_EQ(r.days().size(), 5u);
    // The liquidation's sale and assets join the last day.
    EXPECT_EQ(r.days().back().date, 20040301);
    EXPECT_DOUBLE_EQ(r.days().back().assets, 1008020);
    EXPECT_EQ(r.days().back().trades, 2);
    EXPECT_EQ(r.days().back().wins, 1);

    ResultFigures f = r.figures();
    // The peak is the capital until 1,037,020 on 01/06 raises it.
    const double drawdowns[] = {3990, 0, 50000, 60000, 29000};
    const double peaks[] = {1000000, 1037020, 1037020, 1037020, 1037020};
    ASSERT_EQ(f.drawdown.size(), 5u);
    ASSERT_EQ(f.drawdownPercent.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(f.drawdown[i], drawdowns[i]) << i;
        EXPECT_NEAR(f.drawdownPercent[i], drawdowns[i] / peaks[i] * 100, 1e-12) << i;
    }
    expectValue(f.maxDrawdown, 60000, "max drawdown");
    expectValue(f.maxDrawdownPercent, 60000 / 1037020.0 * 100, "max drawdown percent");
    EXPECT_EQ(f.maxDrawdownDate, 20040203);
    EXPECT_EQ(f.maxDrawdownPeakDate, 20040106);

    expectValue(f.finalAssets, 1008020, "final");
    expectValue(f.totalReturnPercent, 0.802, "total return");
    // 2004/01/05 to 2004/03/01 in a leap year: 26 + 29 + 1 = 56 days.
    expectValue(f.cagrPercent, (std::pow(1.00802, 365.25 / 56) - 1) * 100, "CAGR");
}

TEST(RunResults, MonthsAndYearsOfALosingStreak)
{
    ResultFigures f = losingStreakRun().figures();
    ASSERT_EQ(f.months.size(), 3u);
    // January's sale fell on the 6th; February holds three losses; March the +40,000 and the
    // liquidation.
    expectPeriod(f.months[0], 2004, 1, 1037020, 37020, 3.702, 1, 1);
    expectPeriod(f.months[1], 2004, 2, 977020, -60000, -60000 / 1037020.0 * 100, 3, 0);
    expectPeriod(f.months[2], 2004, 3, 1008020, 31000, 31000 / 977020.0 * 100, 2, 1);
    ASSERT_EQ(f.years.size(), 1u);
    expectPeriod(f.years[0], 2004, 0, 1008020, 8020, 0.802, 6, 2);
}

TEST(RunResults, NoLosingTradeAndNeverBelowCapital)
{
    RunResults r;
    r.begin(1000000);
    r.purchase(0);
    r.closeDay(20040105, 1000000);  // equal to the capital: no drawdown, no new peak
    r.sale(10000, 10000);
    r.closeDay(20040106, 1010000);
    r.sale(0, 0);  // at the buy price: neither win nor loss
    r.sale(20000, 18000);
    r.liquidated(1028000);
    ResultFigures f = r.figures();
    EXPECT_EQ(f.trades, 3);
    EXPECT_EQ(f.wins, 2);
    EXPECT_EQ(f.losses, 0);
    EXPECT_DOUBLE_EQ(f.grossLoss, 0);
    EXPECT_FALSE(f.profitFactor);
    EXPECT_FALSE(f.averageLoss);
    EXPECT_FALSE(f.largestLoss);
    expectValue(f.largestWin, 20000, "largest win");
    expectValue(f.expectancy, 10000, "expectancy");
    EXPECT_EQ(f.maxConsecutiveLosses, 0);
    EXPECT_DOUBLE_EQ(f.totalTax, 2000);

    expectValue(f.maxDrawdown, 0, "max drawdown");
    expectValue(f.maxDrawdownPercent, 0, "max drawdown percent");
    EXPECT_FALSE(f.maxDrawdownDate);
    EXPECT_FALSE(f.maxDrawdownPeakDate);
    EXPECT_EQ(f.drawdown, (std::vector<double>{0, 0}));
}

TEST(RunResults, PeakAndDrawdownDateRules)
{
    {
        SCOPED_TRACE("a fall below the capital before any new peak has no peak date");
        RunResults r;
        r.begin(100);
        r.closeDay(20040105, 90);
        r.closeDay(20040106, 95);
        ResultFigures f = r.figures();
        expectValue(f.maxDrawdown, 10, "max drawdown");
        EXPECT_EQ(f.maxDrawdownDate, 20040105);
        EXPECT_FALSE(f.maxDrawdownPeakDate);
    }
    {
        SCOPED_TRACE("the first of equal drawdowns; an equal value does not raise the peak");
        RunResults r;
        r.begin(100);
        r.closeDay(20040105, 120);
        r.closeDay(20040106, 100);
        r.closeDay(20040107, 120);  // back to the peak, not above it
        r.closeDay(20040108, 90);
        r.closeDay(20040109, 120);
        r.closeDay(20040110, 90);
        ResultFigures f = r.figures();
        expectValue(f.maxDrawdown, 30, "max drawdown");
        EXPECT_EQ(f.maxDrawdownDate, 20040108);
        EXPECT_EQ(f.maxDrawdownPeakDate, 20040105);
    }
    {
        SCOPED_TRACE("the largest yen and the largest percent fall on different days");
        RunResults r;
        r.begin(100);
        r.closeDay(20040105, 50);  // 50 below a peak of 100: 50 %
        r.closeDay(20040106, 1000);
        r.closeDay(20040107, 900);  // 100 below a peak of 1000: 10 %
        ResultFigures f = r.figures();
        expectValue(f.maxDrawdown, 100, "max drawdown");
        expectValue(f.maxDrawdownPercent, 50, "max drawdown percent");
        EXPECT_EQ(f.maxDrawdownDate, 20040107);
        EXPECT_EQ(f.maxDrawdownPeakDate, 20040106);
    }
    {
        SCOPED_TRACE("a peak of 0 or less gives 0 percent; no capital gives no return");
        RunResults r;
        r.begin(0);
        r.closeDay(20040105, -10);
        ResultFigures f = r.figures();
        EXPECT_DOUBLE_EQ(f.drawdown[0], 10);
        EXPECT_DOUBLE_EQ(f.drawdownPercent[0], 0);
        EXPECT_FALSE(f.totalReturnPercent);
        EXPECT_FALSE(f.cagrPercent);
    }
}

TEST(RunResults, RiskAndTimeFigures)
{
    RunResults r;
    r.begin(100);
    // Drawdown runs of two points each (the first is the longest), a position held on four of
    // the six days, one of them at a new high. Monday to Saturday: the series is the points.
    const double assets[] = {90, 95, 110, 88, 99, 110};
    for (int i = 0; i < 6; ++i)
        r.closeDay(20040105 + i, assets[i], i != 4 && i != 5);
    Trade trade;
    for (auto [buy, sell, gross] : {std::tuple{20040105, 20040115, 30.0},
                                    {20040228, 20040301, 10.0},
                                    {20040105, 99999999, -5.0},
                                    {20040230, 20040301, 0.0}}) {
        trade.buyDate = buy;
        trade.sellDate = sell;
        trade.grossProfit = gross;
        r.sale(trade);
    }
    ResultFigures f = r.figures();
    EXPECT_EQ(f.longestDrawdownDays, 2);
    EXPECT_EQ(f.longestDrawdownStart, 20040105);
    EXPECT_EQ(f.longestDrawdownEnd, 20040106);
    expectValue(f.exposurePercent, 4 / 6.0 * 100, "exposure");
    // 10 and 2 days; 9999/99/99 and 2004/02/30 are no calendar dates.
    expectValue(f.averageHoldingDays, 6, "average holding days");
    expectValue(f.payoffRatio, 20.0 / 5, "payoff");
    expectValue(f.recoveryFactor, 10.0 / 22, "recovery factor");
    ASSERT_TRUE(f.cagrPercent);
    expectValue(f.calmarRatio, *f.cagrPercent / 20, "Calmar");  // 22 below a peak of 110
    EXPECT_TRUE(r.tradeList().empty());                         // the list is kept only when asked

    {
        SCOPED_TRACE("+20 %, then −10 %: the sample deviation, the downside over every day");
        RunResults twoDays;
        twoDays.begin(100);
        twoDays.closeDay(20040105, 120);
        twoDays.closeDay(20040106, 108);
        f = twoDays.figures();
        expectValue(f.sharpeRatio, 0.05 / std::sqrt(0.045) * std::sqrt(252.0), "Sharpe");
        expectValue(f.sortinoRatio, 0.05 / std::sqrt(0.005) * std::sqrt(252.0), "Sortino");
    }
    {
        SCOPED_TRACE("one point: a Sortino ratio but no Sharpe ratio");
        RunResults one;
        one.begin(100, true);
        one.closeDay(20040105, 90);
        one.sale(trade);
        f = one.figures();
        EXPECT_FALSE(f.sharpeRatio);
        expectValue(f.sortinoRatio, -std::sqrt(252.0), "Sortino");  // −0.1 ÷ √(0.01 ÷ 1) × √252
        EXPECT_EQ(one.tradeList().size(), 1u);
        EXPECT_FALSE(f.averageHoldingDays);
        EXPECT_FALSE(f.payoffRatio);  // no win and no loss
    }
    {
        SCOPED_TRACE("the time figures count the exchange's business days between the points");
        // 01/09 (Fri) and 01/16 (Fri): the series is 01/09, 01/13, 01/14, 01/15 and 01/16 (01/12
        // is 成人の日), the days between carrying 01/09's assets and position.
        RunResults week;
        week.begin(100);
        week.closeDay(20040109, 90, true);
        week.closeDay(20040116, 100, false);
        f = week.figures();
        const double returns[] = {-0.1, 0, 0, 0, 100 / 90.0 - 1};
        double mean = 0;
        for (double r5 : returns)
            mean += r5 / 5;
        double squares = 0;
        for (double r5 : returns)
            squares += (r5 - mean) * (r5 - mean);
        expectValue(f.sharpeRatio, mean / std::sqrt(squares / 4) * std::sqrt(252.0), "Sharpe");
        expectValue(f.sortinoRatio, mean / std::sqrt(0.01 / 5) * std::sqrt(252.0), "Sortino");
        EXPECT_EQ(f.longestDrawdownDays, 4);
        EXPECT_EQ(f.longestDrawdownStart, 20040109);
        EXPECT_EQ(f.longestDrawdownEnd, 20040115);
        expectValue(f.exposurePercent, 80, "exposure");
        EXPECT_EQ(daySeries(week.days()).size(), 5u);
        // A point dated on a Sunday joins the series; dates out of order leave it the points.
        week.closeDay(20040118, 100);
        EXPECT_EQ(daySeries(week.days()).size(), 6u);
        week.closeDay(20040117, 100);
        EXPECT_EQ(daySeries(week.days()).size(), 4u);
    }
    {
        SCOPED_TRACE("steady growth: no deviation, no drawdown");
        RunResults steady;
        steady.begin(100);
        steady.closeDay(20040105, 110);
        steady.closeDay(20040106, 121);
        f = steady.figures();
        EXPECT_FALSE(f.sharpeRatio);
        EXPECT_FALSE(f.sortinoRatio);
        EXPECT_TRUE(f.cagrPercent);
        EXPECT_FALSE(f.calmarRatio);
        EXPECT_FALSE(f.recoveryFactor);
        EXPECT_EQ(f.longestDrawdownDays, 0);
        EXPECT_FALSE(f.longestDrawdownStart);
        EXPECT_FALSE(f.longestDrawdownEnd);
        expectValue(f.exposurePercent, 0, "exposure");
    }
    {
        SCOPED_TRACE("a previous point at 0: no daily returns");
        RunResults broke;
        broke.begin(100);
        broke.closeDay(20040105, 0);
        broke.closeDay(20040106, -10);
        broke.closeDay(20040107, 50);
        f = broke.figures();
        EXPECT_FALSE(f.sharpeRatio);
        EXPECT_FALSE(f.sortinoRatio);
        expectValue(f.recoveryFactor, -50.0 / 110, "recovery factor");
        EXPECT_EQ(f.longestDrawdownDays, 3);
    }
    EXPECT_FALSE(RunResults{}.figures().exposurePercent);
}

TEST(RunResults, CagrNeedsRealDatesApartAndPositiveAssets)
{
    struct Case {
        const char* what;
        double capital;
        int32_t first;
        int32_t last;
        double final;
        std::optional<double> cagr;
    } cases[] = {
        {"one year of 366 days", 100, 20040101, 20050101, 121, (std::pow(1.21, 365.25 / 366) - 1) * 100},
        {"a one-day run", 100, 20040105, 20040105, 121, std::nullopt},
        {"not a calendar date", 100, 20040230, 20050101, 121, std::nullopt},
        {"month 13", 100, 20040101, 20041301, 121, std::nullopt},
        {"the undeterminable end date", 100, 20040101, 99999999, 121, std::nullopt},
        {"no date", 100, 0, 20040101, 121, std::nullopt},
        {"dates out of order", 100, 20050101, 20040101, 121, std::nullopt},
        {"nothing left", 100, 20040101, 20050101, 0, std::nullopt},
        {"a negative capital", -100, 20040101, 20050101, 121, std::nullopt},
    };
    for (const Case& c : cases) {
        RunResults r;
        r.begin(c.capital);
        r.closeDay(c.first, c.capital);
        r.closeDay(c.last, c.final);
        ResultFigures f = r.figures();
        EXPECT_EQ(f.cagrPercent.has_value(), c.cagr.has_value()) << c.what;
        if (f.cagrPercent && c.cagr) {
            EXPECT_NEAR(*f.cagrPercent, *c.cagr, 1e-9) << c.what;
        }
        expectValue(f.totalReturnPercent, (c.final / c.capital - 1) * 100, c.what);
    }
}

TEST(RunResults, CalendarDays)
{
    struct Case {
        int32_t from;
        int32_t to;
        std::optional<int64_t> days;
    } cases[] = {
        {20040101, 20050101, 366},
        {20030101, 20040101, 365},
        {20040228, 20040301, 2},
        {20030228, 20030301, 1},
        {19000228, 19000301, 1},
        {20000228, 20000301, 2},
        {20050101, 20040101, -366},
        {20040229, 20040229, 0},
        {20030229, 20040101, std::nullopt},
        {20040100, 20040101, std::nullopt},
        {20040132, 20040101, std::nullopt},
        {101, 20040101, std::nullopt},
        {20040101, 2147483647, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(calendarDaysBetween(c.from, c.to), c.days) << c.from << " " << c.to;
}

TEST(RunResults, MonthsWithoutSalesOutOfOrderDatesAndOddMonths)
{
    RunResults r;
    r.begin(1000);
    r.closeDay(20040301, 900);  // March, no sale
    r.sale(-100, -100);
    r.closeDay(20040115, 800);  // January appears later in the file than March
    r.closeDay(20040116, 850);
    r.closeDay(20040230, 860);  // not a calendar date: still February as read
    r.closeDay(20041305, 870);  // month 13 as read: a period of its own
    r.sale(50, 40);
    r.sale(-5000, -5000);
    r.closeDay(20050510, -4130);  // May 2005; April 2004..2005 hold no point
    r.sale(30, 30);
    r.closeDay(20050511, 10);
    ResultFigures f = r.figures();
    ASSERT_EQ(f.months.size(), 5u);
    // Ascending by year and month; each profit from the previous row's assets.
    expectPeriod(f.months[0], 2004, 1, 850, -150, -15, 1, 0);
    expectPeriod(f.months[1], 2004, 2, 860, 10, 10.0 / 850 * 100, 0, 0);
    expectPeriod(f.months[2], 2004, 3, 900, 40, 40.0 / 860 * 100, 0, 0);
    expectPeriod(f.months[3], 2004, 13, 870, -30, -30.0 / 900 * 100, 0, 0);
    // May: the last point's assets in run order; the previous assets 870.
    expectPeriod(f.months[4], 2005, 5, 10, -860, -860.0 / 870 * 100, 3, 2);
    ASSERT_EQ(f.years.size(), 2u);
    expectPeriod(f.years[0], 2004, 0, 870, -130, -13, 1, 0);
    expectPeriod(f.years[1], 2005, 0, 10, -860, -860.0 / 870 * 100, 3, 2);

    // A period after one whose assets are not above 0 has no return.
    RunResults broke;
    broke.begin(1000);
    broke.closeDay(20040130, -5);
    broke.closeDay(20040227, 100);
    f = broke.figures();
    ASSERT_EQ(f.months.size(), 2u);
    expectPeriod(f.months[0], 2004, 1, -5, -1005, -100.5, 0, 0);
    expectPeriod(f.months[1], 2004, 2, 100, 105, std::nullopt, 0, 0);
}

TEST(RunResults, EmptyRun)
{
    RunResults r;
    r.begin(1000);
    ResultFigures f = r.figures();
    EXPECT_TRUE(f.drawdown.empty());
    EXPECT_FALSE(f.finalAssets);
    EXPECT_FALSE(f.totalReturnPercent);
    EXPECT_FALSE(f.maxDrawdown);
    EXPECT_FALSE(f.maxDrawdownPercent);
    EXPECT_FALSE(f.winRatePercent);
    EXPECT_FALSE(f.expectancy);
    EXPECT_FALSE(f.averageWin);
    EXPECT_TRUE(f.months.empty());
    EXPECT_TRUE(f.years.empty());

    // A liquidation without a day keeps its sale in the trade figures only.
    r.sale(10, 10);
    r.liquidated(1010);
    EXPECT_TRUE(r.days().empty());
    EXPECT_EQ(r.figures().trades, 1);
}

// A whole run through the simulation, worked by hand (capital 2,000,000, leverage 2.5, no carried
// loss, tax 10 %, commission 3,990 a purchase):
//   01/05 buy 9 lots of A at 500                              → 1,996,010
//   01/06 sell A at 520: +180,000, tax 18,000; buy 179 lots of B at 300 → 2,154,020
//   02/02 sell B at 280: −358,000; buy 44 lots of C at 100  → 1,792,030
//   final liquidation: C at 95, −220,000                    → 1,572,030 (on 02/02)
TEST(RunResults, TheSimulationFeedsDaysSalesAndCommissions)
{
    test::SimHarness h;
    h.app->settings.lossWithinThreeYears = 0;
    h.app->settings.taxRate = 0.1;
    h.addSignal(test::signalLine(1, "極洋", "2004/01/05", 500, "○", "2004/01/06", 520, 1000));
    h.addSignal(test::signalLine(2, "日水", "2004/1/6", 300, "×", "2004/2/2", 280, 100));
    h.addSignal(test::signalLine(3, "マルハ", "2004/2/2", 100, "×", "9999/99/99", 95, 1000));
    h.keepTradeList = true;
    h.start();
    EXPECT_TRUE(h.sim.results().days().empty());  // the first day has not closed yet
    h.runToEnd();

    const RunResults& r = h.sim.results();
    EXPECT_DOUBLE_EQ(r.capital(), 2000000);
    ASSERT_EQ(r.days().size(), 3u);
    const DayPoint expected[] = {
        {20040105, 1996010, 0, 0, true}, {20040106, 2154020, 1, 1, true}, {20040202, 1572030, 2, 0, true}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(r.days()[i].date, expected[i].date) << i;
        EXPECT_DOUBLE_EQ(r.days()[i].assets, expected[i].assets) << i;
        EXPECT_EQ(r.days()[i].trades, expected[i].trades) << i;
        EXPECT_EQ(r.days()[i].wins, expected[i].wins) << i;
        EXPECT_EQ(r.days()[i].holding, expected[i].holding) << i;
    }

    // The trades: each purchase's date, amount and commission with its sale's numbers; the final
    // liquidation sells C on its row's end date.
    struct Row {
        int32_t code, buyDate, sellDate;
        double shares, buyAmount, sellAmount, gross, net, rate;
        std::optional<int64_t> days;
    } rows[] = {
        {1, 20040105, 20040106, 9000, 4500000, 4680000, 180000, 162000, 4, 1},
        {2, 20040106, 20040202, 17900, 5370000, 5012000, -358000, -358000, (280 / 300.0 - 1) * 100, 27},
        {3, 20040202, 20040202, 44000, 4400000, 4180000, -220000, -220000, -5, 0},
    };
    ASSERT_EQ(r.tradeList().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const Trade& t = r.tradeList()[i];
        EXPECT_EQ(t.code, rows[i].code) << i;
        EXPECT_EQ(t.signal, i) << i;
        EXPECT_EQ(t.buyDate, rows[i].buyDate) << i;
        EXPECT_EQ(t.sellDate, rows[i].sellDate) << i;
        EXPECT_EQ(t.commission, 3990) << i;
        EXPECT_DOUBLE_EQ(t.shares, rows[i].shares) << i;
        EXPECT_DOUBLE_EQ(t.buyAmount, rows[i].buyAmount) << i;
        EXPECT_DOUBLE_EQ(t.sellAmount, rows[i].sellAmount) << i;
        EXPECT_DOUBLE_EQ(t.grossProfit, rows[i].gross) << i;
        EXPECT_DOUBLE_EQ(t.netProfit, rows[i].net) << i;
        EXPECT_NEAR(t.profitRatePercent, rows[i].rate, 1e-9) << i;
        EXPECT_EQ(t.holdingDays(), rows[i].days) << i;
    }
    // The same trades as CSV below its header: the names from the signal rows, amounts rounded as
    // the trade log rounds them; C, without an end date of its own (9999/99/99), sold by the final
    // liquidation on the run's last day.
    ASSERT_TRUE(writeTradeListCsv(r, h.signalRows, h.folder / "trades.csv"));
    const std::string csv = h.folder.read("trades.csv");
    EXPECT_EQ(
        csv.substr(csv.find("\r\n") + 2),
        toCp932("1,極洋,2004/01/05,2004/01/06,1,9000,4500000,4680000,3990,180000,162000,4.00,売却\r\n"
                "2,日水,2004/01/06,2004/02/02,27,17900,5370000,5012000,3990,-358000,-358000,-6.67,売却\r\n"
                "3,マルハ,2004/02/02,2004/02/"
                "02,0,44000,4400000,4180000,3990,-220000,-220000,-5.00,期末決済\r\n"));
    EXPECT_DOUBLE_EQ(r.days().back().assets, h.figures().totalAssets);

    ResultFigures f = r.figures();
    EXPECT_EQ(f.trades, 3);
    EXPECT_EQ(f.wins, 1);
    EXPECT_EQ(f.losses, 2);
    EXPECT_EQ(f.maxConsecutiveLosses, 2);
    EXPECT_DOUBLE_EQ(f.grossLoss, 578000);
    EXPECT_DOUBLE_EQ(f.totalCommission, 11970);
    EXPECT_DOUBLE_EQ(f.totalTax, 18000);
    // What the run did with its capital: C, bought on the last day, took 4,400,000 of that day's
    // buying power (1,572,030 × 2.5) on one of the 20 business days from 01/05 to 02/02.
    EXPECT_EQ(f.endOfRunTrades, 1);
    EXPECT_EQ(f.undecidedTrades, 1);
    EXPECT_DOUBLE_EQ(f.undecidedCost, 4400000);
    EXPECT_NEAR(f.undecidedExposurePercent, 4400000 / (1572030 * 2.5) / 20 * 100, 1e-9);
    EXPECT_EQ(f.marginCallDays, 0);
    EXPECT_FALSE(f.firstMarginCallDate);

    // Another step after the end sells nothing and changes nothing.
    h.steps(1);
    EXPECT_EQ(r.days().size(), 3u);
    EXPECT_EQ(r.figures().trades, 3);
    EXPECT_DOUBLE_EQ(r.days().back().assets, 1572030);

    // RESET keeps the results of the abandoned run; the next run starts them afresh.
    h.sim.reset();
    EXPECT_EQ(r.days().size(), 3u);
    h.keepTradeList = false;
    h.start(1, 1);
    EXPECT_TRUE(r.days().empty());
    EXPECT_TRUE(r.tradeList().empty());
    EXPECT_EQ(r.figures().trades, 0);
    EXPECT_DOUBLE_EQ(r.figures().totalCommission, 0);
    EXPECT_DOUBLE_EQ(r.figures().totalTax, 0);
}

// A day point records whether a position is held at its close: 単位なし cannot be bought, and
// 極洋 is sold at the opening of 01/08.
TEST(RunResults, TheDaysRecordWhetherAPositionIsHeld)
{
    test::SimHarness h;
    h.addSignal(test::signalLine(4, "単位なし", "2004/1/5", 500, "○", "2004/1/6", 520, 0));
    h.addSignal(test::signalLine(1, "極洋", "2004/1/6", 500, "○", "2004/1/7", 520, 1000));
    h.addSignal(test::signalLine(4, "単位なし", "2004/1/8", 500, "○", "2004/1/9", 520, 0));
    h.start();
    h.runToEnd();
    const std::vector<DayPoint>& days = h.sim.results().days();
    ASSERT_EQ(days.size(), 3u);
    EXPECT_FALSE(days[0].holding);
    EXPECT_TRUE(days[1].holding);
    EXPECT_FALSE(days[2].holding);
    // Held at the close of 01/06, and so on 01/07, which has no point: two of four business days.
    expectValue(h.sim.results().figures().exposurePercent, 50, "exposure");
}

TEST(RunResults, AWindowPastItsEndHasNoDay)
{
    test::SimHarness h;
    h.addSignal(test::signalLine(1, "極洋", "2004/1/5", 500, "○", "2004/1/6", 520, 1000));
    h.start(1, 0);
    h.runToEnd();
    EXPECT_TRUE(h.sim.finished());
    EXPECT_TRUE(h.sim.results().days().empty());
    EXPECT_EQ(h.sim.results().figures().trades, 0);
}

}  // namespace
}  // namespace kv
