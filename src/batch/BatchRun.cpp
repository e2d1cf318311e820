// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchRun.h"

#include "batch/BatchSession.h"
#include "batch/EmptySettingsWarning.h"
#include "batch/OutputFiles.h"
#include "batch/StatisticsReport.h"
#include "batch/ToolMain.h"
#include "data/StockMasterFile.h"
#include "report/HtmlReport.h"
#include "report/MonteCarloJson.h"
#include "report/ResultsJson.h"
#include "report/StatisticsJson.h"
#include "settings/SettingByName.h"
#include "settings/SettingsFile.h"
#include "sim/EquityCsv.h"
#include "sim/MonteCarlo.h"
#include "sim/OutcomeTexts.h"
#include "sim/ResultFigureTable.h"
#include "sim/RunFigures.h"
#include "sim/RunResults.h"
#include "sim/TradeListCsv.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/LineReader.h"
#include "text/Numbers.h"
#include "text/OutputFile.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

namespace kv {

namespace {

// Whole yen; a figure that is not a finite number (an overflow to infinity) is "----".
std::string money(double value)
{
    return std::isfinite(value) ? format("%.0f", {value}) : "----";
}

// Without a value, or not a finite number: "----".
std::string money(std::optional<double> value)
{
    return value ? money(*value) : "----";
}

std::string percent(std::optional<double> value)
{
    return value && std::isfinite(*value) ? format("%.2f%%", {*value}) : "----";
}

std::string dateOrNone(std::optional<double> yyyymmdd)
{
    return yyyymmdd ? paddedDateText(static_cast<int32_t>(*yyyymmdd)) : "----";
}

// A ratio with two decimals.
std::string twoDecimals(std::optional<double> value)
{
    return value && std::isfinite(*value) ? format("%.2f", {*value}) : "----";
}

// The main figures of the run's results, after the run's own lines and before the statistics:
// the figures of the figure table, named by their labels without a note in brackets
// (年率収益率 for 年率収益率 (CAGR)), in the summary's own rounding.
void printResults(std::ostream& out, const RunResults& results)
{
    const ResultFigures f = results.figures();
    const FigureInputs inputs{f, results.capital()};
    auto figure = [&](const char* key) { return figureByKey(key)->value(inputs); };
    auto count = [&](const char* key) { return static_cast<int64_t>(figure(key).value_or(0)); };
    auto name = [](const char* key) {
        const std::string_view label = figureByKey(key)->label;
        return std::string(label.substr(0, label.find(" ("))) + ": ";
    };
    out << name("finalAssets") << money(figure("finalAssets")) << " 円  " << name("totalReturnPercent")
        << percent(figure("totalReturnPercent")) << "  " << name("cagrPercent")
        << percent(figure("cagrPercent")) << "\n"
        << name("maxDrawdown") << money(figure("maxDrawdown")) << " 円 ("
        << dateOrNone(figure("maxDrawdownDate")) << "、起点 " << dateOrNone(figure("maxDrawdownPeakDate"))
        << ")  " << name("maxDrawdownPercent") << percent(figure("maxDrawdownPercent")) << "\n"
        << "取引: " << count("trades") << " 回  " << name("wins") << count("wins") << "  " << name("losses")
        << count("losses") << "  " << name("winRatePercent") << percent(figure("winRatePercent"))
        << "  最大連敗: " << count("maxConsecutiveLosses") << "\n"
        << name("grossProfit") << money(figure("grossProfit")) << " 円  " << name("grossLoss")
        << money(figure("grossLoss")) << " 円  " << name("profitFactor")
        << twoDecimals(figure("profitFactor")) << "  " << name("expectancy") << money(figure("expectancy"))
        << " 円\n"
        << name("totalCommission") << money(figure("totalCommission")) << " 円  " << name("totalTax")
        << money(figure("totalTax")) << " 円\n";
    const char* const risk[] = {"sharpeRatio", "sortinoRatio", "calmarRatio", "recoveryFactor"};
    for (const char* key : risk)
        out << (key == risk[0] ? "" : "  ") << name(key) << twoDecimals(figure(key));
    out << "\n"
        << name("longestDrawdownDays") << count("longestDrawdownDays") << " 営業日 ("
        << dateOrNone(figure("longestDrawdownStart")) << "〜" << dateOrNone(figure("longestDrawdownEnd"))
        << ")  " << name("exposurePercent") << percent(figure("exposurePercent")) << "  "
        << name("averageHoldingDays") << twoDecimals(figure("averageHoldingDays")) << " 日  "
        << name("payoffRatio") << twoDecimals(figure("payoffRatio")) << "\n"
        << "期末決済: " << count("endOfRunTrades") << " 回  判定不可から購入: " << count("undecidedTrades")
        << " 回 (取得額 " << money(figure("undecidedCost")) << " 円、買付余力の平均 "
        << percent(figure("undecidedExposurePercent")) << ")  追証の可能性: " << count("marginCallDays")
        << " 日 (" << dateOrNone(figure("firstMarginCallDate")) << ")\n";
}

// The Monte Carlo of the trade order, after the run's figures.
void printMonteCarlo(std::ostream& out, const MonteCarloResult& mc)
{
    out << "モンテカルロ: " << mc.settings.paths << " 経路 (" << monteCarloOrderName(mc.settings.order)
        << "、シード " << mc.settings.seed << "、取引 " << mc.trades << " 回)\n";
    auto five = [&](const Percentiles& p, auto text) {
        std::string line;
        for (size_t k = 0; k < p.size(); ++k)
            line += (k ? " / " : "") + text(mc.computed ? std::optional<double>(p[k]) : std::nullopt);
        return line;
    };
    auto share = [&](double value) {
        return percent(mc.computed ? std::optional<double>(value) : std::nullopt);
    };
    out << "  最終資産 (5/25/50/75/95%点): " << five(mc.finalAssets, [](auto v) { return money(v); })
        << " 円\n"
        << "  最大ドローダウン率 (5/25/50/75/95%点): "
        << five(mc.maxDrawdownPercent, [](auto v) { return percent(v); }) << "\n"
        << "  元本割れ: " << share(mc.lossProbabilityPercent);
    for (size_t l = 0; l < kMonteCarloDrawdownLevels.size(); ++l)
        out << "  ドローダウン " << kMonteCarloDrawdownLevels[l]
            << "%以上: " << share(mc.drawdownAtLeastPercent[l]);
    out << "  破産: " << share(mc.ruinProbabilityPercent) << "\n"
        << "  実際の最大ドローダウン率 (取引ごと): " << share(mc.actualMaxDrawdownPercent)
        << "  これより小さい経路: " << share(mc.pathsWithSmallerDrawdownPercent) << "\n";
}

void printSummary(std::ostream& out, const BatchSession& session, int rows, const MonteCarloResult* mc)
{
    const Backtest& engine = session.engine;
    const RunFigures& figures = engine.figures();
    out << "シグナル: " << rows << " 行\n"
        << "期間: " << engine.startRow() << " 行目 (" << toUtf8(engine.startDateText()) << ") から "
        << engine.endRow() << " 行目 (" << toUtf8(engine.endDateText()) << ") まで\n"
        << "購入: " << figures.purchases << " 回  売却: " << figures.sales
        << " 回  ステップ: " << figures.steps << "\n"
        << "総資産: " << money(figures.totalAssets) << " 円\n"
        << "運用資産: " << money(figures.operatingAssets) << " 円\n"
        << "現在利益: " << money(figures.cumulativeProfit) << " 円\n";
    printResults(out, engine.results());
    if (mc)
        printMonteCarlo(out, *mc);
    printSimpleTotals(out, *session.app);
}

void printJson(std::ostream& out, const BatchSession& session, int rows, const MonteCarloResult* mc)
{
    const Backtest& engine = session.engine;
    const RunFigures& figures = engine.figures();
    nlohmann::ordered_json result;
    result["rows"] = rows;
    result["startRow"] = engine.startRow();
    result["endRow"] = engine.endRow();
    result["run"] = {
        {"totalAssets", jsonNumber(figures.totalAssets)},
        {"operatingAssets", jsonNumber(figures.operatingAssets)},
        {"cumulativeProfit", jsonNumber(figures.cumulativeProfit)},
        {"holdingsValue", jsonNumber(figures.holdingsValue)},
        {"purchases", figures.purchases},
        {"sales", figures.sales},
        {"steps", figures.steps},
    };
    // Only a file with such rows has the key: the output of every other file is as it was.
    if (session.loadWarnings.any()) {
        nlohmann::ordered_json warnings;
        for (size_t i = 0; i < kLoadWarningKinds; ++i) {
            const auto kind = static_cast<LoadWarning>(i);
            warnings[loadWarningKey(kind)] = {{"count", session.loadWarnings[kind].count},
                                              {"lines", session.loadWarnings[kind].firstLines}};
        }
        result["loadWarnings"] = std::move(warnings);
    }
    result["statistics"] = statisticsJson(*session.app);
    result["results"] = resultsJson(engine.results());
    if (mc)
        result["monteCarlo"] = monteCarloJson(*mc);
    out << result.dump() << '\n';
}

}  // namespace

int runBatch(const BatchOptions& options, const std::filesystem::path& folder, std::ostream& out,
             std::ostream& err, bool showProgress)
{
    if (!stockMasterReadable(folder, err, "kirvane-batch"))
        return 2;
    if (std::string problem = checkBatchOutputs(options, folder); !problem.empty()) {
        err << "error: " << problem << "\n";
        return 2;
    }
    if (std::string problem =
            checkStandardOutput(batchOutputs(options), runInputs(options.signalFile, folder));
        !problem.empty()) {
        err << "error: " << problem << "\n";
        return 2;
    }
    // Held until the run ends: a second run onto one of these files is refused at its start.
    std::vector<std::unique_ptr<OutputLock>> locks;
    if (std::string problem = lockOutputs(batchOutputs(options), locks); !problem.empty()) {
        err << "error: " << problem << "\n";
        return 2;
    }
    BatchSession session(folder, err);
    warnOfEmptySettings(*session.app, err);
    // The run's settings are the application's: the statistics read the unknown profit rate too.
    SimulationSettings& settings = session.app->settings;
    for (const auto& [name, value] : options.settings)
        setSettingByName(settings, name, value);
    settings.saveLog = options.logFile.has_value();

    switch (session.prepare(options.signalFile, options.startRow, options.endRow)) {
    case RunPreparation::CannotOpen:
        err << "error: " << options.signalFile.string() << " cannot be read\n";
        return 1;
    case RunPreparation::TooManyDates:
        return 1;  // a file it could not read whole
    case RunPreparation::NoRows:
        if (options.json)
            out << "{\"rows\": 0}\n";
        return 1;
    case RunPreparation::Refused:
        return 2;
    case RunPreparation::Ready:
        break;
    }
    const int rows = session.signalRows();

    Backtest& engine = session.engine;
    engine.setSettings(settings);
    // No one can view a trade record here: only the log file gets the lines. The list of trades
    // is kept only for --trades, --report and --monte-carlo.
    StepOutcome started = engine.start(options.logFile, false,
                                       options.tradesFile.has_value() || options.reportFile.has_value() ||
                                           options.monteCarlo.has_value());
    bool logFailed = false;
    if (started.logOpenFailed) {
        err << toUtf8(messages::logCannotOpen) << '\n';
        logFailed = true;
    }
    auto tell = [&](const StepOutcome& outcome) {
        if (outcome.logWriteFailed) {
            err << toUtf8(messages::logWriteFailed) << '\n';
            logFailed = true;
        }
        if (outcome.finished)
            err << toUtf8(messages::simulationEnded) << '\n';
    };
    tell(started);
    const int window = engine.endRow() - engine.startRow() + 1;
    const std::atomic<bool>& stop = interruptionRequested();
    while (!engine.finished() && engine.inProgress() && !stop) {
        tell(engine.step());
        const RunFigures& figures = engine.figures();
        if (showProgress && figures.steps % 512 == 0)
            err << "\r" << (figures.simCnt - engine.startRow()) << " / " << window << " 行" << std::flush;
    }
    if (showProgress)
        err << "\r\x1b[K" << std::flush;
    if (stop) {
        // The log holds the lines of every whole step (it is closed with the session); no
        // result of a part of the run is printed or written.
        err << "中断: " << (engine.figures().simCnt - engine.startRow()) << " / " << window << " 行\n";
        return 128 + interruption();
    }

    std::optional<MonteCarloResult> monteCarlo;
    if (options.monteCarlo)
        monteCarlo =
            runMonteCarlo(engine.results().tradeList(), engine.results().capital(), *options.monteCarlo);
    const MonteCarloResult* mc = monteCarlo ? &*monteCarlo : nullptr;
    if (options.json)
        printJson(out, session, rows, mc);
    else
        printSummary(out, session, rows, mc);
    bool outputFailed = false;
    if (options.equityFile && !writeEquityCsv(engine.results(), *options.equityFile)) {
        err << "error: " << options.equityFile->string() << " cannot be written\n";
        outputFailed = true;
    }
    if (options.tradesFile &&
        !writeTradeListCsv(engine.results(), engine.signalRows(), *options.tradesFile)) {
        err << "error: " << options.tradesFile->string() << " cannot be written\n";
        outputFailed = true;
    }
    bool reportFailed = false;
    if (options.reportFile &&
        !writeHtmlReport({*session.app, engine, options.signalFile, folder / kStockMasterFileName, mc},
                         *options.reportFile)) {
        err << "error: " << options.reportFile->string() << " cannot be written\n";
        reportFailed = true;
    }
    if (outputFailed)
        return 2;
    // A log that failed to open at the run's start, or failed to be written during it; a report
    // that could not be written after the result was printed.
    return logFailed || reportFailed ? 3 : 0;
}

}  // namespace kv
