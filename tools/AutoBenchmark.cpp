// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-auto-benchmark: AUTO stepping in the real Qt window (offscreen unless a platform is
// chosen) with the 250,000-row benchmark list loaded. Every tick takes steps for about 5 ms and
// refreshes the window once, as on the desktop. Prints the steps per second and the longest
// time the window's event loop went without a turn (a repaint waits at most that long); for
// comparison it also times the same run ticked on the scripted backend (one step a tick, nothing
// drawn). After the Qt run it opens the results window 運用成績 on the run's day points and times
// it until the window has been drawn once. A second Qt run, with the settings that buy every
// signal, is stopped with STOP after 0.1 s: how long the press waited, and that no step followed.
// A third Qt run buys every signal and runs to the end (the heavy run, about 235,000 trades); its
// results window is timed as it opens, shows its page 取引一覧 and sorts the trades by a heading
// click (差引益 ascending, then descending, then 銘柄名), each until the window has been drawn.

#include "AnsweringQtPlatform.h"
#include "BenchmarkData.h"
#include "QtLoopProbe.h"
#include "app/SimulatorDialog.h"
#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "sim/OutcomeTexts.h"
#include "toolkit/headless/HeadlessPlatform.h"

#include <QApplication>
#include <QHeaderView>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace {

using Clock = std::chrono::steady_clock;

// The run's end is told by its message box; closing the window after STOP, with the run still
// open, asks whether to end it: yes.
struct FinishingQtPlatform : AnsweringQtPlatform {
    explicit FinishingQtPlatform(std::filesystem::path signalFile)
        : AnsweringQtPlatform(std::move(signalFile))
    {
        onMessage = [this](const std::string& text) {
            if (text == kv::messages::simulationEnded && onFinished)
                onFinished();
        };
    }
    std::function<void()> onFinished;
};

struct Figures {
    int steps = 0;
    double seconds = 0;
    size_t days = 0;            // day points of the run
    double resultsSeconds = 0;  // the results window: built, filled and drawn once
    double longestGap = 0;      // the longest time between two turns of the event loop
};

Figures runInQt(const kv::BenchmarkFolder& folder)
{
    FinishingQtPlatform platform(folder.signalFile());
    auto app = std::make_unique<kv::SimulatorApp>();
    kv::SimulatorDialog dialog(*app, platform, folder.path());
    Figures figures;
    Clock::time_point start;
    int firstStep = 0;
    std::unique_ptr<QtLoopProbe> probe;
    platform.onFinished = [&] {
        figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        figures.steps = dialog.engine.figures().steps - firstStep;
        figures.longestGap = probe->longestGap();
        probe.reset();
        // Once the step has returned: 運用成績, timed from the click until its window is drawn. The
        // zero timer fires inside the window's modal loop, after it has been shown.
        QTimer::singleShot(0, [&] {
            const Clock::time_point clicked = Clock::now();
            QTimer::singleShot(0, [&, clicked] {
                QWidget* window = platform.topWindow();
                window->grab();
                figures.resultsSeconds = std::chrono::duration<double>(Clock::now() - clicked).count();
                figures.days = dialog.engine.results().days().size();
                window->close();
            });
            dialog.onCommand(kv::IDC_RESULTS, kv::Notification::Clicked);
            dialog.endDialog(kv::IDOK);
            QCoreApplication::exit(0);  // leaves the main window's modal loop
        });
    };
    QTimer::singleShot(0, [&] {
        dialog.onCommand(kv::IDC_LOAD, kv::Notification::Clicked);
        app->settings.saveLog = false;
        dialog.onCommand(kv::IDC_RUN, kv::Notification::Clicked);
        firstStep = dialog.engine.figures().steps;
        start = Clock::now();
        probe = std::make_unique<QtLoopProbe>(0);
        dialog.onCommand(kv::IDC_AUTO, kv::Notification::Clicked);
    });
    platform.runModal(dialog);
    return figures;
}

struct StopFigures {
    double waited = 0;      // from the moment STOP was due until it was handled
    int stepsBefore = 0;    // steps taken when STOP was handled
    int stepsAfter = 0;     // steps taken 0.1 s later
    double longestGap = 0;  // as in Figures, while AUTO ran
};

// AUTO with every signal bought (capital 10^12, no cap on the stocks a day), STOP pressed 0.1 s
// after AUTO: the press waits for the tick that is running, and no step follows it.
StopFigures stopInQt(const kv::BenchmarkFolder& folder)
{
    FinishingQtPlatform platform(folder.signalFile());
    auto app = std::make_unique<kv::SimulatorApp>();
    kv::SimulatorDialog dialog(*app, platform, folder.path());
    StopFigures figures;
    std::unique_ptr<QtLoopProbe> probe;
    QTimer::singleShot(0, [&] {
        dialog.onCommand(kv::IDC_LOAD, kv::Notification::Clicked);
        kv::buyEverySignal(app->settings);
        dialog.onCommand(kv::IDC_RUN, kv::Notification::Clicked);
        probe = std::make_unique<QtLoopProbe>(0);
        dialog.onCommand(kv::IDC_AUTO, kv::Notification::Clicked);
        const Clock::time_point due = Clock::now() + std::chrono::milliseconds(100);
        QTimer::singleShot(100, [&, due] {
            figures.waited = std::max(0.0, std::chrono::duration<double>(Clock::now() - due).count());
            dialog.onCommand(kv::IDC_STOP, kv::Notification::Clicked);
            figures.stepsBefore = dialog.engine.figures().steps;
            figures.longestGap = probe->longestGap();
            probe.reset();
            QTimer::singleShot(100, [&] {
                figures.stepsAfter = dialog.engine.figures().steps;
                platform.topWindow()->close();  // the close box: asked, and answered yes
            });
        });
    });
    platform.runModal(dialog);
    return figures;
}

