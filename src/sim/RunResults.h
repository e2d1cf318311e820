// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The results of a run, collected as the simulation steps: one point per trading day (its date
// and 総資産 after the day's close) and a few running sums per sale and per purchase. Nothing is
// read back from the trade log. The asset curve, drawdowns, trade figures and the monthly and
// yearly tables are computed from what was collected, on demand (figures()). A run may also keep
// its list of trades (one row per sale); only a run that is asked to keeps it, since a long run
// makes hundreds of thousands of sales.
//
// Held positions count at their cost, because a signal file has no daily prices: the curve moves
// with sales and commissions only.
//
// A figure whose divisor is zero has no value (std::nullopt; "----" on screen, null in JSON).

#include <cstdint>
#include <optional>
#include <vector>

namespace kv {

struct DayPoint {
    int32_t date = 0;          // yyyymmdd, the day's date text as the row reader reads it
    double assets = 0;         // totalAssets after the day's close; the last day's after liquidation
    int32_t trades = 0;        // sales counted in this day: those since the previous point
    int32_t wins = 0;          // of which with a gross profit above 0
    bool holding = false;      // a position was held at the day's close (before a final liquidation)
    double undecidedCost = 0;  // purchase cost of the 判定不可 positions held at the day's close
};

// One sale and the purchase it closed, with the numbers the trade log's purchase and sale lines
// give: the purchase's date, amount and commission, and the rest as the sale has them.
struct Trade {
    int32_t code = 0;
    int32_t signal = 0;   // index of its signal row, which names the stock
    int32_t buyDate = 0;  // yyyymmdd, the purchase line's date
    // yyyymmdd: the row's end date; for a 判定不可 row sold by the final liquidation, the date of
    // the run's last day point.
    int32_t sellDate = 0;
    int32_t commission = 0;  // charged at the purchase, a positive number
    double shares = 0;
    double buyAmount = 0;
    double sellAmount = 0;
    double grossProfit = 0;  // 差引益
    double netProfit = 0;    // after tax
    double profitRatePercent = 0;
    bool endOfRun = false;   // sold by the final liquidation
    bool undecided = false;  // bought from a 判定不可 row (its end date 9999/99/99)

    // Calendar days from the purchase to the sale; none when a date is not a real calendar date.
    std::optional<int64_t> holdingDays() const;
};

// One row of the monthly or yearly table.
struct PeriodResult {
    int32_t year = 0;
    int32_t month = 0;                    // 1..12 as the dates read; 0 in the yearly table
    double assets = 0;                    // at the period's last point, in run order
    double profit = 0;                    // assets − the previous period's (the first: − capital)
    std::optional<double> returnPercent;  // profit ÷ the previous assets; none when those are ≤ 0
    int64_t trades = 0;
    int64_t wins = 0;
};

struct ResultFigures {
    // Per day point, in run order: peak − assets (the peak is the largest of capital and the
    // assets so far) and its share of the peak in per cent (0 when the peak is not above 0).
    std::vector<double> drawdown;
    std::vector<double> drawdownPercent;

    // None without a day point.
    std::optional<double> finalAssets;
    std::optional<double> totalReturnPercent;  // also none when capital is 0
    // None when the first and last dates are not real calendar dates, lie no day apart (or the
    // last lies before the first), or capital or the final assets are not above 0.
    std::optional<double> cagrPercent;
    std::optional<double> maxDrawdown;
    std::optional<double> maxDrawdownPercent;  // the largest percent, wherever it fell
    // The first point with the largest drawdown in yen, and the last point at or before it that
    // raised the peak; none when that drawdown is 0, the peak date also when the peak there was
    // still the capital.
    std::optional<int32_t> maxDrawdownPeakDate;
    std::optional<int32_t> maxDrawdownDate;

    int64_t trades = 0;
    int64_t wins = 0;    // sales with a gross profit above 0
    int64_t losses = 0;  // sales with a gross profit below 0
    std::optional<double> winRatePercent;
    double grossProfit = 0;  // Σ gross profit over wins
    double grossLoss = 0;    // −Σ gross profit over losses (a positive number)
    std::optional<double> profitFactor;
    std::optional<double> averageWin;
    std::optional<double> averageLoss;  // positive
    std::optional<double> expectancy;   // Σ gross profit ÷ trades
    std::optional<double> largestWin;
    std::optional<double> largestLoss;  // positive
    int64_t maxConsecutiveLosses = 0;
    double totalCommission = 0;  // charged on purchases
    double totalTax = 0;         // Σ (gross − net) over sales

