// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/MonteCarlo.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <utility>

namespace kv {

std::string_view monteCarloOrderName(MonteCarloOrder order)
{
    return order == MonteCarloOrder::Bootstrap ? "bootstrap" : "permute";
}

std::optional<MonteCarloOrder> monteCarloOrderNamed(std::string_view name)
{
    if (name == "permute")
        return MonteCarloOrder::Permute;
    if (name == "bootstrap")
        return MonteCarloOrder::Bootstrap;
    return std::nullopt;
}

std::vector<double> tradeReturns(const std::vector<Trade>& trades, double capital)
{
    std::vector<double> returns;
    returns.reserve(trades.size());
    double assets = capital;
    for (const Trade& t : trades) {
        const double profit = t.netProfit - t.commission;
        returns.push_back(assets > 0 ? profit / assets : -1.0);
        assets += profit;
    }
    return returns;
}

double nearestRank(const std::vector<double>& sorted, int q)
{
    const auto n = static_cast<int64_t>(sorted.size());
    // ⌈q × N ÷ 100⌉ in whole numbers, so that no rounding of a division moves the rank.
    int64_t rank = (static_cast<int64_t>(q) * n + 99) / 100;
    rank = std::clamp<int64_t>(rank, 1, n);
    return sorted[static_cast<size_t>(rank - 1)];
}

namespace {

Percentiles percentilesOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    Percentiles p{};
    for (size_t k = 0; k < kMonteCarloPercentiles.size(); ++k)
        p[k] = nearestRank(values, kMonteCarloPercentiles[k]);
    return p;
}

struct PathOutcome {
    double finalAssets = 0;
    double maxDrawdownPercent = 0;
    bool ruined = false;
};

// What the paths need: the growth factors 1 + f_i and where the bands are recorded.
struct PathInputs {
    const std::vector<double>& growth;
    double capital;
    MonteCarloOrder order;
    const std::vector<int64_t>& bandTrades;
};

// One path: its generator seeded with `pathSeed`, its assets after each recorded trade number
// written to band[b × stride].
template <bool Bands>
PathOutcome runPath(const PathInputs& in, uint64_t pathSeed, std::vector<double>& shuffled, double* band,
                    size_t stride)
{
    SplitMix64 random(pathSeed);
    const size_t n = in.growth.size();
    const double* order = in.growth.data();
    if (in.order == MonteCarloOrder::Permute) {
        std::copy(in.growth.begin(), in.growth.end(), shuffled.begin());
        for (size_t i = n; i-- > 1;)
            std::swap(shuffled[i], shuffled[random.below(i + 1)]);
        order = shuffled.data();
    }
    PathOutcome out;
    double assets = in.capital;
    double peak = in.capital;
    double worst = 0;  // the largest fall from the peak, as a share of it
    size_t b = 0;
    if constexpr (Bands) {
        if (b < in.bandTrades.size() && in.bandTrades[b] == 0)
            band[stride * b++] = assets;
    }
    for (size_t k = 0; k < n; ++k) {
        const double g = in.order == MonteCarloOrder::Permute ? order[k] : in.growth[random.below(n)];
        assets *= g;
        if (!(assets > 0)) {
            assets = 0;
            out.ruined = true;
            worst = 1;
            if constexpr (!Bands)
                break;
            for (; b < in.bandTrades.size(); ++b)
                band[stride * b] = 0;
            break;
        }
        if (assets > peak)
            peak = assets;
        else
            worst = std::max(worst, (peak - assets) / peak);
        if constexpr (Bands) {
            if (b < in.bandTrades.size() && in.bandTrades[b] == static_cast<int64_t>(k + 1))
                band[stride * b++] = assets;
        }
    }
    out.finalAssets = assets;
    out.maxDrawdownPercent = worst * 100;
    return out;
}

// The trade numbers 0..n at which the bands are recorded: `points` of them evenly spread, both
// ends included, each once.
std::vector<int64_t> bandTradeNumbers(int64_t n, int points)
{
    std::vector<int64_t> numbers;
    if (points <= 0)
        return numbers;
    if (points == 1)
        return {n};
    for (int k = 0; k < points; ++k) {
        const auto t = static_cast<int64_t>(std::llround(static_cast<double>(n) * k / (points - 1)));
        if (numbers.empty() || numbers.back() != t)
            numbers.push_back(t);
    }
    return numbers;
}

}  // namespace

