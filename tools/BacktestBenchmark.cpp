// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-backtest-benchmark: times a whole headless back-test of the 250,000-row benchmark
// file — load, run with the trade log, every step to the final liquidation — exactly as
// kirvane-batch performs it, and prints the figures. Then the heavy run: kirvane-batch itself
// (built beside this program) buying every signal it can, with its trade log of about 470,000
// lines, measured as a program: wall time and peak memory.

#include "BenchmarkData.h"
#include "batch/BatchRun.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

int main(int, char** argv)
{
    kv::BenchmarkFolder folder("kirvane-backtest-benchmark");
    if (!folder.written()) {
        std::fprintf(stderr, "kirvane-backtest-benchmark: cannot write into %s\n", folder.path().c_str());
        return 1;
    }
    // The heavy run first, while this process is small: a child's peak memory counts from the
    // memory of the process that starts it.
    const std::filesystem::path batch = kv::programBeside(argv[0], "kirvane-batch");
    const std::vector<std::string> heavy = {"--set",      "capital=1e12",
                                            "--set",      "maxStocks=100000000",
                                            "--set",      "maxPurchaseAmount=1000000",
                                            "--set",      "commissionSchedule=1",
                                            "--log",      "heavy.csv",
                                            "signals.csv"};
    std::vector<kv::Measured> runs;
    for (int i = 0; i < 3; ++i) {
        runs.push_back(kv::measureProgram(batch, heavy, folder.path(), folder.path() / "heavy.txt"));
        if (runs.back().status != 0) {
            std::fprintf(stderr, "kirvane-backtest-benchmark: %s ended with status %d\n", batch.c_str(),
                         runs.back().status);
            return 1;
        }
    }

    kv::BatchOptions options;
    options.signalFile = folder.signalFile();
    options.logFile = folder.path() / "log.csv";
    options.json = true;

    std::vector<double> seconds;
    std::string result;
    for (int i = 0; i < 3; ++i) {
        std::ostringstream out, err;
        auto start = std::chrono::steady_clock::now();
        int status = kv::runBatch(options, folder.path(), out, err, false);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (status != 0) {
            std::fprintf(stderr, "kirvane-backtest-benchmark: the back-test ended with status %d\n%s", status,
                         err.str().c_str());
            return 1;
        }
        result = out.str();
    }
    std::ifstream log(folder.path() / "log.csv", std::ios::binary);
    long logLines = std::count(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>(), '\n');
    std::sort(seconds.begin(), seconds.end());
    std::printf("signal file:     %d rows over %d stocks\n", kv::BenchmarkFolder::kRows,
                kv::BenchmarkFolder::kStocks);
    std::printf("result:          %s", result.c_str());
    std::printf("trade log:       %ld lines\n", logLines);
    std::printf("whole back-test: best %.3f s, median %.3f s of %zu (load + run + log)\n", seconds.front(),
                seconds[seconds.size() / 2], seconds.size());
    std::ifstream heavyLog(folder.path() / "heavy.csv", std::ios::binary);
    long heavyLines =
        std::count(std::istreambuf_iterator<char>(heavyLog), std::istreambuf_iterator<char>(), '\n');
    std::sort(runs.begin(), runs.end(),
              [](const kv::Measured& a, const kv::Measured& b) { return a.seconds < b.seconds; });
    std::printf("heavy run (kirvane-batch, every signal bought, %ld log lines): best %.3f s, median %.3f s "
                "wall; peak %.1f MB\n",
                heavyLines, runs.front().seconds, runs[1].seconds, runs[1].peakKilobytes / 1024.0);

    return 0;
}
