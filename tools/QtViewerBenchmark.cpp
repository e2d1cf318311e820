// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-viewer-benchmark: the trade record viewer in the real Qt window (offscreen unless a
// platform is chosen) with the record of a whole run of the 250,000-row benchmark file. The run
// buys every signal it can (a large capital, no cap on the number of stocks, no commission), so
// its record holds hundreds of thousands of lines. Prints the time from 売買履歴 to the viewer
// shown and painted, the time of scrolling to the middle and to the end, and what the record
// costs in memory.

#include "AnsweringQtPlatform.h"
#include "BenchmarkData.h"
#include "app/SimulatorDialog.h"
#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "toolkit/DialogTemplate.h"
#include "toolkit/qt/TextLinesView.h"

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Resident memory of the process in MiB, from /proc.
double residentMiB()
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmRSS:") {
            double kib = 0;
            status >> kib;
            return kib / 1024;
        }
    return 0;
}

struct Figures {
    double runSeconds = 0;
    double openSeconds = 0;
    double openCpuSeconds = 0;
    double middleSeconds = 0;
    double endSeconds = 0;
    double refreshSeconds = 0;
    int shownLines = 0;
    double residentBefore = 0;
    double residentOpen = 0;
};

}  // namespace

int main(int argc, char* argv[])
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qtApp(argc, argv);
    kv::BenchmarkFolder folder("kirvane-viewer-benchmark");
    if (!folder.written()) {
        std::fprintf(stderr, "kirvane-viewer-benchmark: cannot write the benchmark data\n");
        return 1;
    }
    AnsweringQtPlatform platform(folder.signalFile());
    auto app = std::make_unique<kv::SimulatorApp>();
    kv::SimulatorDialog dialog(*app, platform, folder.path());
    Figures f;

    auto paint = [](kv::TextLinesView* edit) {
        edit->viewport()->repaint();
        QApplication::processEvents();
    };
    QTimer::singleShot(0, [&] {
        dialog.onCommand(kv::IDC_LOAD, kv::Notification::Clicked);
        kv::buyEverySignal(app->settings);
        dialog.onCommand(kv::IDC_RUN, kv::Notification::Clicked);
        Clock::time_point run = Clock::now();
        while (!dialog.engine.finished())
            dialog.engine.step();
        f.runSeconds = secondsSince(run);
        f.residentBefore = residentMiB();

        Clock::time_point open = Clock::now();
        const std::clock_t openCpu = std::clock();
        QTimer::singleShot(0, [&] {
            // The viewer's modal loop is running: the window is up; paint it once.
            QWidget* window = platform.topWindow();
            auto* edit =
                window->findChild<kv::TextLinesView*>(QStringLiteral("ctl%1").arg(kv::IDC_RECORD_TEXT));
            paint(edit);
            f.openSeconds = secondsSince(open);
            f.openCpuSeconds = double(std::clock() - openCpu) / CLOCKS_PER_SEC;
            f.residentOpen = residentMiB();
            f.shownLines = edit->lineCount();

            QScrollBar* bar = edit->verticalScrollBar();
            Clock::time_point middle = Clock::now();
            bar->setValue(bar->maximum() / 2);
            paint(edit);
            f.middleSeconds = secondsSince(middle);
            Clock::time_point end = Clock::now();
            bar->setValue(bar->maximum());
            paint(edit);
            f.endSeconds = secondsSince(end);

            // 更新 with the record unchanged: the edit is left as it is.
            Clock::time_point refresh = Clock::now();
            window->findChild<QPushButton*>(QStringLiteral("ctl%1").arg(kv::IDC_RECORD_REFRESH))->click();
            paint(edit);
            f.refreshSeconds = secondsSince(refresh);
            window->close();
        });
        dialog.onCommand(kv::IDC_HISTORY, kv::Notification::Clicked);
        dialog.endDialog(kv::IDOK);
        QCoreApplication::exit(0);  // leaves the window's modal loop
    });
    platform.runModal(dialog);

    const std::string& record = dialog.engine.tradeRecord();
    const long lines = std::count(record.begin(), record.end(), '\n');
    std::printf("platform:          %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("run:               %d purchases, %d sales in %.2f s (every signal it can buy)\n",
                dialog.engine.figures().purchases, dialog.engine.figures().sales, f.runSeconds);
    std::printf("record:            %ld lines, %.1f MB; kept in %.1f MB (%.3f × its bytes)\n", lines,
                record.size() / 1e6, record.capacity() / 1e6, double(record.capacity()) / record.size());
    std::printf(
        "viewer open:       %.3f s to shown and painted (%.3f s of processor time; %d lines in the edit)\n",
        f.openSeconds, f.openCpuSeconds, f.shownLines);
    std::printf("scroll:            %.1f ms to the middle, %.1f ms to the end (each with its repaint)\n",
                f.middleSeconds * 1000, f.endSeconds * 1000);
    std::printf("更新 (unchanged):   %.1f ms\n", f.refreshSeconds * 1000);
    std::printf("resident memory:   %.0f MiB after the run, %.0f MiB with the viewer open\n",
                f.residentBefore, f.residentOpen);
    return 0;
}