MonteCarloResult runMonteCarlo(const std::vector<Trade>& trades, double capital,
                               const MonteCarloSettings& settings)
{
    MonteCarloResult result;
    result.settings = settings;
    result.trades = static_cast<int64_t>(trades.size());
    result.capital = capital;
    const int64_t paths = settings.paths;
    if (!(capital > 0) || !std::isfinite(capital) || paths < 1)
        return result;
    result.computed = true;

    std::vector<double> growth = tradeReturns(trades, capital);
    for (double& f : growth)
        f = 1 + f;
    result.bandTrades = bandTradeNumbers(result.trades, settings.bandPoints);
    const PathInputs inputs{growth, capital, settings.order, result.bandTrades};

    const auto count = static_cast<size_t>(paths);
    std::vector<double> finals(count);
    result.pathDrawdownPercent.assign(count, 0);
    std::vector<unsigned char> ruined(count);
    std::vector<double> bands(result.bandTrades.size() * count);

    // Path p's seed is output p + 1 of the generator started at the seed: the state after p + 1
    // steps is seed + (p + 1) × the increment, so any thread can start at any path.
    auto runPaths = [&](size_t from, size_t to) {
        std::vector<double> shuffled(growth.size());
        SplitMix64 seeds(settings.seed + 0x9E3779B97F4A7C15ULL * static_cast<uint64_t>(from));
        for (size_t p = from; p < to; ++p) {
            const uint64_t pathSeed = seeds.next();
            const PathOutcome o = bands.empty()
                ? runPath<false>(inputs, pathSeed, shuffled, nullptr, 0)
                : runPath<true>(inputs, pathSeed, shuffled, bands.data() + p, count);
            finals[p] = o.finalAssets;
            result.pathDrawdownPercent[p] = o.maxDrawdownPercent;
            ruined[p] = o.ruined;
        }
    };
    unsigned threads =
        settings.threads ? settings.threads : std::max(std::thread::hardware_concurrency(), 1u);
    threads = static_cast<unsigned>(std::min<size_t>(threads, count));
    if (threads <= 1) {
        runPaths(0, count);
    } else {
        std::vector<std::thread> workers;
        for (unsigned t = 0; t < threads; ++t)
            workers.emplace_back(runPaths, count * t / threads, count * (t + 1) / threads);
        for (std::thread& w : workers)
            w.join();
    }

    // The run's own drawdown, on its curve A_i with the same rule of ruin.
    double assets = capital;
    double peak = capital;
    double worst = 0;
    for (const Trade& t : trades) {
        assets += t.netProfit - t.commission;
        if (!(assets > 0)) {
            worst = 1;
            break;
        }
        if (assets > peak)
            peak = assets;
        else
            worst = std::max(worst, (peak - assets) / peak);
    }
    result.actualMaxDrawdownPercent = worst * 100;

    auto share = [&](int64_t k) { return static_cast<double>(k) * 100.0 / static_cast<double>(count); };
    int64_t losses = 0;
    int64_t ruins = 0;
    int64_t smaller = 0;
    std::array<int64_t, 3> reached{};
    for (size_t p = 0; p < count; ++p) {
        const double dd = result.pathDrawdownPercent[p];
        losses += finals[p] < capital;
        ruins += ruined[p];
        smaller += dd < result.actualMaxDrawdownPercent;
        for (size_t l = 0; l < reached.size(); ++l)
            reached[l] += dd >= kMonteCarloDrawdownLevels[l];
    }
    result.lossProbabilityPercent = share(losses);
    result.ruinProbabilityPercent = share(ruins);
    result.pathsWithSmallerDrawdownPercent = share(smaller);
    for (size_t l = 0; l < reached.size(); ++l)
        result.drawdownAtLeastPercent[l] = share(reached[l]);
    result.finalAssets = percentilesOf(std::move(finals));
    result.maxDrawdownPercent = percentilesOf(result.pathDrawdownPercent);
    for (size_t b = 0; b < result.bandTrades.size(); ++b)
        result.assetBands.push_back(
            percentilesOf(std::vector<double>(bands.begin() + static_cast<std::ptrdiff_t>(b * count),
                                              bands.begin() + static_cast<std::ptrdiff_t>((b + 1) * count))));
    return result;
}

}  // namespace kv
