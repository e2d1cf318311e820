// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The five top-20 rankings of stocks: by average profit rate (best and worst), by success rate,
// by failure rate and by number of signals.

#include "stats/SignalTally.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kv {

inline constexpr int kRankingSize = 20;

// In the order of the dialog's lists.
enum class RankingKind {
    ProfitRateTop,     // simple average return, greatest first
    ProfitRateBottom,  // simple average return, smallest first
    SuccessRateTop,    // per cent of signals that succeeded
    FailureRateTop,    // per cent of signals that failed
    SignalCountTop,    // number of signals
};
inline constexpr size_t kRankingKindCount = 5;

struct RankingEntry {
    double value = 0;
    int32_t code = 0;  // 0: the entry holds no stock
};

// At most twenty stocks, best first.
class StockRanking {
public:
    // Every entry empty: code 0 and the ranking's empty value (−999999 for the best profit
    // rates, +999999 for the worst, 0 for the rest), which a stock must beat to enter.
    explicit StockRanking(RankingKind kind);

    // Carries (value, code) down the positions; at each position whose value the carried one
    // beats strictly, the two pairs are exchanged and the one taken out is carried on. What is
    // carried past the last position drops out. So a stock never passes an equal value, and a
    // displaced stock lands behind the entries equal to it.
    void insert(double value, int32_t code);

    RankingKind kind() const { return rankingKind; }
    const std::array<RankingEntry, kRankingSize>& entries() const { return places; }

private:
    bool beats(double value, double held) const;

    RankingKind rankingKind;
    std::array<RankingEntry, kRankingSize> places;
};

using StockRankings = std::array<StockRanking, kRankingKindCount>;

// Which stocks a ranking leaves out besides those without signals.
struct RankingFilter {
    bool hideOneSignal = true;
    bool hideTwoSignals = false;
};

// A stock's value in a ranking, the unknown outcomes earning unknownProfitRate. The profit
// rates are fractions (0.05 for 5 %), the success and failure rates per cent. A tally without
// signals is never ranked; its value is 0.
double rankingValue(RankingKind kind, const SignalTally& t, double unknownProfitRate);

// The five rankings of the codes of byStock in ascending order, leaving out codes without
// signals and those the filter hides.
StockRankings buildRankings(std::span<const SignalTally> byStock, double unknownProfitRate,
                            RankingFilter filter);

// A listed entry: its position (1..20) and what it holds.
struct RankedStock {
    int position = 0;
    int32_t code = 0;
    double value = 0;
};

// The entries that hold a stock, best first. Code 0 is never listed, even when it has signals:
// its position stays unused, so the positions can have a gap.
std::vector<RankedStock> rankedStocks(const StockRanking& ranking);

// The list row of an entry: "No,%2d  %04d  %s" with the position, the code and the name.
std::string rankingRow(const RankedStock& stock, const std::string& name);

}  // namespace kv
