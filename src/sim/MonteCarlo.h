// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Monte Carlo of the trade order: how the same trades would have fared in another order.
//
// From the run's trades in sale order, P_i = the trade's net profit − its purchase commission,
// A_0 = capital, A_i = A_{i−1} + P_i, and the trade's return f_i = P_i ÷ A_{i−1}; a trade met when
// A_{i−1} ≤ 0 has no return and ruins any path that draws it (it counts as f = −1). A path
// replays the returns in a new order from the capital, A ← A × (1 + f); assets that reach 0 or
// below ruin the path, which stays at 0. `permute` shuffles all n returns (every path then ends
// alike, only the way differs), `bootstrap` draws n of them with replacement.
//
// The random numbers are SplitMix64's, so that another implementation reproduces a run exactly:
// path p (0-based) has its own generator, whose state starts at the (p+1)-th output of a generator
// started at the seed. The paths are shared among threads, and the results do not depend on how.

#include "sim/RunResults.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace kv {

// SplitMix64: state += 0x9E3779B97F4A7C15, then the output mixes the state.
class SplitMix64 {
public:
    explicit SplitMix64(uint64_t seed) : state(seed) {}

    uint64_t next()
    {
        state += 0x9E3779B97F4A7C15ULL;
        uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // A uniform integer below m (m at most 2^32): ((output >> 32) × m) >> 32.
    uint64_t below(uint64_t m) { return ((next() >> 32) * m) >> 32; }

private:
    uint64_t state;
};

enum class MonteCarloOrder { Permute, Bootstrap };

// "permute" or "bootstrap", as the command line and the JSON write them.
std::string_view monteCarloOrderName(MonteCarloOrder order);
std::optional<MonteCarloOrder> monteCarloOrderNamed(std::string_view name);

// The most paths a run takes: each keeps two numbers, and a million is more than any figure needs.
inline constexpr int64_t kMaxMonteCarloPaths = 1000000;

struct MonteCarloSettings {
    int64_t paths = 1000;
    uint64_t seed = 1;
    MonteCarloOrder order = MonteCarloOrder::Permute;
    // 0: every core there is; otherwise at most this many threads.
    unsigned threads = 0;
    // Record each path's assets after this many trade numbers, evenly spread over 0..n with both
    // ends (fewer when there are fewer trades), for the percentile bands of a fan chart; 0: none.
    int bandPoints = 0;
};

// The 5th, 25th, 50th, 75th and 95th percentile, by nearest rank: the value at position
// ⌈q/100 × N⌉ (1-based) of the N values sorted.
inline constexpr std::array<int, 5> kMonteCarloPercentiles{5, 25, 50, 75, 95};
using Percentiles = std::array<double, 5>;

// The drawdown levels whose reach is counted, in per cent.
inline constexpr std::array<int, 3> kMonteCarloDrawdownLevels{20, 30, 50};

struct MonteCarloResult {
    MonteCarloSettings settings;
    int64_t trades = 0;
    double capital = 0;
    // None of the figures below when the capital is not above 0 (no return can be taken).
    bool computed = false;
    Percentiles finalAssets{};
    Percentiles maxDrawdownPercent{};                // peak-to-trough on A over the path, from the capital
    double lossProbabilityPercent = 0;               // paths that end below the capital
    std::array<double, 3> drawdownAtLeastPercent{};  // paths whose drawdown reaches each level
    double ruinProbabilityPercent = 0;
    double actualMaxDrawdownPercent = 0;  // the run's own, on its trade-by-trade curve A_i
    double pathsWithSmallerDrawdownPercent = 0;

    std::vector<double> pathDrawdownPercent;  // each path's maximum drawdown, in path order
    // With bandPoints: the trade numbers recorded and, at each, the percentiles of the assets.
    std::vector<int64_t> bandTrades;
    std::vector<Percentiles> assetBands;
};

// The return of each trade in sale order, from the capital (−1 for a trade met at assets ≤ 0).
std::vector<double> tradeReturns(const std::vector<Trade>& trades, double capital);

// The nearest-rank percentile q of `sorted` (ascending, not empty).
double nearestRank(const std::vector<double>& sorted, int q);

MonteCarloResult runMonteCarlo(const std::vector<Trade>& trades, double capital,
                               const MonteCarloSettings& settings);

}  // namespace kv
