// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the combinations of a sweep on worker threads over one loaded signal file. Each worker
// has an engine of its own (its settings, lists, figures and results); the stock master and the
// signal rows are shared and only read, so no signal row is copied per worker. A combination is
// run once per window of rows (two for a hold-out), each run a complete one from the capital.

#include "sweep/SweepFigures.h"
#include "sweep/SweepGrid.h"
#include "settings/SimulationSettings.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv {

class Backtest;
class SignalRows;
class StockMaster;

// Rows first..last of the loaded signals, as Backtest::chooseRows takes them.
struct SweepWindow {
    int first = 0;
    int last = 0;
};

// A calendar date written YYYY/MM/DD (the month and the day may have one digit), as yyyymmdd.
std::optional<int32_t> parseHoldoutDate(const std::string& text);

// The out-of-sample part's first row: the first row of first..last dated on or after `date`
// (yyyymmdd). A row whose date text reads as no date (0) is dated on no day: it stays in the part
// its place puts it in. Nothing when `date` lies before the window's first dated row or after its
// last, or when the in-sample part would have no row.
std::optional<int> holdoutRow(const SignalRows& rows, int first, int last, int32_t date);

// "2004/1/5 〜 2005/6/30" (UTF-8):
// the dates of the first and last dated rows of first..last.
std::string windowDatesText(const SignalRows& rows, int first, int last);

class SweepRunner {
public:
    // `base` is what every combination starts from (kvn.conf and the --set values); a
    // combination's own values are set on a copy. No trade log is written. `windows` holds at
    // least one window.
    SweepRunner(const StockMaster& master, const SignalRows& rows, const SimulationSettings& base,
                std::vector<SweepWindow> windows, const SweepGrid& grid);

    size_t windowCount() const { return windows.size(); }

    // Called on the thread that called run() whenever combinations have finished: `done` of them
    // in all, and the first `ready` of the list have their figures in `figures`.
    using Progress = std::function<void(size_t done, size_t ready, const std::vector<SweepFigures>& figures)>;

    // The figures of each combination of `indices` (grid indices), in that order, computed by
    // `jobs` threads at a time (1 runs them on this thread): windowCount() entries per
    // combination, one per window, so combination i's are at i × windowCount(). A worker's
    // exception stops the others and is rethrown here. Once `cancel` (when given) is set, no
    // combination starts: each worker ends with the one it is running, and the figures of the
    // combinations not run stay empty (the last progress report tells how many are ready).
    std::vector<SweepFigures> run(const std::vector<uint64_t>& indices, int jobs,
                                  const Progress& progress = {},
                                  const std::atomic<bool>* cancel = nullptr) const;

    // One combination on the calling thread, with the given engine: its figures in each window
    // written to `figures` (windowCount() entries).
    void runCombination(uint64_t index, Backtest& engine, SweepFigures* figures) const;

private:
    const StockMaster& master;
    const SignalRows& rows;
    SimulationSettings base;
    std::vector<SweepWindow> windows;
    const SweepGrid& grid;
};

}  // namespace kv
