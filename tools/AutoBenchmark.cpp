// kirvane-auto-benchmark: AUTO stepping in the real Qt window (offscreen unless a platform is
// chosen) with the 250,000-row benchmark list loaded. Every tick performs one step and one
// refresh of the bound texts, as on the desktop. Prints the steps per second; for comparison
// it also times the same run ticked on the scripted backend, where nothing is drawn. After the Qt
// run it opens the results window 運用成績 on the run's day points and times it until the window
// has been drawn once.

#include "BenchmarkData.h"
#include "app/SimulatorDialog.h"
#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "sim/OutcomeTexts.h"
#include "toolkit/headless/HeadlessPlatform.h"
#include "toolkit/qt/QtPlatform.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace {

using Clock = std::chrono::steady_clock;

// The desktop platform with the file dialogs and message boxes answered by the benchmark.
class AnsweringQtPlatform : public kv::QtPlatform {
public:
    explicit AnsweringQtPlatform(std::filesystem::path signalFile) : signalFile(std::move(signalFile)) {}

    std::optional<std::filesystem::path> openFile(const kv::FileDialogOptions&) override
    {
        return signalFile;
    }
    std::optional<std::filesystem::path> saveFile(const kv::FileDialogOptions&) override
    {
        return std::nullopt;
    }
    void messageBox(const std::string& text) override
    {
        if (text == kv::messages::simulationEnded && onFinished)
            onFinished();
    }

    std::filesystem::path signalFile;
    std::function<void()> onFinished;
};

struct Figures {
    int steps = 0;
    double seconds = 0;
    size_t days = 0;            // day points of the run
    double resultsSeconds = 0;  // the results window: built, filled and drawn once
};

Figures runInQt(const kv::BenchmarkFolder& folder)
{
    AnsweringQtPlatform platform(folder.signalFile());
    auto app = std::make_unique<kv::SimulatorApp>();
    kv::SimulatorDialog dialog(*app, platform, folder.path());
    Figures figures;
    Clock::time_point start;
    int firstStep = 0;
    platform.onFinished = [&] {
        figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        figures.steps = dialog.engine.figures().steps - firstStep;
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
        dialog.onCommand(kv::IDC_AUTO, kv::Notification::Clicked);
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
    Figures qt = runInQt(folder);
    Figures headless = runHeadless(folder);
    std::printf("platform:            %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf(
        "AUTO in the Qt window: %d steps in %.3f s = %.0f steps/s (each tick: one step, one refresh)\n",
        qt.steps, qt.seconds, qt.steps / qt.seconds);
    std::printf("AUTO without drawing:  %d steps in %.3f s = %.0f steps/s (scripted backend)\n",
                headless.steps, headless.seconds, headless.steps / headless.seconds);
    std::printf("results window:        %zu day points, opened and drawn in %.3f s\n", qt.days,
                qt.resultsSeconds);
    return 0;
}
