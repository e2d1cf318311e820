// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ResultsJson.h"

#include "text/Numbers.h"

#include <string_view>

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

nlohmann::ordered_json figureJson(const FigureDescription& figure, std::optional<double> value)
{
    switch (figure.kind) {
    case FigureKind::Count:
    case FigureKind::BusinessDays:
        if (!value || !std::isfinite(*value))
            return nullptr;
        return static_cast<int64_t>(*value);
    case FigureKind::Date:
        return jsonDate(value ? std::optional<int32_t>(static_cast<int32_t>(*value)) : std::nullopt);
    default:
        return jsonNumber(value);
    }
}

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
    const FigureInputs inputs{f, results.capital()};
    for (const FigureDescription& figure : resultFigureTable()) {
        if (!(figure.places & InJson))
            continue;
        // The monthly and yearly tables have always stood between the trade figures and the
        // risk figures.
        if (std::string_view(figure.key) == "sharpeRatio") {
            r["months"] = periodsJson(f.months, true);
            r["years"] = periodsJson(f.years, false);
        }
        r[figure.key] = figureJson(figure, figure.value(inputs));
    }
    return r;
}

}  // namespace kv
