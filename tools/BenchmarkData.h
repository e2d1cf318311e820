// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The benchmarks' working folder: a temporary folder with a 3,000-stock index.txt and a
// 250,000-row signals.csv (code page 932), removed again when the benchmark ends.

#include "settings/SimulationSettings.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kv {

class BenchmarkFolder {
public:
    static constexpr int kStocks = 3000;
    static constexpr int kRows = 250000;

    explicit BenchmarkFolder(const char* name);
    ~BenchmarkFolder();
    BenchmarkFolder(const BenchmarkFolder&) = delete;
    BenchmarkFolder& operator=(const BenchmarkFolder&) = delete;

    bool written() const { return ok; }
    const std::filesystem::path& path() const { return folder; }
    std::filesystem::path signalFile() const { return folder / "signals.csv"; }

    // Writes oneday.csv: rowCount signals over the same stocks, all on one day (2000/01/04).
    // Its path, or nothing when it cannot be written.
    std::optional<std::filesystem::path> writeOneDayFile(int rowCount) const;

private:
    std::filesystem::path folder;
    bool ok = false;
};

// The settings of the heavy run: every signal bought that can be (capital 10^12, no cap on the
// stocks of a day, 1,000,000 yen a purchase, no commission), no trade log asked for. The heavy
// run of kirvane-backtest-benchmark passes the same as --set values.
void buyEverySignal(SimulationSettings& settings);

// A program run as a child process: its wall time, peak resident memory and exit status.
struct Measured {
    double seconds = 0;
    long peakKilobytes = 0;
    int status = -1;
};

// Runs `program` with `arguments` in `folder`, standard output into `outFile` (standard error
// discarded), and measures it.
Measured measureProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                        const std::filesystem::path& folder, const std::filesystem::path& outFile);

// The path of the program `name` built beside the running one (argv0: its argv[0]).
std::filesystem::path programBeside(const char* argv0, const char* name);

}  // namespace kv