struct TradeListFigures {
    size_t trades = 0;
    size_t listBytes = 0;     // the trade list the run keeps for the window
    double opened = 0;        // the results window built, filled and drawn on its first page
    double pageShown = 0;     // 取引一覧 shown and drawn
    double sorted = 0;        // 差引益 ascending, drawn
    double sortedBack = 0;    // 差引益 descending, drawn
    double sortedByName = 0;  // 銘柄名, drawn
};

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

TradeListFigures tradeListInQt(const kv::BenchmarkFolder& folder)
{
    FinishingQtPlatform platform(folder.signalFile());
    auto app = std::make_unique<kv::SimulatorApp>();
    kv::SimulatorDialog dialog(*app, platform, folder.path());
    TradeListFigures figures;
    QTimer::singleShot(0, [&] {
        dialog.onCommand(kv::IDC_LOAD, kv::Notification::Clicked);
        kv::buyEverySignal(app->settings);
        dialog.onCommand(kv::IDC_RUN, kv::Notification::Clicked);
        (void)dialog.engine.runToEnd();  // no log: nothing to tell
        const std::vector<kv::Trade>& trades = dialog.engine.results().tradeList();
        figures.trades = trades.size();
        figures.listBytes = trades.capacity() * sizeof(kv::Trade);
        const Clock::time_point clicked = Clock::now();
        QTimer::singleShot(0, [&, clicked] {
            QWidget* window = platform.topWindow();
            window->grab();
            figures.opened = secondsSince(clicked);
            auto* tabs = window->findChild<QTabBar*>(QStringLiteral("ctl%1").arg(kv::IDC_RESULTS_PAGES));
            auto* table = window->findChild<QTableView*>(QStringLiteral("ctl%1").arg(kv::IDC_RESULTS_TRADES));
            Clock::time_point start = Clock::now();
            tabs->setCurrentIndex(1);
            window->grab();
            figures.pageShown = secondsSince(start);
            for (auto [column, seconds] : {std::pair{9, &figures.sorted}, std::pair{9, &figures.sortedBack},
                                           std::pair{1, &figures.sortedByName}}) {
                start = Clock::now();
                emit table->horizontalHeader()->sectionClicked(column);
                window->grab();
                *seconds = secondsSince(start);
            }
            window->close();
        });
        dialog.onCommand(kv::IDC_RESULTS, kv::Notification::Clicked);
        QTimer::singleShot(0, [&] { platform.topWindow()->close(); });  // the run has ended: no question
    });
    platform.runModal(dialog);
    return figures;
}

Figures runHeadless(const kv::BenchmarkFolder& folder)
{
    std::ostringstream out, err;
    kv::HeadlessPlatform platform(out, err);
    auto app = std::make_unique<kv::SimulatorApp>();
    kv::SimulatorDialog dialog(*app, platform, folder.path());
    platform.open(dialog);
    platform.queueFileAnswer(kv::HeadlessPlatform::FileDialogKind::Open, folder.signalFile());
    platform.execute("click 1001");
    app->settings.saveLog = false;
    platform.execute("click 1011");
    int firstStep = dialog.engine.figures().steps;
    platform.execute("click 1028");
    Clock::time_point start = Clock::now();
    while (platform.timerActive(dialog, kv::kAutoTimerEvent))
        platform.tick(1000);
    Figures figures{dialog.engine.figures().steps - firstStep,
                    std::chrono::duration<double>(Clock::now() - start).count()};
    platform.close(dialog);
    return figures;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qtApp(argc, argv);
    kv::BenchmarkFolder folder("kirvane-auto-benchmark");
    if (!folder.written()) {
        std::fprintf(stderr, "kirvane-auto-benchmark: cannot write the benchmark data\n");
        return 1;
    }
    // The STOP run first: the other Qt run ends by leaving the event loops for good.
    StopFigures stop = stopInQt(folder);
    TradeListFigures tradeList = tradeListInQt(folder);
    Figures qt = runInQt(folder);
    Figures headless = runHeadless(folder);
    std::printf("platform:            %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf(
        "AUTO in the Qt window: %d steps in %.3f s = %.0f steps/s (each tick: steps for 5 ms, one refresh)\n",
        qt.steps, qt.seconds, qt.steps / qt.seconds);
    std::printf("  the event loop's longest wait for a turn (repaints wait at most that): %.1f ms\n",
                qt.longestGap * 1000);
    std::printf("AUTO buying every signal, STOP after 0.1 s: answered after %.1f ms, steps %d then %d "
                "0.1 s later; the loop's longest wait %.1f ms\n",
                stop.waited * 1000, stop.stepsBefore, stop.stepsAfter, stop.longestGap * 1000);
    std::printf(
        "AUTO without drawing:  %d steps in %.3f s = %.0f steps/s (scripted backend: one step a tick)\n",
        headless.steps, headless.seconds, headless.steps / headless.seconds);
    std::printf("results window:        %zu day points, opened and drawn in %.3f s\n", qt.days,
                qt.resultsSeconds);
    std::printf(
        "the heavy run's trade list: %zu trades (%.1f MB kept for the window); results window opened "
        "%.3f s, 取引一覧 shown %.3f s, sorted by 差引益 %.3f s, again (descending) %.3f s, by 銘柄名 "
        "%.3f s; open to sorted %.3f s\n",
        tradeList.trades, tradeList.listBytes / 1048576.0, tradeList.opened, tradeList.pageShown,
        tradeList.sorted, tradeList.sortedBack, tradeList.sortedByName,
        tradeList.opened + tradeList.pageShown + tradeList.sorted);
    return 0;
}
