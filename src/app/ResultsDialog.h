// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The results window 運用成績: the asset curve with its drawdown below it, the figures of the run
// (return, drawdown, trades), and the monthly and yearly results, all from the run's collected
// results. It shows them when it opens and again on 更新, so it can follow a run that AUTO steps
// behind it. On its page 取引一覧 it shows the run's trades, sortable and filtered by code or name,
// with their sums; on its page 月別 the monthly returns by year. 画像保存 writes the chart as
// PNG, CSV保存 the day points, レポート保存 the run's report as one HTML page. On its page
// モンテカルロ, 実行 replays the run's trades in other orders (sim/MonteCarlo.h) with the number of
// paths, seed and order given, and shows the percentile bands of the assets by trade number, the
// histogram of the paths' drawdowns and the figures; レポート保存 then adds them to the report.

#include "app/TradeListRows.h"
#include "report/HtmlReport.h"
#include "sim/MonteCarlo.h"
#include "sim/RunResults.h"
#include "toolkit/Chart.h"
#include "toolkit/Dialog.h"
#include "toolkit/Heatmap.h"
#include "toolkit/ListBox.h"
#include "toolkit/Table.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kv {

class ResultsDialog : public Dialog {
public:
    // `results` must outlive the dialog; the main window passes its run's.
    // The saves never write one of `inputs` (the files the window reads). `names` are the run's
    // signal rows, which name the stocks of the trades (nullptr: no names).
    ResultsDialog(Platform& platform, const RunResults& results,
                  std::vector<std::filesystem::path> inputs = {}, const SignalRows* names = nullptr);

    const DialogTemplate& dialogTemplate() const override;
    void exchange(DataExchange& dx) override;
    void onInitDialog() override;
    void onCommand(int id, Notification notification) override;

    // What レポート保存 reports on besides the results: the run, its files and statistics.
    // Without it the button only says that no report can be saved.
    void setReportSource(const ReportSource& source) { reportSource.emplace(source); }

    // What the window shows, filled from the results.
    Chart chart;
    Table figuresTable;
    Table monthsTable;
    Table yearsTable;
    Table tradesTable;
    Heatmap monthMap;
    std::string capitalUse;  // what the run did with its capital, in sentences
    std::string tradeCount;
    std::string tradeSums;
    // モンテカルロ: its settings as typed and chosen, and what the last run of it shows.
    std::string monteCarloPaths = "1000";
    std::string monteCarloSeed = "1";
    int monteCarloOrder = 0;  // 0 permute, 1 bootstrap
    ComboBox monteCarloOrders;
    Chart monteCarloFan;
    Chart monteCarloHistogram;
    Table monteCarloTable;

private:
    void showResults();
    void showMonthMap(const ResultFigures& f);
    void showTrades();
    void saveImage();
    void saveCsv();
    void saveReport();
    void startMonteCarlo();
    void showMonteCarlo(const MonteCarloResult& mc);

    const RunResults& results;
    std::vector<std::filesystem::path> inputs;
    TradeListRows tradeRows;
    std::optional<ReportSource> reportSource;
    std::optional<MonteCarloResult> monteCarlo;  // the last run of the page's 実行
};

}  // namespace kv
