// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/MonteCarlo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kv {
namespace {

// Each trade's effect on the assets: its net profit less its purchase commission.
std::vector<Trade> tradesOf(const std::vector<std::pair<double, int32_t>>& netAndCommission)
{
    std::vector<Trade> trades;
    for (const auto& [net, commission] : netAndCommission) {
        Trade t;
        t.netProfit = net;
        t.commission = commission;
        trades.push_back(t);
    }
    return trades;
}

void expectPercentiles(const Percentiles& got, const Percentiles& expected, const char* what)
{
    for (size_t k = 0; k < got.size(); ++k)
        EXPECT_DOUBLE_EQ(got[k], expected[k]) << what << " p" << kMonteCarloPercentiles[k];
}

// The expected outputs were computed by a few lines of Python with the generator's formula
// written out in arbitrary-precision integers masked to 64 bits:
//   state = (state + 0x9E3779B97F4A7C15) & M; z = state
//   z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & M; z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & M
//   output z ^ (z >> 31);  below(m) = ((output >> 32) * m) >> 32
TEST(SplitMix64, FirstOutputsAndUniformDrawsAgreeWithTheFormula)
{
    struct Case {
        uint64_t seed;
        std::vector<uint64_t> outputs;
    };
    for (const Case& c :
         {Case{1,
               {0x910a2dec89025cc1ULL, 0xbeeb8da1658eec67ULL, 0xf893a2eefb32555eULL, 0x71c18690ee42c90bULL}},
          Case{0, {0xe220a8397b1dcdafULL, 0x6e789e6aa1b965f4ULL}}}) {
        SplitMix64 g(c.seed);
        for (uint64_t expected : c.outputs)
            EXPECT_EQ(g.next(), expected) << "seed " << c.seed;
    }
    // Seed 1, one draw each below 10, 1000, 7 and 2.
    SplitMix64 h(1);
    const std::vector<std::pair<uint64_t, uint64_t>> draws{{10, 5}, {1000, 745}, {7, 6}, {2, 0}};
    for (const auto& [m, expected] : draws)
        EXPECT_EQ(h.below(m), expected) << "below " << m;
}

TEST(MonteCarlo, NearestRankTakesTheValueAtTheRoundedUpPosition)
{
    // 1..N sorted: the q-th percentile is the value ⌈q × N ÷ 100⌉ itself.
    struct Case {
        int n;
        int q;
        double expected;
    };
    for (const Case& c : {Case{10, 5, 1}, Case{10, 25, 3}, Case{10, 50, 5}, Case{10, 75, 8}, Case{10, 95, 10},
                          Case{20, 5, 1}, Case{20, 25, 5}, Case{20, 95, 19}, Case{1, 5, 1}, Case{1, 95, 1},
                          Case{3, 50, 2}, Case{200, 95, 190}}) {
        std::vector<double> sorted(static_cast<size_t>(c.n));
        for (int i = 0; i < c.n; ++i)
            sorted[static_cast<size_t>(i)] = i + 1;
        EXPECT_EQ(nearestRank(sorted, c.q), c.expected) << "N " << c.n << " q " << c.q;
    }
}

// Capital 1,000,000; trades +500,000 (net 500,100 less a commission of 100), −300,000 and
// −600,000: returns +50 %, −20 % (of 1,500,000) and −50 % (of 1,200,000). In any order the assets
// end at 1,000,000 × 1.5 × 0.8 × 0.5 = 600,000. The drawdown is 50 % when the gain stands
// between the losses (0.8 → 1.2 → 0.6, or 0.5 → 0.75 → 0.6: the lowest is half the capital) and
// 60 % otherwise. The run's own order falls 60 % from 1,500,000.
const std::vector<std::pair<double, int32_t>> kThreeTrades{{500100, 100}, {-300000, 0}, {-600000, 0}};

TEST(MonteCarlo, PermuteKeepsTheFinalAssetsAndOnlyTheDrawdownVaries)
{
    MonteCarloSettings s;
    s.paths = 8;
    s.seed = 7;
    const MonteCarloResult r = runMonteCarlo(tradesOf(kThreeTrades), 1000000, s);
    ASSERT_TRUE(r.computed);
    EXPECT_EQ(r.trades, 3);
    expectPercentiles(r.finalAssets, {600000, 600000, 600000, 600000, 600000}, "final assets");
    // The shuffles of seed 7, path by path (worked by the Python above): the gain stands between the
    // losses on paths 3 and 5 only.
    EXPECT_EQ(r.pathDrawdownPercent, (std::vector<double>{60, 60, 60, 50, 60, 50, 60, 60}));
    // Sorted 50 50 60 60 60 60 60 60: positions 1, 2, 4, 6 and 8.
    expectPercentiles(r.maxDrawdownPercent, {50, 50, 60, 60, 60}, "drawdown");
    EXPECT_DOUBLE_EQ(r.lossProbabilityPercent, 100);
    EXPECT_EQ(r.drawdownAtLeastPercent, (std::array<double, 3>{100, 100, 100}));  // 50 % reaches 50 %
    EXPECT_DOUBLE_EQ(r.ruinProbabilityPercent, 0);
    EXPECT_DOUBLE_EQ(r.actualMaxDrawdownPercent, 60);
    EXPECT_DOUBLE_EQ(r.pathsWithSmallerDrawdownPercent, 25);

    // Many paths of a longer list: every one ends where the run ended.
    std::vector<std::pair<double, int32_t>> many;
    for (int i = 0; i < 300; ++i)
        many.push_back({(i % 7 - 3) * 1000.0 + 250, 40});
    s.paths = 500;
    s.bandPoints = 11;
    const MonteCarloResult m = runMonteCarlo(tradesOf(many), 1000000, s);
    double actual = 1000000;
    for (const auto& [net, commission] : many)
        actual += net - commission;
    for (double v : m.finalAssets)
        EXPECT_NEAR(v, actual, 1e-6);
    ASSERT_EQ(m.assetBands.size(), 11u);
    EXPECT_EQ(m.bandTrades.front(), 0);
    EXPECT_EQ(m.bandTrades.back(), 300);
    for (double v : m.assetBands.back())
        EXPECT_NEAR(v, actual, 1e-6);
}

TEST(MonteCarlo, BootstrapDrawsAgreeWithASecondImplementation)
{
    // The same three trades, 8 paths of seed 7 drawn with replacement; the figures from the
    // Python above, which replays the draws with the same formulas.
    MonteCarloSettings s;
    s.paths = 8;
    s.seed = 7;
    s.order = MonteCarloOrder::Bootstrap;
    const MonteCarloResult r = runMonteCarlo(tradesOf(kThreeTrades), 1000000, s);
    expectPercentiles(r.finalAssets, {125000, 200000, 320000, 600000, 1800000}, "final assets");
    expectPercentiles(r.maxDrawdownPercent, {20, 50, 68, 80, 87.5}, "drawdown");
}

TEST(MonteCarlo, ARuinedPathStaysAtZero)
{
    // +1,000,000 (+100 %), then −2,500,000 of 2,000,000 (−125 %): the run's assets go below zero,
    // and the third trade, met at −500,000, has no return and ruins whatever draws it.
    const std::vector<Trade> trades = tradesOf({{1000000, 0}, {-2500000, 0}, {100000, 0}});
    EXPECT_EQ(tradeReturns(trades, 1000000), (std::vector<double>{1, -1.25, -1}));
    MonteCarloSettings s;
    s.paths = 2000;
    const MonteCarloResult permuted = runMonteCarlo(trades, 1000000, s);
    EXPECT_DOUBLE_EQ(permuted.ruinProbabilityPercent, 100);
    expectPercentiles(permuted.finalAssets, {0, 0, 0, 0, 0}, "permuted final assets");
    expectPercentiles(permuted.maxDrawdownPercent, {100, 100, 100, 100, 100}, "permuted drawdown");
    EXPECT_DOUBLE_EQ(permuted.actualMaxDrawdownPercent, 100);
    EXPECT_DOUBLE_EQ(permuted.pathsWithSmallerDrawdownPercent, 0);

    // Drawn with replacement, only the paths that draw the gain three times survive (1 in 27):
    // they end at 8,000,000 without a fall, all others at 0 with a fall of 100 %, so that even the
    // 95th percentile of the final assets is a ruin.
    s.order = MonteCarloOrder::Bootstrap;
    s.paths = 27000;
    const MonteCarloResult drawn = runMonteCarlo(trades, 1000000, s);
    const auto survivors =
        std::count(drawn.pathDrawdownPercent.begin(), drawn.pathDrawdownPercent.end(), 0.0);
    const auto ruined = std::count(drawn.pathDrawdownPercent.begin(), drawn.pathDrawdownPercent.end(), 100.0);
    EXPECT_EQ(survivors + ruined, 27000);
    EXPECT_NEAR(static_cast<double>(survivors), 1000, 150);
    EXPECT_DOUBLE_EQ(drawn.ruinProbabilityPercent, static_cast<double>(ruined) * 100 / 27000);
    expectPercentiles(drawn.finalAssets, {0, 0, 0, 0, 0}, "drawn final assets");
}

TEST(MonteCarlo, TheFiguresDoNotDependOnTheNumberOfThreads)
{
    std::vector<std::pair<double, int32_t>> list;
    for (int i = 0; i < 97; ++i)
        list.push_back({((i * 37) % 11 - 5) * 3000.0, 120});
    for (MonteCarloOrder order : {MonteCarloOrder::Permute, MonteCarloOrder::Bootstrap}) {
        MonteCarloSettings s;
        s.paths = 1001;
        s.seed = 42;
        s.order = order;
        s.threads = 1;
        s.bandPoints = 5;
        const MonteCarloResult one = runMonteCarlo(tradesOf(list), 500000, s);
        s.threads = 3;
        const MonteCarloResult three = runMonteCarlo(tradesOf(list), 500000, s);
        EXPECT_EQ(one.pathDrawdownPercent, three.pathDrawdownPercent);
        EXPECT_EQ(one.finalAssets, three.finalAssets);
        EXPECT_EQ(one.assetBands, three.assetBands);
        EXPECT_EQ(one.lossProbabilityPercent, three.lossProbabilityPercent);
    }
    // Without a capital to take returns from there are no figures.
    EXPECT_FALSE(runMonteCarlo(tradesOf(list), 0, MonteCarloSettings{}).computed);
}

}  // namespace
}  // namespace kv
