// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-statistics-benchmark: the statistics with the 250,000-row benchmark file loaded
// (3,000 stocks). Times the opening of the statistics dialog through 集計結果 on the scripted
// backend and in the real Qt window (offscreen unless a platform is chosen), the rebuilds of the
// month and day lists when a year or month is chosen, and the statistics that kirvane-batch
// --json adds to its result. Each figure is the best and the median of several repeats.

#include "BenchmarkData.h"
#include "app/PrintDialog.h"
#include "app/SimulatorDialog.h"
#include "report/StatisticsJson.h"
#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "toolkit/headless/HeadlessPlatform.h"
#include "toolkit/qt/QtPlatform.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRepeats = 7;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Timing {
    std::vector<double> seconds;

    void add(double s) { seconds.push_back(s); }
    void print(const char* what) const
    {
        std::vector<double> sorted = seconds;
        std::sort(sorted.begin(), sorted.end());
        std::printf("%-44s best %7.1f ms, median %7.1f ms of %zu\n", what, sorted.front() * 1000,
                    sorted[sorted.size() / 2] * 1000, sorted.size());
    }
};

Timing repeat(const std::function<void()>& action)
{
    Timing t;
    for (int i = 0; i < kRepeats; ++i) {
        Clock::time_point start = Clock::now();
        action();
        t.add(secondsSince(start));
    }
    return t;
}

// The desktop platform with the signal file chosen and message boxes left out.
class AnsweringQtPlatform : public kv::QtPlatform {
public:
    explicit AnsweringQtPlatform(std::filesystem::path signalFile) : signalFile(std::move(signalFile)) {}
    std::optional<std::filesystem::path> openFile(const kv::FileDialogOptions&) override
    {
        return signalFile;
    }
    void messageBox(const std::string&) override {}
    std::filesystem::path signalFile;
};

void headless(const kv::BenchmarkFolder& folder)
{
    std::ostringstream out, err;
    kv::HeadlessPlatform platform(out, err);
    auto app = std::make_unique<kv::SimulatorApp>();
    kv::SimulatorDialog dialog(*app, platform, folder.path());
    platform.open(dialog);
    platform.queueFileAnswer(kv::HeadlessPlatform::FileDialogKind::Open, folder.signalFile());
    platform.execute("click " + std::to_string(kv::IDC_LOAD));

    // 集計結果 until the dialog stands ready; the script then closes it at once.
    repeat([&] {
        platform.queueLines({"close"});
        platform.execute("click " + std::to_string(kv::IDC_STATISTICS));
    }).print("open the dialog (scripted backend)");

    kv::PrintDialog statistics(*app, platform);
    platform.open(statistics);
    int years = statistics.yearList.count() - 1;
    int year = 0;
    repeat([&] {
        year = year % years + 1;
        platform.execute("select " + std::to_string(kv::IDC_YEAR_LIST) + " " + std::to_string(year));
    }).print("choose a year: months and days rebuilt");
    platform.execute("select " + std::to_string(kv::IDC_METHOD_LIST) + " 2");
    int months = statistics.monthList.count() - 1;
    int month = 0;
    repeat([&] {
        month = month % months + 1;
        platform.execute("select " + std::to_string(kv::IDC_MONTH_LIST) + " " + std::to_string(month));
    }).print("choose a month: days and month totals");
    platform.close(statistics);

    std::string json;
    repeat([&] { json = kv::statisticsJson(*app).dump(); }).print("kirvane-batch --json statistics");
    std::printf("%-44s %zu bytes of JSON, %d years, %d months in the last year\n", "", json.size(), years,
                months);
    platform.close(dialog);
}

void inQt(const kv::BenchmarkFolder& folder)
{
    AnsweringQtPlatform platform(folder.signalFile());
    auto app = std::make_unique<kv::SimulatorApp>();
    kv::SimulatorDialog dialog(*app, platform, folder.path());
    Timing opening;
    std::function<void()> openOnce = [&] {
        // Measured from the click until the dialog's window has been shown and painted; a timer
        // in its modal loop then closes it.
        Clock::time_point start = Clock::now();
        QTimer::singleShot(0, [&, start] {
            QWidget* window = platform.topWindow();
            window->repaint();
            opening.add(secondsSince(start));
            window->close();
        });
        dialog.onCommand(kv::IDC_STATISTICS, kv::Notification::Clicked);
        if (opening.seconds.size() < static_cast<size_t>(kRepeats))
            QTimer::singleShot(0, openOnce);
        else
            QTimer::singleShot(0, [&] { platform.topWindow()->close(); });  // ends the main window
    };
    QTimer::singleShot(0, [&] {
        dialog.onCommand(kv::IDC_LOAD, kv::Notification::Clicked);
        openOnce();
    });
    platform.runModal(dialog);
    opening.print("open the dialog (Qt window, shown and drawn)");
}

}  // namespace

int main(int argc, char* argv[])
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qtApp(argc, argv);
    kv::BenchmarkFolder folder("kirvane-statistics-benchmark");
    if (!folder.written()) {
        std::fprintf(stderr, "kirvane-statistics-benchmark: cannot write the benchmark data\n");
        return 1;
    }
    std::printf("platform: %s; %d rows over %d stocks\n", qPrintable(QGuiApplication::platformName()),
                kv::BenchmarkFolder::kRows, kv::BenchmarkFolder::kStocks);
    headless(folder);
    inQt(folder);
    return 0;
}
