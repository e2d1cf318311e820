// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ResultsJson.h"

#include "text/Numbers.h"

#include <cmath>

namespace kv {

nlohmann::ordered_json jsonNumber(std::optional<double> value)
{
    if (!value || !std::isfinite(*value))
        return nullptr;
    return *value;
}

nlohmann::ordered_json jsonDate(std::optional<int32_t> yyyymmdd)
{
    if (!yyyymmdd)
        return nullptr;
    return paddedDateText(*yyyymmdd);
}

namespace {

nlohmann::ordered_json periodsJson(const std::vector<PeriodResult>& periods, bool monthly)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const PeriodResult& p : periods) {
        nlohmann::ordered_json row;
        row["year"] = p.year;
        if (monthly)
            row["month"] = p.month;
        row["assets"] = jsonNumber(p.assets);
        row["profit"] = jsonNumber(p.profit);
        row["returnPercent"] = jsonNumber(p.returnPercent);
        row["trades"] = p.trades;
        row["wins"] = p.wins;
        list.push_back(std::move(row));
    }
    return list;
}

}  // namespace

nlohmann::ordered_json resultsJson(const RunResults& results)
{
    const ResultFigures f = results.figures();
    nlohmann::ordered_json days = nlohmann::ordered_json::array();
    for (size_t i = 0; i < results.days().size(); ++i) {
        const DayPoint& day = results.days()[i];
        days.push_back({
            {"date", paddedDateText(day.date)},
            {"assets", jsonNumber(day.assets)},
            {"drawdown", jsonNumber(f.drawdown[i])},
            {"drawdownPercent", jsonNumber(f.drawdownPercent[i])},
        });
    }
    nlohmann::ordered_json r;
    r["days"] = std::move(days);
    r["finalAssets"] = jsonNumber(f.finalAssets);
    r["totalReturnPercent"] = jsonNumber(f.totalReturnPercent);
    r["cagrPercent"] = jsonNumber(f.cagrPercent);
    r["maxDrawdown"] = jsonNumber(f.maxDrawdown);
    r["maxDrawdownPercent"] = jsonNumber(f.maxDrawdownPercent);
    r["maxDrawdownPeakDate"] = jsonDate(f.maxDrawdownPeakDate);
    r["maxDrawdownDate"] = jsonDate(f.maxDrawdownDate);
    r["trades"] = f.trades;
    r["wins"] = f.wins;
    r["losses"] = f.losses;
    r["winRatePercent"] = jsonNumber(f.winRatePercent);
    r["grossProfit"] = jsonNumber(f.grossProfit);
    r["grossLoss"] = jsonNumber(f.grossLoss);
    r["profitFactor"] = jsonNumber(f.profitFactor);
    r["averageWin"] = jsonNumber(f.averageWin);
    r["averageLoss"] = jsonNumber(f.averageLoss);
    r["expectancy"] = jsonNumber(f.expectancy);
    r["largestWin"] = jsonNumber(f.largestWin);
    r["largestLoss"] = jsonNumber(f.largestLoss);
    r["maxConsecutiveLosses"] = f.maxConsecutiveLosses;
    r["totalCommission"] = jsonNumber(f.totalCommission);
    r["totalTax"] = jsonNumber(f.totalTax);
    r["months"] = periodsJson(f.months, true);
    r["years"] = periodsJson(f.years, false);
    r["sharpeRatio"] = jsonNumber(f.sharpeRatio);
    r["sortinoRatio"] = jsonNumber(f.sortinoRatio);
    r["calmarRatio"] = jsonNumber(f.calmarRatio);
    r["recoveryFactor"] = jsonNumber(f.recoveryFactor);
    r["longestDrawdownDays"] = f.longestDrawdownDays;
    r["longestDrawdownStart"] = jsonDate(f.longestDrawdownStart);
    r["longestDrawdownEnd"] = jsonDate(f.longestDrawdownEnd);
    r["exposurePercent"] = jsonNumber(f.exposurePercent);
    r["averageHoldingDays"] = jsonNumber(f.averageHoldingDays);
    r["payoffRatio"] = jsonNumber(f.payoffRatio);
    return r;
}

}  // namespace kv
