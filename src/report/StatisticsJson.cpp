// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/StatisticsJson.h"

#include "data/SimulatorApp.h"
#include "stats/FigureSet.h"
#include "stats/PeriodStats.h"
#include "stats/Rankings.h"
#include "stats/StockFigures.h"
#include "stats/TallyFigures.h"
#include "text/Cp932.h"

#include <optional>

namespace kv {

namespace {

using Json = nlohmann::ordered_json;

Json percent(std::optional<double> value)
{
    return value ? Json(*value) : Json(nullptr);
}

// Appends the figures of a tally to `object`.
void addFigures(Json& object, const FigureSet& f)
{
    object["signals"] = f.signalCount;
    object["successes"] = f.successes;
    object["successLosses"] = f.successLosses;
    object["failures"] = f.failures;
    object["failureProfits"] = f.failureProfits;
    object["unknowns"] = f.unknowns;
    object["successShare"] = percent(f.successShare);
    object["failureShare"] = percent(f.failureShare);
    object["unknownShare"] = percent(f.unknownShare);
    object["successAverage"] = percent(f.successAverage);
    object["failureAverage"] = percent(f.failureAverage);
    object["simpleAverage"] = percent(f.simpleAverage);
}

const char* rankingKey(RankingKind kind)
{
    switch (kind) {
    case RankingKind::ProfitRateTop:
        return "profitRateTop";
    case RankingKind::ProfitRateBottom:
        return "profitRateBottom";
    case RankingKind::SuccessRateTop:
        return "successRateTop";
    case RankingKind::FailureRateTop:
        return "failureRateTop";
    case RankingKind::SignalCountTop:
        break;
    }
    return "signalCountTop";
}

// The value of an entry as the JSON gives it: rates in per cent, the signal count whole.
Json entryValue(RankingKind kind, double value)
{
    switch (kind) {
    case RankingKind::ProfitRateTop:
    case RankingKind::ProfitRateBottom:
        return value * 100;
    case RankingKind::SuccessRateTop:
    case RankingKind::FailureRateTop:
        return value;
    case RankingKind::SignalCountTop:
        break;
    }
    return static_cast<int32_t>(value);
}

Json periodsJson(PeriodLevel level, const SimulatorApp& app, double unknownProfitRate)
{
    Json list = Json::array();
    for (const PeriodFigures& p :
         figuresOfEveryPeriod(level, app.tallies.slotDate, app.tallies.dateTally, unknownProfitRate)) {
        Json period;
        period["year"] = p.period.year;
        if (level == PeriodLevel::Month)
            period["month"] = p.period.month;
        addFigures(period, p.figures);
        period["perDayAverage"] = percent(p.perDayAverage);
        list.push_back(std::move(period));
    }
    return list;
}

}  // namespace

Json statisticsJson(const SimulatorApp& app)
{
    const double u = app.settings.unknownProfitRate;
    Json statistics;

    Json overall;
    addFigures(overall, figureSetOf(app.tallies.overallTally, u));
    overall["perDayAverage"] = percent(perDayAverageProfit(app.tallies.dateTally, u));
    statistics["overall"] = std::move(overall);

    Json stocks = Json::array();
    for (int32_t code : stocksWithSignals(app.tallies.stockTally)) {
        Json stock;
        stock["code"] = code;
        stock["name"] = toUtf8(app.master.stockName[static_cast<size_t>(code)]);
        addFigures(stock, figureSetOf(app.tallies.stockTally[static_cast<size_t>(code)], u));
        stocks.push_back(std::move(stock));
    }
    statistics["stocks"] = std::move(stocks);

    Json rankings;
    for (const StockRanking& ranking : buildRankings(app.tallies.stockTally, u, RankingFilter{})) {
        Json entries = Json::array();
        for (const RankedStock& s : rankedStocks(ranking)) {
            entries.push_back({{"rank", s.position},
                               {"code", s.code},
                               {"name", toUtf8(app.master.stockName[static_cast<size_t>(s.code)])},
                               {"value", entryValue(ranking.kind(), s.value)}});
        }
        rankings[rankingKey(ranking.kind())] = std::move(entries);
    }
    statistics["rankings"] = std::move(rankings);

    statistics["years"] = periodsJson(PeriodLevel::Year, app, u);
    statistics["months"] = periodsJson(PeriodLevel::Month, app, u);
    return statistics;
}

}  // namespace kv
