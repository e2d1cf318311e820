// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-montecarlo-benchmark [FOLDER]: times the Monte Carlo of the trade order on the ten-year
// sample. kirvane-sample-data (built beside this program) writes ten years of signals into a
// temporary folder (or FOLDER's index.txt and signals.csv are copied there); the back-test runs
// there as kirvane-batch runs it, keeping its trades; then 10,000 paths of each order are run on
// one thread and on every core, and the figures and the best of five times are printed.

#include "BenchmarkData.h"
#include "batch/BatchSession.h"
#include "sim/MonteCarlo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

double bestSeconds(const std::vector<kv::Trade>& trades, double capital,
                   const kv::MonteCarloSettings& settings, kv::MonteCarloResult& result)
{
    std::vector<double> seconds;
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        result = kv::runMonteCarlo(trades, capital, settings);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return *std::min_element(seconds.begin(), seconds.end());
}

void printPercentiles(const char* name, const kv::Percentiles& p, const char* format)
{
    std::printf("  %-22s", name);
    for (double v : p)
        std::printf(format, v);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kirvane-montecarlo-benchmark-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path generator = kv::programBeside(argv[0], "kirvane-sample-data");
    kv::Measured written;
    written.status = 0;
    if (argc > 1) {
        std::error_code failed;
        for (const char* name : {"index.txt", "signals.csv"})
            std::filesystem::copy_file(std::filesystem::path(argv[1]) / name, folder / name, failed);
        if (failed) {
            std::fprintf(stderr, "kirvane-montecarlo-benchmark: %s has no index.txt and signals.csv\n",
                         argv[1]);
            return 1;
        }
    } else {
        written = kv::measureProgram(generator, {"--years", "10", folder.string()}, folder,
                                     folder / "sample-data.txt");
    }
    if (written.status != 0) {
        std::fprintf(stderr, "kirvane-montecarlo-benchmark: %s ended with status %d\n", generator.c_str(),
                     written.status);
        return 1;
    }

    // kvn.conf is read, and made, in the current folder, as kirvane-batch does.
    std::filesystem::current_path(folder);
    std::ostringstream err;
    kv::BatchSession session(folder, err);
    if (session.prepare(folder / "signals.csv", std::nullopt, std::nullopt) != kv::RunPreparation::Ready) {
        std::fprintf(stderr, "kirvane-montecarlo-benchmark: the sample cannot be run\n%s", err.str().c_str());
        return 1;
    }
    kv::Backtest& engine = session.engine;
    engine.setSettings(session.app->settings);
    (void)engine.start(std::nullopt, false, true);
    while (!engine.finished() && engine.inProgress())
        (void)engine.step();
    const std::vector<kv::Trade>& trades = engine.results().tradeList();
    const double capital = engine.results().capital();
    const unsigned cores = std::max(std::thread::hardware_concurrency(), 1u);
    std::printf("%s: %zu trades, capital %.0f yen; %u cores\n", argc > 1 ? argv[1] : "ten-year sample",
                trades.size(), capital, cores);

    for (kv::MonteCarloOrder order : {kv::MonteCarloOrder::Permute, kv::MonteCarloOrder::Bootstrap}) {
        kv::MonteCarloSettings settings;
        settings.paths = 10000;
        settings.order = order;
        kv::MonteCarloResult result;
        settings.threads = 1;
        const double one = bestSeconds(trades, capital, settings, result);
        settings.threads = 0;
        const double all = bestSeconds(trades, capital, settings, result);
        std::printf("%s, 10000 paths, seed 1: best of 5 %.3f s on 1 thread, %.3f s on %u\n",
                    std::string(kv::monteCarloOrderName(order)).c_str(), one, all, cores);
        printPercentiles("final assets p5..p95", result.finalAssets, " %14.0f");
        printPercentiles("max drawdown % p5..p95", result.maxDrawdownPercent, " %14.2f");
        std::printf("  below capital %.2f%%, drawdown >= 20/30/50%%: %.2f%% %.2f%% %.2f%%, ruined %.2f%%\n",
                    result.lossProbabilityPercent, result.drawdownAtLeastPercent[0],
                    result.drawdownAtLeastPercent[1], result.drawdownAtLeastPercent[2],
                    result.ruinProbabilityPercent);
        std::printf("  actual drawdown %.2f%%, paths with a smaller one %.2f%%\n",
                    result.actualMaxDrawdownPercent, result.pathsWithSmallerDrawdownPercent);
    }
    std::error_code ignored;
    std::filesystem::current_path(folder.parent_path(), ignored);
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
