// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/RunResults.h"

#include "text/ExchangeCalendar.h"

#include <chrono>
#include <cmath>
#include <cstddef>
#include <algorithm>
#include <map>

namespace kv {

namespace {

std::optional<std::chrono::sys_days> calendarDay(int32_t yyyymmdd)
{
    const int32_t year = yyyymmdd / 10000;
    if (year < 1 || year > 9999)
        return std::nullopt;
    const std::chrono::year_month_day day{std::chrono::year{year},
                                          std::chrono::month{static_cast<unsigned>(yyyymmdd / 100 % 100)},
                                          std::chrono::day{static_cast<unsigned>(yyyymmdd % 100)}};
    if (!day.ok())
        return std::nullopt;
    return std::chrono::sys_days{day};
}

std::optional<double> ratio(double numerator, double denominator)
{
    if (denominator == 0)
        return std::nullopt;
    return numerator / denominator;
}

std::optional<double> percentOf(double numerator, double denominator)
{
    if (denominator == 0)
        return std::nullopt;
    return numerator / denominator * 100;
}

// The monthly or yearly table: points grouped by key (yyyymm or yyyy) in ascending order, each
// period's assets those of its last point in run order, its profit measured from the previous
// period (the first one from the capital).
std::vector<PeriodResult> periods(const std::vector<DayPoint>& points, double capital, int32_t keyDivisor)
{
    struct Period {
        double assets = 0;
        int64_t trades = 0;
        int64_t wins = 0;
    };
    std::map<int32_t, Period> byKey;
    for (const DayPoint& point : points) {
        Period& period = byKey[point.date / keyDivisor];
        period.assets = point.assets;
        period.trades += point.trades;
        period.wins += point.wins;
    }
    std::vector<PeriodResult> table;
    table.reserve(byKey.size());
    double previous = capital;
    for (const auto& [key, period] : byKey) {
        PeriodResult row;
        if (keyDivisor == 100) {
            row.year = key / 100;
            row.month = key % 100;
        } else {
            row.year = key;
        }
        row.assets = period.assets;
        row.profit = period.assets - previous;
        if (previous > 0)
            row.returnPercent = row.profit / previous * 100;
        row.trades = period.trades;
        row.wins = period.wins;
        table.push_back(row);
        previous = period.assets;
    }
    return table;
}

}  // namespace

std::vector<SeriesDate> daySeries(const std::vector<DayPoint>& points)
{
    std::vector<SeriesDate> series;
    auto themselves = [&] {
        series.clear();
        for (const DayPoint& point : points)
            series.push_back({point.date, &point});
        return series;
    };
    for (size_t i = 0; i < points.size(); ++i) {
        const int32_t year = points[i].date / 10000;
        if (year < 1990 || year > 2099 || !calendarDay(points[i].date) ||
            (i > 0 && points[i].date <= points[i - 1].date))
            return themselves();
    }
    if (points.empty())
        return series;
    const std::chrono::sys_days last = *calendarDay(points.back().date);
    size_t next = 0;  // the first point not yet reached
    for (std::chrono::sys_days day = *calendarDay(points.front().date); day <= last;
         day += std::chrono::days{1}) {
        const std::chrono::year_month_day ymd{day};
        const int32_t date = static_cast<int32_t>(ymd.year()) * 10000 +
            static_cast<int32_t>(static_cast<unsigned>(ymd.month())) * 100 +
            static_cast<int32_t>(static_cast<unsigned>(ymd.day()));
        const bool pointDate = points[next].date == date;
        if (pointDate)
            ++next;
        if (pointDate || isBusinessDay(date))
            series.push_back({date, &points[next - 1]});
    }
    return series;
}

std::vector<double> timePositions(const std::vector<DayPoint>& points)
{
    std::vector<double> positions;
    positions.reserve(points.size());
    for (const DayPoint& point : points) {
        const std::optional<int64_t> days =
            points.empty() ? std::nullopt : calendarDaysBetween(points.front().date, point.date);
        if (!days || (!positions.empty() && static_cast<double>(*days) <= positions.back())) {
            positions.clear();
            for (size_t i = 0; i < points.size(); ++i)
                positions.push_back(static_cast<double>(i));
            return positions;
        }
        positions.push_back(static_cast<double>(*days));
    }
    return positions;
}

std::optional<int64_t> calendarDaysBetween(int32_t from, int32_t to)
{
    std::optional<std::chrono::sys_days> first = calendarDay(from);
    std::optional<std::chrono::sys_days> last = calendarDay(to);
    if (!first || !last)
        return std::nullopt;
    return (*last - *first).count();
}

std::optional<int64_t> Trade::holdingDays() const
{
    return calendarDaysBetween(buyDate, sellDate);
}

void RunResults::begin(double capital, bool keep, double leverage)
{
    *this = RunResults{};
    runCapital = capital;
    runLeverage = leverage;
    keepTrades = keep;
}

void RunResults::marginCall(int32_t date)
{
    if (marginCalls++ == 0)
        firstMarginCall = date;
}

void RunResults::purchase(double commission)
{
    commissionSum += commission;
}

void RunResults::sale(double gross, double net)
{
    Trade trade;
    trade.grossProfit = gross;
    trade.netProfit = net;
    sale(trade);
}

void RunResults::sale(const Trade& trade)
{
    const double gross = trade.grossProfit;
    const double net = trade.netProfit;
    if (std::optional<int64_t> days = trade.holdingDays()) {
        holdingDaysSum += *days;
        ++tradesWithHoldingDays;
    }
    if (keepTrades)
        keptTrades.push_back(trade);
    if (trade.endOfRun)
        ++endOfRunSales;
    if (trade.undecided) {
        ++undecidedSales;
        if (trade.endOfRun)
            ++undecidedEndOfRunSales;
        undecidedAmount += trade.buyAmount;
    }
    ++trades;
    ++pendingTrades;
    grossSum += gross;
    taxSum += gross - net;
    if (gross > 0) {
        if (wins == 0 || gross > largestWin)
            largestWin = gross;
        ++wins;
        ++pendingWins;
        winSum += gross;
    } else if (gross < 0) {
        if (losses == 0 || -gross > largestLoss)
            largestLoss = -gross;
        ++losses;
        lossSum += -gross;
    }
    losingRun = gross < 0 ? losingRun + 1 : 0;
    if (losingRun > longestLosingRun)
        longestLosingRun = losingRun;
}

void RunResults::closeDay(int32_t date, double assets, bool holding, double undecidedCost)
{
    points.push_back({date, assets, pendingTrades, pendingWins, holding, undecidedCost});
    pendingTrades = 0;
    pendingWins = 0;
}

void RunResults::liquidated(double assets)
{
    // Without a day there is no point to hold the sales; they stay in the trade figures.
    if (points.empty())
        return;
    DayPoint& last = points.back();
    last.assets = assets;
    last.trades += pendingTrades;
    last.wins += pendingWins;
    pendingTrades = 0;
    pendingWins = 0;
}

// The figures of risk and time, over the day series, after the curve's and the trades' figures.
void RunResults::riskFigures(ResultFigures& f) const
{
    const std::vector<SeriesDate> series = daySeries(points);
    const size_t n = series.size();

    // Daily returns: none as soon as a previous date's assets are 0.
    bool returnsDefined = n > 0;
    double sum = 0;
    double previous = runCapital;
    for (const SeriesDate& day : series) {
        if (previous == 0) {
            returnsDefined = false;
            break;
        }
        sum += day.point->assets / previous - 1;
        previous = day.point->assets;
    }
    if (returnsDefined) {
        const double count = static_cast<double>(n);
        const double mean = sum / count;
        double squares = 0;
        double downside = 0;
        previous = runCapital;
        for (const SeriesDate& day : series) {
            const double r = day.point->assets / previous - 1;
            squares += (r - mean) * (r - mean);
            if (r < 0)
                downside += r * r;
            previous = day.point->assets;
        }
        const double annual = std::sqrt(252.0);
        if (n >= 2) {
            const double deviation = std::sqrt(squares / (count - 1));
            if (deviation != 0)
                f.sharpeRatio = mean / deviation * annual;
        }
        const double downsideDeviation = std::sqrt(downside / count);
        if (downsideDeviation != 0)
            f.sortinoRatio = mean / downsideDeviation * annual;
    }

    if (f.cagrPercent && f.maxDrawdownPercent)
        f.calmarRatio = ratio(*f.cagrPercent, *f.maxDrawdownPercent);
    if (f.finalAssets && f.maxDrawdown)
        f.recoveryFactor = ratio(*f.finalAssets - runCapital, *f.maxDrawdown);

    double peak = runCapital;
    size_t runStart = 0;
    int64_t run = 0;
    int64_t heldDates = 0;
    double undecidedShares = 0;
    for (size_t i = 0; i < n; ++i) {
        const DayPoint& point = *series[i].point;
        if (point.holding)
            ++heldDates;
        const double buyingPower = point.assets * runLeverage;
        if (buyingPower > 0)
            undecidedShares += point.undecidedCost / buyingPower;
        peak = std::max(peak, point.assets);
        if (!(point.assets < peak)) {
            run = 0;
            continue;
        }
        if (run++ == 0)
            runStart = i;
        if (run > f.longestDrawdownDays) {
            f.longestDrawdownDays = run;
            f.longestDrawdownStart = series[runStart].date;
            f.longestDrawdownEnd = series[i].date;
        }
    }
    f.exposurePercent = percentOf(static_cast<double>(heldDates), static_cast<double>(n));
    if (n > 0)
        f.undecidedExposurePercent = undecidedShares / static_cast<double>(n) * 100;
    f.averageHoldingDays =
        ratio(static_cast<double>(holdingDaysSum), static_cast<double>(tradesWithHoldingDays));
    if (f.averageWin && f.averageLoss)
        f.payoffRatio = ratio(*f.averageWin, *f.averageLoss);
    f.endOfRunTrades = endOfRunSales;
    f.undecidedTrades = undecidedSales;
    f.undecidedHeldToEnd = undecidedEndOfRunSales;
    f.undecidedCost = undecidedAmount;
    f.marginCallDays = marginCalls;
    f.firstMarginCallDate = firstMarginCall;
}

ResultFigures RunResults::figures() const
{
    ResultFigures f;
    f.drawdown.reserve(points.size());
    f.drawdownPercent.reserve(points.size());

    constexpr size_t noPoint = static_cast<size_t>(-1);
    double peak = runCapital;
    size_t peakIndex = noPoint;  // the point that set the peak; none while it is the capital
    double maxDrawdown = 0;
    double maxPercent = 0;
    size_t maxIndex = noPoint;
    size_t maxPeakIndex = noPoint;
    for (size_t i = 0; i < points.size(); ++i) {
        const double assets = points[i].assets;
        if (assets > peak) {
            peak = assets;
            peakIndex = i;
        }
        const double drawdown = peak - assets;
        const double percent = peak > 0 ? drawdown / peak * 100 : 0;
        f.drawdown.push_back(drawdown);
        f.drawdownPercent.push_back(percent);
        if (i == 0 || drawdown > maxDrawdown) {
            maxDrawdown = drawdown;
            maxIndex = i;
            maxPeakIndex = peakIndex;
        }
        if (i == 0 || percent > maxPercent)
            maxPercent = percent;
    }

    if (!points.empty()) {
        const double finalAssets = points.back().assets;
        f.finalAssets = finalAssets;
        if (runCapital != 0)
            f.totalReturnPercent = (finalAssets / runCapital - 1) * 100;
        std::optional<int64_t> days = calendarDaysBetween(points.front().date, points.back().date);
        if (days && *days > 0 && runCapital > 0 && finalAssets > 0) {
            const double years = static_cast<double>(*days) / 365.25;
            f.cagrPercent = (std::pow(finalAssets / runCapital, 1 / years) - 1) * 100;
        }
        f.maxDrawdown = maxDrawdown;
        f.maxDrawdownPercent = maxPercent;
        if (maxDrawdown > 0) {
            f.maxDrawdownDate = points[maxIndex].date;
            if (maxPeakIndex != noPoint)
                f.maxDrawdownPeakDate = points[maxPeakIndex].date;
        }
    }

    f.trades = trades;
    f.wins = wins;
    f.losses = losses;
    f.winRatePercent = percentOf(static_cast<double>(wins), static_cast<double>(trades));
    f.grossProfit = winSum;
    f.grossLoss = lossSum;
    f.profitFactor = ratio(winSum, lossSum);
    f.averageWin = ratio(winSum, static_cast<double>(wins));
    f.averageLoss = ratio(lossSum, static_cast<double>(losses));
    f.expectancy = ratio(grossSum, static_cast<double>(trades));
    if (wins > 0)
        f.largestWin = largestWin;
    if (losses > 0)
        f.largestLoss = largestLoss;
    f.maxConsecutiveLosses = longestLosingRun;
    f.totalCommission = commissionSum;
    f.totalTax = taxSum;

    riskFigures(f);
    f.months = periods(points, runCapital, 100);
    f.years = periods(points, runCapital, 10000);
    return f;
}

}  // namespace kv
