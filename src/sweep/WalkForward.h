// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Walk-forward optimisation on the sweep's runner. The rows are cut into windows by calendar
// months from the first dated row: window k's in-sample period is [start + k·S, start + k·S + I)
// and its out-of-sample period the S months after that. In each window the grid runs on the
// in-sample rows, the best combination by the ranking figure (grid order on ties) runs on the
// out-of-sample rows, and the out-of-sample runs are chained one after the other.

#include "sweep/SweepFigures.h"
#include "sweep/SweepGrid.h"
#include "sweep/SweepRunner.h"

#include <cstddef>
#include <cstdint>
#include <atomic>
#include <functional>
#include <optional>
#include <vector>

namespace kv {

// yyyymmdd moved by `months` calendar months, keeping the day; a day past the new month's end
// falls on its last day (20040131 + 1 gives 20040229).
int32_t addMonths(int32_t yyyymmdd, int months);

// One window: its number k and the rows of its two parts.
struct WalkForwardWindow {
    int index = 0;
    SweepWindow inSample;
    SweepWindow outOfSample;
};

// The windows over rows first..first + dates.size() − 1, `dates` holding the rows' dates in list
// order (0: a row dated on no day). The start is the first dated row's date; a period's rows run
// from the first row dated on or after its start up to the row before the first row dated on or
// after its end (to the last row when there is none). Windows whose in-sample or out-of-sample
// part has no row are left out; they stop at the first window whose out-of-sample period starts
// after the last dated row's date.
std::vector<WalkForwardWindow> walkForwardWindows(const std::vector<int32_t>& dates, int first,
                                                  int inSampleMonths, int outOfSampleMonths);

// The dates of the first and last dated rows of first..last (0 when there is none).
struct RowDates {
    int32_t first = 0;
    int32_t last = 0;
};
RowDates rowDates(const SignalRows& rows, int first, int last);

// What one window found.
struct WalkForwardResult {
    WalkForwardWindow window;
    uint64_t chosen = 0;       // the grid index of the best in-sample combination
    SweepFigures inSample;     // its in-sample figures
    SweepFigures outOfSample;  // its out-of-sample figures
    RowDates inSampleDates;
    RowDates outOfSampleDates;
};

// The out-of-sample runs taken together.
struct WalkForwardSummary {
    size_t windows = 0;
    // The capital compounded by each window's out-of-sample total return in turn.
    std::optional<double> chainedFinalAssets;
    std::optional<double> chainedReturnPercent;
    // Over the calendar days from the first out-of-sample row's date to the last one's, as the
    // results compute a run's CAGR.
    std::optional<double> chainedCagrPercent;
    // The deepest fall, in percent of the peak, of the chained assets at the window ends, the
    // capital being the first peak.
    std::optional<double> chainedMaxDrawdownPercent;
    // Mean out-of-sample cagrPercent ÷ mean in-sample cagrPercent of the chosen combinations;
    // none when a window lacks either or the in-sample mean is 0.
    std::optional<double> efficiency;
    std::optional<double> positiveWindowsPercent;  // windows whose out-of-sample return is above 0
    size_t choiceChanges = 0;                      // windows whose choice differs from the previous one's
};

WalkForwardSummary summariseWalkForward(const std::vector<WalkForwardResult>& results, double capital);

// Runs every window: the whole grid on its in-sample rows with `jobs` threads, then the chosen
// combination on its out-of-sample rows, each run complete from the capital. `progress` is told
// the runs done out of all of them (the grid per window and one more), first with none done.
// Once `cancel` is set no further run starts; the windows finished by then are returned.
using WalkForwardProgress = std::function<void(size_t done, size_t total)>;
std::vector<WalkForwardResult> runWalkForward(const StockMaster& master, const SignalRows& rows,
                                              const SimulationSettings& base,
                                              const std::vector<WalkForwardWindow>& windows,
                                              const SweepGrid& grid, const SweepFigureField& rankBy, int jobs,
                                              const WalkForwardProgress& progress = {},
                                              const std::atomic<bool>* cancel = nullptr);

}  // namespace kv
