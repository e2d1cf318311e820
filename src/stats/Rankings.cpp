// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/Rankings.h"

#include "stats/TallyFigures.h"
#include "text/Format.h"

namespace kv {

namespace {

double emptyValue(RankingKind kind)
{
    switch (kind) {
    case RankingKind::ProfitRateTop:
        return -999999.0;
    case RankingKind::ProfitRateBottom:
        return 999999.0;
    case RankingKind::SuccessRateTop:
    case RankingKind::FailureRateTop:
    case RankingKind::SignalCountTop:
        break;
    }
    return 0.0;
}

bool hidden(int32_t signalCount, RankingFilter filter)
{
    return signalCount == 0 || (filter.hideOneSignal && signalCount == 1) ||
        (filter.hideTwoSignals && signalCount == 2);
}

}  // namespace

StockRanking::StockRanking(RankingKind kind) : rankingKind(kind)
{
    places.fill(RankingEntry{emptyValue(kind), 0});
}

bool StockRanking::beats(double value, double held) const
{
    return rankingKind == RankingKind::ProfitRateBottom ? value < held : value > held;
}

void StockRanking::insert(double value, int32_t code)
{
    RankingEntry carried{value, code};
    for (RankingEntry& entry : places) {
        if (beats(carried.value, entry.value))
            std::swap(carried, entry);
    }
}

double rankingValue(RankingKind kind, const SignalTally& t, double unknownProfitRate)
{
    switch (kind) {
    case RankingKind::ProfitRateTop:
    case RankingKind::ProfitRateBottom:
        return simpleAverageReturn(t, unknownProfitRate).value_or(0.0);
    case RankingKind::SuccessRateTop:
        return successShare(t).value_or(0.0);
    case RankingKind::FailureRateTop:
        return failureShare(t).value_or(0.0);
    case RankingKind::SignalCountTop:
        break;
    }
    return t.signalCount;
}

StockRankings buildRankings(std::span<const SignalTally> byStock, double unknownProfitRate,
                            RankingFilter filter)
{
    StockRankings rankings{
        StockRanking(RankingKind::ProfitRateTop), StockRanking(RankingKind::ProfitRateBottom),
        StockRanking(RankingKind::SuccessRateTop), StockRanking(RankingKind::FailureRateTop),
        StockRanking(RankingKind::SignalCountTop)};
    for (size_t code = 0; code < byStock.size(); ++code) {
        const SignalTally& t = byStock[code];
        if (hidden(t.signalCount, filter))
            continue;
        for (StockRanking& ranking : rankings)
            ranking.insert(rankingValue(ranking.kind(), t, unknownProfitRate), static_cast<int32_t>(code));
    }
    return rankings;
}

std::vector<RankedStock> rankedStocks(const StockRanking& ranking)
{
    std::vector<RankedStock> listed;
    int position = 0;
    for (const RankingEntry& entry : ranking.entries()) {
        ++position;
        if (entry.code != 0)
            listed.push_back({position, entry.code, entry.value});
    }
    return listed;
}

std::string rankingRow(const RankedStock& stock, const std::string& name)
{
    return format("No,%2d  %04d  %s", {stock.position, stock.code, name});
}

}  // namespace kv
