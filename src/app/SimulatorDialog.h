// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window. How data flows through it:
//   signal file --(読み込み)--> typed signal rows and the tallies; the signal list shows the
//   rows' list lines
//   signal rows --(the engine, Backtest)--> candidate, holdings and sell lists, the run's figures,
//   results and trade log; the window's three position lists follow the engine's lists.
// Every handler checks whether it applies (a refusal is a message box that changes nothing),
// works on the data, shows what the data layer reports (its outcomes become message boxes and
// the status line), and ends with one refresh: the figure fields are formatted from the run's
// figures and every control is updated.

#include "app/PositionListView.h"
#include "data/SignalRows.h"
#include "sim/Backtest.h"
#include "toolkit/Dialog.h"
#include "toolkit/ListBox.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class SimulatorApp;
class WaitCursor;

class SimulatorDialog : public Dialog {
public:
    // `folder` is the start-up working directory, where index.txt and kvn.conf are looked for.
    // A `signalFile` is loaded once the window has started, as 読み込み would load it.
    SimulatorDialog(SimulatorApp& app, Platform& platform, std::filesystem::path folder,
                    std::optional<std::filesystem::path> signalFile = std::nullopt);

    const DialogTemplate& dialogTemplate() const override;
    void exchange(DataExchange& dx) override;
    void onInitDialog() override;
    void onCommand(int id, Notification notification) override;
    void onOK() override;
    void onCancel() override;
    void onTimer(int event) override;
    // A signal file (*.csv) dropped on the window loads as 読み込み would load it.
    bool acceptsDroppedFile(const std::filesystem::path& file) const override;
    void onFileDropped(const std::filesystem::path& file) override;

    SimulatorApp& app;

    // Detail pane of the selected row: the nine tokens of a list line.
    std::string codeText, nameText, buyDateText, buyPriceText, resultText, sellDateText, sellPriceText,
        performanceText, unitText;
    std::string startDateText;  // 開始日
    std::string endDateText;    // 終了日
    std::string statusText;     // the status line

    // The run's figure fields, formatted from sim.figures() at every refresh.
    std::string stateText;  // 状態
    std::string currentDateText;
    std::string holdingsFigureText;
    std::string sellFigureText;
    std::string operatingAssetsText;  // 運用資産
    std::string totalAssetsText;      // 総資産

    SignalRows loadedSignals;  // the loaded signal file
    ListBox signalList;        // its rows as the list shows them
    bool masterLoaded = false;
    bool signalsLoaded = false;
    // Characters of a UTF-8 stock master or signal file (the last one loaded) that code page 932
    // lacks and that were read as "？".
    size_t masterReplaced = 0;
    size_t signalsReplaced = 0;

    // The run: its window of rows, state, figures and portfolio lists.
    Backtest engine;
    // From 実行 until the final liquidation, and while AUTO steps (also after the end, when AUTO
    // repeats the final step): ending the program would lose a run the user is watching.
    bool runActive() const;
    // The portfolio lists as the window shows them.
    PositionListView candidateView, holdingsView, sellView;
    const ListBox& shownList(PortfolioList which) const;
    ListBox& shownList(PortfolioList which) { return viewOf(which).box; }

private:
    void refresh();
    void quit(int result);
    void showRunFigures();
    bool loadMaster(std::optional<WaitCursor>& wait);
    void loadSettingsFile();
    void openOptions();
    void openTradeRecord();
    void openStatistics();
    void openResults();
    void enableResults();
    void openOptimisation();
    void enableOptimisation();
    void loadSignals();
    void readSignalFile(const std::filesystem::path& file);
    void setStartRow();
    void setEndRow();
    void showSelectedSignal();
    void showSelectedPosition(PortfolioList which);
    void showDetails(std::string_view row);
    std::optional<std::filesystem::path> askForLogFile();
    void present(const StepOutcome& outcome);
    // The window's settings are app.settings: what the dialogs change and kvn.conf is written
    // from. The engine keeps the run's own copy, which the run changes (its largest commission,
    // which keepScheduleMaximum brings back) and the report shows. The window hands its settings
    // to the engine only through handSettingsToEngine: once kvn.conf is read, when the options or
    // optimisation window closes, and before a run starts.
    void handSettingsToEngine();
    void keepScheduleMaximum();
    PositionListView& viewOf(PortfolioList which);
    const PositionListView& viewOf(PortfolioList which) const;
    void run();
    void next();
    void startAuto();
    void stop();
    void reset();
    bool refuseWhileRunning(const std::string& message);
    bool refuseWithoutData();
    bool refuseSteppingCommand(const std::string& whileAuto, bool refuseWhenAuto);

    // The loaded signals' list lines, as the signal list reads them.
    class SignalLines : public ListRows {
    public:
        explicit SignalLines(const SignalRows& rows) : rows(rows) {}
        int count() const override { return rows.count(); }
        std::string_view row(int index) const override { return rows.text(index); }

    private:
        const SignalRows& rows;
    };
    SignalLines signalLines{loadedSignals};

    // The files the window reads, which no save may write: the stock master, kvn.conf and the
    // loaded signal file.
    std::vector<std::filesystem::path> inputFiles() const;
    std::filesystem::path masterFile;
    std::optional<std::filesystem::path> signalFile;

    std::filesystem::path startFolder;
    std::optional<std::filesystem::path> signalFileAtStart;
    bool resultsEnabled = false;       // 運用成績 is created disabled
    bool optimisationEnabled = false;  // and so is 最適化
};

}  // namespace kv
