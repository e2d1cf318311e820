// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-stress-benchmark: times the two back-tests that once took quadratic time, headless and
// exactly as kirvane-batch performs them (load + run, no trade log), on the benchmark stock
// master, and prints the figures:
//   one day   a single day of 250,000 candidates with maxStocks 100000000 and capital 1e11, so
//             that every candidate is bought (the buy phase's choice of the next candidate)
//   many      the 250,000-row benchmark file with capital 1e11 and maxStocks 100: some 125,000
//             purchases, so thousands of positions are held at once (the holdings walked
//             several times a day)
// Usage: kirvane-stress-benchmark [RUNS] (3 by default). Wall time is the best and the median of
// the runs; CPU time (the process's own, which other programs on the machine do not inflate as
// much) is the median.

#include "BenchmarkData.h"
#include "batch/BatchRun.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kOneDayCandidates = 250000;
// Rows generated for the one-day file; enough that more than kOneDayCandidates are listed (some
// rows are never executed and are not listed).
constexpr int kOneDayRows = 275000;

struct Timing {
    double bestWall = 0;
    double medianWall = 0;
    double medianCpu = 0;
    std::string result;
};

bool timeRuns(const kv::BatchOptions& options, const std::filesystem::path& folder, int runs, Timing& timing)
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        std::ostringstream out, err;
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        const int status = kv::runBatch(options, folder, out, err, false);
        wall.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        cpu.push_back(static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        if (status != 0) {
            std::fprintf(stderr, "kirvane-stress-benchmark: the back-test ended with status %d\n%s", status,
                         err.str().c_str());
            return false;
        }
        timing.result = out.str();
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    timing.bestWall = wall.front();
    timing.medianWall = wall[wall.size() / 2];
    timing.medianCpu = cpu[cpu.size() / 2];
    return true;
}

void print(const char* what, const Timing& timing, int runs)
{
    std::printf("%s\n  result: %s  wall:   best %.3f s, median %.3f s of %d\n  cpu:    median %.3f s\n", what,
                timing.result.c_str(), timing.bestWall, timing.medianWall, runs, timing.medianCpu);
}

kv::BatchOptions stressOptions(const std::filesystem::path& signalFile, const char* maxStocks)
{
    kv::BatchOptions options;
    options.signalFile = signalFile;
    options.json = true;
    options.settings = {{"capital", "100000000000"}, {"maxStocks", maxStocks}};
    return options;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    kv::BenchmarkFolder folder("kirvane-stress-benchmark");
    std::optional<std::filesystem::path> oneDay =
        folder.written() ? folder.writeOneDayFile(kOneDayRows) : std::nullopt;
    if (!oneDay) {
        std::fprintf(stderr, "kirvane-stress-benchmark: cannot write into %s\n", folder.path().c_str());
        return 1;
    }

    kv::BatchOptions oneDayOptions = stressOptions(*oneDay, "100000000");
    oneDayOptions.endRow = kOneDayCandidates - 1;
    Timing timing;
    if (!timeRuns(oneDayOptions, folder.path(), runs, timing))
        return 1;
    print("one day of 250,000 candidates, maxStocks 100000000, capital 1e11 (load + run):", timing, runs);

    if (!timeRuns(stressOptions(folder.signalFile(), "100"), folder.path(), runs, timing))
        return 1;
    print("250,000-row benchmark file, capital 1e11, maxStocks 100 (load + run):", timing, runs);
    return 0;
}
