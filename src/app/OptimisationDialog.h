// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The optimisation window 最適化: the back-test of the loaded signals under every combination of
// one or two settings, each over a range or a list of values, ranked by a figure; optionally with
// a hold-out, where each combination is judged on the rows before a date and also shown on the
// rows from that date on. It runs kirvane-sweep's grid and runner on every core in background
// threads and polls their progress on a timer, so the windows stay responsive; 中止 lets each
// worker end with the combination it is running. The results are kirvane-sweep's table (ranked
// as its --sort ranks it, CSV保存 writes it as kirvane-sweep writes it) and, for two settings, a
// heatmap of the ranking figure, for one setting a chart of it. A double-click on a row or a cell offers to store that
// combination's values as the options, as the options dialog's OK does.

#include "sweep/BackgroundSweep.h"
#include "sweep/SweepFigures.h"
#include "sweep/WalkForward.h"
#include "sweep/SweepGrid.h"
#include "sweep/SweepRunner.h"
#include "toolkit/Chart.h"
#include "toolkit/Dialog.h"
#include "toolkit/Heatmap.h"
#include "toolkit/ListBox.h"
#include "toolkit/Table.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv {

class SignalRows;
class SimulatorApp;

class OptimisationDialog : public Dialog {
public:
    // `rows` are the loaded signals and first..last the rows a run of the main window would take;
    // all must outlive the dialog. The saves never write one of `inputs`.
    OptimisationDialog(SimulatorApp& app, Platform& platform, const SignalRows& rows, int firstRow,
                       int lastRow, std::vector<std::filesystem::path> inputs = {});
    ~OptimisationDialog() override;

    const DialogTemplate& dialogTemplate() const override;
    void exchange(DataExchange& dx) override;
    void onInitDialog() override;
    void onCommand(int id, Notification notification) override;
    void onTimer(int event) override;
    void onOK() override;
    void onCancel() override;

    // The choices, as the controls show them: per axis the setting (the second may be none),
    // FROM, TO and STEP, or a list of values.
    std::array<ComboBox, 2> settingBoxes;
    std::array<int, 2> settingChoices{0, 0};
    std::array<std::string, 2> fromTexts, toTexts, stepTexts, listTexts;
    ComboBox figureBox;
    int figureChoice = 0;
    std::string holdoutText;
    // "I:S": a walk-forward instead of one sweep, choosing on I months and trading the next S
    // (empty: a sweep of the whole window).
    std::string walkForwardText;
    // What the window shows.
    std::string countText;         // the number of combinations, or why the choice cannot run
    std::string progressText;      // "12 / 64 組合せ  3.2 組合せ/秒  残り 0:17"
    int64_t combinationsDone = 0;  // the progress bar
    int64_t combinationsTotal = 0;
    Table resultsTable;
    // For two settings: the ranking figure over the grid (the first setting down, the second
    // across), the best cell outlined; with a hold-out the in-sample part on the left and the
    // out-of-sample part on the right.
    Heatmap heatmap;
    Heatmap outOfSampleHeatmap;
    // For one setting: the ranking figure against the setting's values, a line (with a hold-out
    // two: in-sample and out-of-sample), shown in the maps' place.
    Chart figureChart;

    // The sweep running or last run; nothing before the first 開始.
    const BackgroundSweep* sweep() const { return running.get(); }
    bool sweepRunning() const { return running && !shown; }

private:
    // The grid, the windows of rows and the ranking figure the choices describe, or why they
    // cannot run.
    struct Plan {
        std::optional<SweepGrid> grid;
        std::vector<SweepWindow> windows;
        const SweepFigureField* figure = nullptr;
        std::string refusal;  // code page 932
    };
    Plan plan() const;
    void showCount();
    void start();
    void startWalkForward(Plan p, int inSampleMonths, int outOfSampleMonths);
    void showWalkForward(const std::vector<WalkForwardResult>& results, const WalkForwardSummary& summary);
    void poll();
    void showProgress();
    void finish();
    void showResults();
    std::vector<TableColumn> resultColumns() const;
    std::vector<std::vector<TableCell>> resultRows(const std::vector<SweepFigures>& ready) const;
    void showHeatmap(Heatmap& map, size_t part, const std::vector<SweepFigures>& ready);
    void showChart(const std::vector<SweepFigures>& ready);
    void arrangePanes(size_t axes, bool split);
    std::vector<double> partValues(size_t part, const std::vector<SweepFigures>& ready) const;
    void enableChoices(bool enabled);
    void offerCombination(size_t entry);
    void saveCsv();

    SimulatorApp& app;
    const SignalRows& rows;
    int firstRow;
    int lastRow;
    std::vector<std::filesystem::path> inputs;
    std::vector<std::string> settingNames;  // the choosable settings, in the boxes' order

    // The sweep: its grid and runner stay as they were started until the next 開始.
    SweepGrid grid;
    bool holdout = false;
    const SweepFigureField* figure = nullptr;
    std::unique_ptr<SweepRunner> runner;
    std::unique_ptr<BackgroundSweep> running;
    bool shown = false;              // the finished sweep's results are shown
    std::vector<size_t> tableOrder;  // table row → entry of the sweep's combinations
};

}  // namespace kv
