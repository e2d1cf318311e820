// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-screenshots OUTDIR: the real main window (Qt) in a working folder (the current
// directory, e.g. a copy of sample/) at four moments — after start-up, after loading
// signals.csv, and twice during a run (a day's candidates; the next day's sell list) — the
// options dialog, the statistics dialog, the trade record of the finished run, the about box,
// and the results window 運用成績 after the whole run on each of its pages (the trade list sorted
// by 差引益, the monthly returns, the Monte Carlo of 10,000 paths), and the optimisation window 最適化 with a heatmap, without and
// with a hold-out, each saved as a PNG of the window into
// OUTDIR, which is made when it does not exist. File dialogs are answered by the tool
// (signals.csv, no trade log) and message boxes are not shown. A picture that cannot be saved is
// told on standard error and makes the exit status 1.

#include "app/SimulatorDialog.h"
#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "toolkit/DialogTemplate.h"
#include "toolkit/ListBox.h"
#include "toolkit/qt/QtPlatform.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QPixmap>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <utility>

namespace {

class AnsweringQtPlatform : public kv::QtPlatform {
public:
    std::optional<std::filesystem::path> openFile(const kv::FileDialogOptions&) override
    {
        return std::filesystem::absolute("signals.csv");
    }
    std::optional<std::filesystem::path> saveFile(const kv::FileDialogOptions&) override
    {
        return std::nullopt;
    }
    void messageBox(const std::string&) override {}
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication qtApp(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    if (argc != 2) {
        std::fprintf(
            stderr, "usage: kirvane-screenshots OUTDIR   (run in a folder with index.txt and signals.csv)\n");
        return 2;
    }
    std::filesystem::path out = std::filesystem::absolute(argv[1]);
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    if (ec || !std::filesystem::is_directory(out)) {
        std::fprintf(stderr, "kirvane-screenshots: %s cannot be made a folder: %s\n", out.c_str(),
                     (ec ? ec : std::make_error_code(std::errc::not_a_directory)).message().c_str());
        return 1;
    }
    bool allSaved = true;
    AnsweringQtPlatform platform;
    auto app = std::make_unique<kv::SimulatorApp>();
    kv::SimulatorDialog dialog(*app, platform, std::filesystem::current_path());
    using kv::Notification;

    auto save = [&](const char* name) {
        QWidget* window = platform.topWindow();
        QApplication::processEvents();
        if (!window->grab().save(QString::fromStdString((out / name).string()))) {
            std::fprintf(stderr, "kirvane-screenshots: %s cannot be written\n", (out / name).c_str());
            allSaved = false;
            return;
        }
        std::printf("%s\n", (out / name).c_str());
        std::fflush(stdout);
    };
    auto after = [](int ms, std::function<void()> action) { QTimer::singleShot(ms, std::move(action)); };
    // Chooses a row of a drop-down list of the topmost dialog as the user does.
    auto pick = [&](int id, int row) {
        auto* combo = platform.topWindow()->findChild<QComboBox*>(QStringLiteral("ctl%1").arg(id));
        if (!combo)
            return;
        combo->setCurrentIndex(row);
        emit combo->activated(row);
    };
    // Types into an edit and presses a button of the topmost dialog as the user does.
    auto type = [&](int id, const char* text) {
        if (auto* edit = platform.topWindow()->findChild<QLineEdit*>(QStringLiteral("ctl%1").arg(id)))
            edit->setText(QString::fromUtf8(text));
    };
    auto press = [&](int id) {
        if (auto* button = platform.topWindow()->findChild<QPushButton*>(QStringLiteral("ctl%1").arg(id)))
            button->click();
    };

    after(300, [&] {
        save("main-window.png");
        // A dialog runs its own modal loop; it is saved and closed from inside it.
        after(300, [&] {
            save("options.png");
            platform.topWindow()->close();
        });
        dialog.onCommand(kv::IDC_OPTIONS, Notification::Clicked);
        dialog.onCommand(kv::IDC_LOAD, Notification::Clicked);
        dialog.signalList.setSelection(4);
        dialog.onCommand(kv::IDC_SIGNAL_LIST, Notification::SelectionChanged);
        after(300, [&] {
            save("loaded.png");
            app->settings.saveLog = false;
            dialog.onCommand(kv::IDC_RUN, Notification::Clicked);
            // Into the fourth day: positions held, due ones on the sell list, a day's candidates.
            while (!dialog.engine.finished() &&
                   (dialog.engine.figures().simCnt < 14 || dialog.engine.state() != kv::SimState::BeforeBuy))
                dialog.onCommand(kv::IDC_NEXT, Notification::Clicked);
            dialog.shownList(kv::PortfolioList::Holdings).setSelection(0);
            dialog.onCommand(kv::IDC_HOLDINGS_LIST, Notification::SelectionChanged);
            after(300, [&] {
                save("running.png");
                // The next day's opening: positions due today wait on the sell list.
                while (!dialog.engine.finished() &&
                       (dialog.engine.state() != kv::SimState::BeforeSale ||
                        dialog.engine.list(kv::PortfolioList::SellList).count() == 0))
                    dialog.onCommand(kv::IDC_NEXT, Notification::Clicked);
                dialog.shownList(kv::PortfolioList::SellList).setSelection(0);
                dialog.onCommand(kv::IDC_SELL_LIST, Notification::SelectionChanged);
                after(300, [&] {
                    save("selling.png");
                    // The statistics dialog and the about box run their own modal loops; each is
                    // set up, saved and closed from inside its loop.
                    after(300, [&] {
                        // The third stock by number of signals, and January 2004 totalled by month.
                        for (auto [id, row] : {std::pair{kv::IDC_RANK_SIGNAL_COUNT, 3},
                                               {kv::IDC_YEAR_LIST, 1},
                                               {kv::IDC_MONTH_LIST, 1},
                                               {kv::IDC_METHOD_LIST, 2}})
                            pick(id, row);
                        after(300, [&] {
                            save("statistics.png");
                            platform.topWindow()->close();
                        });
                    });
                    dialog.onCommand(kv::IDC_STATISTICS, Notification::Clicked);
                    while (!dialog.engine.finished())
                        dialog.onCommand(kv::IDC_NEXT, Notification::Clicked);
                    after(300, [&] {
                        save("trade-record.png");
                        platform.topWindow()->close();
                    });
                    dialog.onCommand(kv::IDC_HISTORY, Notification::Clicked);
                    after(300, [&] {
                        save("about.png");
                        platform.topWindow()->close();
                    });
                    dialog.onCommand(kv::IDM_ABOUTBOX, Notification::MenuCommand);
                    // The run to its end, then the results window, saved and closed from inside
                    // its modal loop like the about box.
                    while (!dialog.engine.finished())
                        dialog.onCommand(kv::IDC_NEXT, Notification::Clicked);
                    after(500, [&] {
                        save("results.png");
                        auto* tabs = platform.topWindow()->findChild<QTabBar*>(
                            QStringLiteral("ctl%1").arg(kv::IDC_RESULTS_PAGES));
                        if (!tabs) {
                            platform.topWindow()->close();
                            return;
                        }
                        tabs->setCurrentIndex(1);
                        if (auto* trades = platform.topWindow()->findChild<QTableView*>(
                                QStringLiteral("ctl%1").arg(kv::IDC_RESULTS_TRADES)))
                            emit trades->horizontalHeader()->sectionClicked(9);  // 差引益
                        after(300, [&, tabs] {
                            save("results-trades.png");
                            tabs->setCurrentIndex(2);
                            after(300, [&, tabs] {
                                save("results-monthly.png");
                                // モンテカルロ: 10,000 paths of the run's trades.
                                tabs->setCurrentIndex(3);
                                QWidget* window = platform.topWindow();
                                if (auto* paths = window->findChild<QLineEdit*>(
                                        QStringLiteral("ctl%1").arg(kv::IDC_RESULTS_MC_PATHS)))
                                    paths->setText(QStringLiteral("10000"));
                                if (auto* run = window->findChild<QPushButton*>(
                                        QStringLiteral("ctl%1").arg(kv::IDC_RESULTS_MC_RUN)))
                                    run->click();
                                after(500, [&] {
                                    save("results-montecarlo.png");
                                    platform.topWindow()->close();
                                });
                            });
                        });
                    });
                    dialog.onCommand(kv::IDC_RESULTS, Notification::Clicked);
                    // After RESET, 最適化: operatingRate 0.1…1 against maxStocks 1…5 ranked by the
                    // final assets, then the same grid with the last half year held out, then
                    // operatingRate alone with the hold-out, then both as a walk-forward. Each
                    // sweep is started with 開始 and saved once it has had time to end.
                    dialog.onCommand(kv::IDC_RESET, Notification::Clicked);
                    after(300, [&] {
                        for (auto [id, text] : {std::pair{kv::IDC_OPTIM_FROM1, "0.1"},
                                                {kv::IDC_OPTIM_TO1, "1"},
                                                {kv::IDC_OPTIM_STEP1, "0.1"},
                                                {kv::IDC_OPTIM_FROM2, "1"},
                                                {kv::IDC_OPTIM_TO2, "5"},
                                                {kv::IDC_OPTIM_STEP2, "1"},
                                                {kv::IDC_OPTIM_LIST2, ""}})
                            type(id, text);
                        press(kv::IDC_OPTIM_START);
                        after(2000, [&] {
                            save("optimisation.png");
                            type(kv::IDC_OPTIM_HOLDOUT, "2005/01/04");
                            press(kv::IDC_OPTIM_START);
                            after(2000, [&] {
                                save("optimisation-holdout.png");
                                // One setting: the figure against its values, with the hold-out.
                                pick(kv::IDC_OPTIM_SETTING2, 0);
                                press(kv::IDC_OPTIM_START);
                                after(2000, [&] {
                                    save("optimisation-one-setting.png");
                                    // Both settings again as a walk-forward: six months to choose
                                    // in, three to trade.
                                    pick(kv::IDC_OPTIM_SETTING2, 7);
                                    type(kv::IDC_OPTIM_HOLDOUT, "");
                                    type(kv::IDC_OPTIM_WALK_FORWARD, "6:3");
                                    press(kv::IDC_OPTIM_START);
                                    after(1000, [&] {
                                        save("optimisation-walk-forward.png");
                                        platform.topWindow()->close();
                                    });
                                });
                            });
                        });
                    });
                    dialog.onCommand(kv::IDC_OPTIMISE, Notification::Clicked);
                    dialog.endDialog(kv::IDOK);
                    QCoreApplication::exit(0);  // leaves the window's modal loop
                });
            });
        });
    });
    platform.runModal(dialog);
    return allSaved ? 0 : 1;
}
