// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-optimisation-benchmark: the optimisation window 最適化 in the real Qt window (offscreen
// unless a platform is chosen: under xvfb-run, QT_QPA_PLATFORM=xcb) over the 250,000-row
// benchmark file, against kirvane-sweep (the program beside this one) on the same grid.
//  1. 64 combinations (operatingRate 0.3…1.0 × maxStocks 1…8), timed from 開始 until the results
//     are shown, against the median of three kirvane-sweep runs of the same grid; the window
//     should take at most 1.2 × the command line. Also the longest time the window's event loop
//     went without a turn (a repaint waits at most that long) and the peak memory of each.
//  2. 1,000 combinations, 中止 pressed once a few have finished: how long the workers took to end
//     after it and how many combinations finished after it, against one combination's time and
//     the number of workers (each may finish the one it is running, no more).

#include "AnsweringQtPlatform.h"
#include "BenchmarkData.h"
#include "QtLoopProbe.h"
#include "app/OptimisationDialog.h"
#include "app/SimulatorDialog.h"
#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct WindowRun {
    double seconds = 0;     // 開始 until the results are shown
    double longestGap = 0;  // the event loop's longest wait for a turn meanwhile
    int rows = 0;           // rows of the results table
    // With 中止:
    size_t doneAtCancel = 0;
    size_t doneAtEnd = 0;
    double secondsToEnd = 0;  // from 中止 until every worker had ended
    double combination = 0;   // one combination's time on one worker, from the run before 中止
    long peakBefore = 0;      // the program's peak memory before 開始 (Qt, the file loaded), and after
    long peakAfter = 0;
};