    // The time figures are taken over the day series (see daySeries()): the exchange's business
    // days from the first point's date to the last one's, each with the last point on or before
    // it. Daily return r = assets ÷ the previous date's assets − 1 (the first against the
    // capital). Sharpe = mean(r) ÷ sample deviation(r) × √252, Sortino = mean(r) ÷ √(Σ min(r, 0)² ÷
    // n) × √252. Both none when some previous assets are 0 or the deviation is 0; Sharpe also
    // with fewer than two dates.
    std::optional<double> sharpeRatio;
    std::optional<double> sortinoRatio;
    std::optional<double> calmarRatio;     // CAGR ÷ max drawdown percent
    std::optional<double> recoveryFactor;  // (final assets − capital) ÷ max drawdown
    // The longest run of consecutive series dates in a drawdown (the first of equal runs), and
    // its first and last date; 0 and none without a drawdown.
    int64_t longestDrawdownDays = 0;
    std::optional<int32_t> longestDrawdownStart;
    std::optional<int32_t> longestDrawdownEnd;
    std::optional<double> exposurePercent;     // share of the series dates that held a position
    std::optional<double> averageHoldingDays;  // over the trades whose dates are real dates
    std::optional<double> payoffRatio;         // average win ÷ average loss

    // What the run did with its capital.
    int64_t endOfRunTrades = 0;      // sales made by the final liquidation
    int64_t undecidedTrades = 0;     // trades bought from 判定不可 rows
    int64_t undecidedHeldToEnd = 0;  // of which sold by the final liquidation
    double undecidedCost = 0;        // their purchase amounts
    // Over the day series, the mean share of the buying power (total assets × leverage) that the
    // 判定不可 positions held at the close took, in per cent; 0 without a series.
    double undecidedExposurePercent = 0;
    int64_t marginCallDays = 0;  // buy phases whose margin check warned of a margin call
    std::optional<int32_t> firstMarginCallDate;

    std::vector<PeriodResult> months;  // ascending by year and month
    std::vector<PeriodResult> years;   // ascending by year
};

class RunResults {
public:
    // A run starts: everything collected so far is dropped. With keepTrades the run keeps its
    // list of trades; `leverage` turns total assets into buying power.
    void begin(double capital, bool keepTrades = false, double leverage = 1);

    // A purchase charged `commission`.
    void purchase(double commission);

    // A sale: its gross profit (the trade log's 差引益), its after-tax profit and its holding days
    // enter the figures. It counts in the next day point, or in the last one when liquidated()
    // follows.
    void sale(const Trade& trade);
    // A sale known by its profits only (no real dates, so no holding days).
    void sale(double gross, double net);

    // The day dated `date` (yyyymmdd) has closed with total assets `assets`, `holding` a
    // position or not, of which 判定不可 positions that cost `undecidedCost`.
    void closeDay(int32_t date, double assets, bool holding = false, double undecidedCost = 0);

    // The buy phase of the day dated `date` warned of a possible margin call.
    void marginCall(int32_t date);

    // The final liquidation has sold everything: its sales and the assets after it belong to the
    // last day. May be called again (a repeated liquidation sells nothing).
    void liquidated(double assets);

    double capital() const { return runCapital; }
    const std::vector<DayPoint>& days() const { return points; }
    // The run's trades in the order of the sales; empty unless the run keeps them.
    const std::vector<Trade>& tradeList() const { return keptTrades; }

    ResultFigures figures() const;

private:
    void riskFigures(ResultFigures& f) const;

    double runCapital = 0;
    double runLeverage = 1;
    std::vector<DayPoint> points;
    int32_t pendingTrades = 0;  // sales not yet counted in a day point
    int32_t pendingWins = 0;

    int64_t trades = 0;
    int64_t wins = 0;
    int64_t losses = 0;
    double grossSum = 0;
    double winSum = 0;
    double lossSum = 0;  // Σ −gross over losses
    double largestWin = 0;
    double largestLoss = 0;
    int64_t losingRun = 0;
    int64_t longestLosingRun = 0;
    double commissionSum = 0;
    double taxSum = 0;
    int64_t holdingDaysSum = 0;
    int64_t tradesWithHoldingDays = 0;
    int64_t endOfRunSales = 0;
    int64_t undecidedSales = 0;
    int64_t undecidedEndOfRunSales = 0;
    double undecidedAmount = 0;
    int64_t marginCalls = 0;
    std::optional<int32_t> firstMarginCall;

    bool keepTrades = false;
    std::vector<Trade> keptTrades;
};

// The dates the time figures are taken over, each with the day point whose assets and holdings
// it carries (the last one on or before it): the exchange's business days from the first point's
// date to the last one's, and every point's date that is not a business day. When a point's date
// is not a real date of 1990 to 2099, or the dates do not increase, the points themselves.
struct SeriesDate {
    int32_t date = 0;
    const DayPoint* point = nullptr;
};
std::vector<SeriesDate> daySeries(const std::vector<DayPoint>& points);

// Where each day point lies on a time axis: calendar days since the first point's date, so that a
// chart draws time evenly however unevenly the points fall; the points' indices when a date is not
// a real date or the dates do not increase.
std::vector<double> timePositions(const std::vector<DayPoint>& points);

// Whole calendar days from `from` to `to` (yyyymmdd, negative when `to` is earlier), or none
// when either is not a real date of the years 1 to 9999.
std::optional<int64_t> calendarDaysBetween(int32_t from, int32_t to);

}  // namespace kv
