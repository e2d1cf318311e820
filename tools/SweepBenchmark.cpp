// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-sweep-benchmark: a 64-combination kirvane-sweep over the 250,000-row benchmark file
// against 64 separate kirvane-batch runs, measured side by side as the programs themselves (the
// executables beside this one), with the peak memory of each. The sweep should take at most
// 64 × one batch run ÷ 1.7; each further worker should add no more than one run's working lists
// (the signal list is shared, not copied).

#include "BenchmarkData.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

long countLines(const std::filesystem::path& file)
{
    long lines = 0;
    if (std::FILE* f = std::fopen(file.c_str(), "rb")) {
        for (int c; (c = std::fgetc(f)) != EOF;)
            lines += c == '\n';
        std::fclose(f);
    }
    return lines;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int, char** argv)
{
    const std::filesystem::path batch = kv::programBeside(argv[0], "kirvane-batch");
    const std::filesystem::path sweep = kv::programBeside(argv[0], "kirvane-sweep");
    if (!std::filesystem::exists(batch) || !std::filesystem::exists(sweep)) {
        std::fprintf(stderr,
                     "kirvane-sweep-benchmark: kirvane-batch and kirvane-sweep must be built beside it\n");
        return 1;
    }
    kv::BenchmarkFolder folder("kirvane-sweep-benchmark");
    if (!folder.written()) {
        std::fprintf(stderr, "kirvane-sweep-benchmark: cannot write into %s\n", folder.path().c_str());
        return 1;
    }
    const std::filesystem::path out = folder.path() / "out.txt";
    // 4 × 4 × 2 × 2 = 64 combinations.
    const std::vector<std::string> grid = {
        "--vary", "operatingRate=0.4:1:0.2", "--vary", "maxStocks=2:8:2",
        "--vary", "tradeOrder=0,1",          "--vary", "commissionSchedule=0,1"};
    auto sweepWith = [&](const std::string& jobs) {
        std::vector<std::string> arguments = {"--jobs", jobs};
        arguments.insert(arguments.end(), grid.begin(), grid.end());
        arguments.push_back("signals.csv");
        return kv::measureProgram(sweep, arguments, folder.path(), out);
    };

    // One batch run as the user would script it, three times; the first run creates kvn.conf.
    std::vector<double> batchSeconds;
    long batchPeak = 0;
    for (int i = 0; i < 4; ++i) {
        kv::Measured m =
            kv::measureProgram(batch, {"--set", "maxStocks=4", "signals.csv"}, folder.path(), out);
        if (m.status != 0) {
            std::fprintf(stderr, "kirvane-sweep-benchmark: kirvane-batch ended with status %d\n", m.status);
            return 1;
        }
        if (i > 0)
            batchSeconds.push_back(m.seconds);
        batchPeak = std::max(batchPeak, m.peakKilobytes);
    }
    std::vector<double> sweepSeconds;
    kv::Measured one, two;
    for (int i = 0; i < 3; ++i) {
        two = sweepWith("2");
        if (two.status != 0 || countLines(out) != 65) {
            std::fprintf(stderr, "kirvane-sweep-benchmark: kirvane-sweep ended with status %d\n", two.status);
            return 1;
        }
        sweepSeconds.push_back(two.seconds);
    }
    one = sweepWith("1");

    const double batchRun = median(batchSeconds);
    const double budget = 64 * batchRun / 1.7;
    const double sweepRun = median(sweepSeconds);
    std::printf("signal file:            %d rows over %d stocks\n", kv::BenchmarkFolder::kRows,
                kv::BenchmarkFolder::kStocks);
    std::printf("one kirvane-batch run:  median %.2f s of %zu, peak %.1f MB\n", batchRun, batchSeconds.size(),
                batchPeak / 1024.0);
    std::printf("64 batch runs ÷ 1.7:    %.2f s (the sweep's budget)\n", budget);
    std::printf("kirvane-sweep --jobs 2: median %.2f s of %zu (%.2f of the budget), peak %.1f MB\n", sweepRun,
                sweepSeconds.size(), sweepRun / budget, two.peakKilobytes / 1024.0);
    std::printf("kirvane-sweep --jobs 1: %.2f s, peak %.1f MB\n", one.seconds, one.peakKilobytes / 1024.0);
    std::printf("memory of the second worker: %+.1f MB\n", (two.peakKilobytes - one.peakKilobytes) / 1024.0);
    std::printf("speed-up over 64 batch runs: %.2f\n", 64 * batchRun / sweepRun);
    return sweepRun <= budget ? 0 : 3;
}