// Opens the main window on the benchmark file, then the optimisation window with the grid of the
// two axes given as lists or ranges; 開始, and 中止 after `cancelAfter` combinations when given.
WindowRun runWindow(const kv::BenchmarkFolder& folder, const std::string& axis1, const std::string& axis2,
                    std::optional<size_t> cancelAfter)
{
    AnsweringQtPlatform platform(folder.signalFile());
    platform.answerYes = false;
    platform.onMessage = [](const std::string& text) { std::fprintf(stderr, "message: %s\n", text.c_str()); };
    auto app = std::make_unique<kv::SimulatorApp>();
    kv::SimulatorDialog main(*app, platform, folder.path());
    WindowRun figures;
    QTimer::singleShot(0, [&] {
        main.onCommand(kv::IDC_LOAD, kv::Notification::Clicked);
        kv::OptimisationDialog window(*app, platform, main.loadedSignals, main.engine.startRow(),
                                      main.engine.endRow());
        std::unique_ptr<QtLoopProbe> probe;
        Clock::time_point started, cancelled;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const kv::BackgroundSweep* sweep = window.sweep();
            if (!sweep)
                return;
            if (cancelAfter && !sweep->cancelled() && sweep->done() >= *cancelAfter) {
                figures.doneAtCancel = sweep->done();
                figures.combination = sweep->seconds() * std::thread::hardware_concurrency() /
                    static_cast<double>(figures.doneAtCancel);
                cancelled = Clock::now();
                window.onCommand(kv::IDC_OPTIM_CANCEL, kv::Notification::Clicked);
            }
            if (window.sweepRunning())
                return;
            const Clock::time_point now = Clock::now();
            figures.seconds = std::chrono::duration<double>(now - started).count();
            figures.longestGap = probe->longestGap();
            figures.rows = window.resultsTable.rowCount();
            figures.doneAtEnd = sweep->done();
            figures.peakAfter = peakKilobytes();
            if (cancelAfter)
                figures.secondsToEnd =
                    sweep->seconds() - std::chrono::duration<double>(cancelled - started).count();
            watch.stop();
            platform.topWindow()->close();  // the close box
        });
        QTimer::singleShot(0, [&] {
            window.listTexts = {axis1, axis2};
            window.updateData(false);
            probe = std::make_unique<QtLoopProbe>(5);
            figures.peakBefore = peakKilobytes();
            started = Clock::now();
            window.onCommand(kv::IDC_OPTIM_START, kv::Notification::Clicked);
            watch.start(1);
        });
        platform.runModal(window);
        platform.topWindow()->close();
    });
    platform.runModal(main);
    return figures;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[])
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::filesystem::path sweep = kv::programBeside(argv[0], "kirvane-sweep");
    if (!std::filesystem::exists(sweep)) {
        std::fprintf(stderr, "kirvane-optimisation-benchmark: kirvane-sweep must be built beside it\n");
        return 1;
    }
    QApplication qtApp(argc, argv);
    kv::BenchmarkFolder folder("kirvane-optimisation-benchmark");
    if (!folder.written()) {
        std::fprintf(stderr, "kirvane-optimisation-benchmark: cannot write the benchmark data\n");
        return 1;
    }
    const std::string rates = "0.3:1:0.1";  // 8 values
    const std::string stocks = "1:8:1";     // 8 values

    const std::vector<std::string> arguments = {"--vary", "operatingRate=" + rates, "--vary",
                                                "maxStocks=" + stocks, "signals.csv"};
    // kirvane-sweep's memory from a run started while this program is small: Linux counts a
    // child's peak from the memory of the process it was started from.
    const kv::Measured first = kv::measureProgram(sweep, arguments, folder.path(), folder.path() / "out.csv");
    if (first.status != 0) {
        std::fprintf(stderr, "kirvane-optimisation-benchmark: kirvane-sweep ended with status %d\n",
                     first.status);
        return 1;
    }
    // The window's and the command line's runs take turns, three each, so that both meet the same
    // load of the machine.
    std::vector<double> windowSeconds, sweepSeconds;
    WindowRun window;
    WindowRun firstWindow;  // its memory: the peaks only grow
    for (int i = 0; i < 3; ++i) {
        WindowRun run = runWindow(folder, rates, stocks, std::nullopt);
        windowSeconds.push_back(run.seconds);
        if (i == 0)
            firstWindow = run;
        if (i == 0 || run.longestGap > window.longestGap)
            window = run;
        sweepSeconds.push_back(
            kv::measureProgram(sweep, arguments, folder.path(), folder.path() / "out.csv").seconds);
    }
    WindowRun cancel = runWindow(folder, "0.01:1:0.01", "1:10:1", 2 * std::thread::hardware_concurrency());

    const double command = median(sweepSeconds);
    const double windowRun = median(windowSeconds);
    std::printf("platform:               %s, %u workers\n", qPrintable(QGuiApplication::platformName()),
                std::thread::hardware_concurrency());
    std::printf("signal file:            %d rows over %d stocks\n", kv::BenchmarkFolder::kRows,
                kv::BenchmarkFolder::kStocks);
    std::printf("kirvane-sweep, 64 comb.: median %.2f s of %zu (loading the file included), peak %.1f MB\n",
                command, sweepSeconds.size(), first.peakKilobytes / 1024.0);
    std::printf(
        "window 最適化, 64 comb.: median %.2f s of %zu from 開始 to the results (%d rows) = %.2f × the "
        "command line\n",
        windowRun, windowSeconds.size(), window.rows, windowRun / command);
    std::printf("  the event loop's longest wait for a turn meanwhile: %.1f ms\n", window.longestGap * 1000);
    std::printf("  the program's peak memory: %.1f MB before 開始 (Qt, the main window, the file loaded), "
                "%.1f MB after the sweep\n",
                firstWindow.peakBefore / 1024.0, firstWindow.peakAfter / 1024.0);
    std::printf(
        "中止 in a 1,000-combination sweep: pressed after %zu, ended with %zu (%zu finished after it); "
        "the workers ended %.0f ms after it; one combination takes about %.0f ms on one worker\n",
        cancel.doneAtCancel, cancel.doneAtEnd, cancel.doneAtEnd - cancel.doneAtCancel,
        cancel.secondsToEnd * 1000, cancel.combination * 1000);
    std::printf("  the event loop's longest wait for a turn meanwhile: %.1f ms\n", cancel.longestGap * 1000);
    const bool withinOne = cancel.doneAtEnd - cancel.doneAtCancel <= std::thread::hardware_concurrency() &&
        cancel.secondsToEnd <= cancel.combination * 1.5;
    std::printf("within one combination: %s\n", withinOne ? "yes" : "NO");
    return windowRun <= 1.2 * command && withinOne ? 0 : 3;
}
