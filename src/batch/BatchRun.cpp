#include "batch/BatchRun.h"

#include "batch/BatchSession.h"
#include "batch/EmptySettingsWarning.h"
#include "batch/OutputFiles.h"
#include "batch/StatisticsReport.h"
#include "data/StockMasterFile.h"
#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "settings/SettingByName.h"
#include "sim/EquityCsv.h"
#include "sim/RunFigures.h"
#include "settings/SettingsFile.h"
#include "sim/RunResults.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/LineReader.h"
#include "text/Numbers.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <optional>

namespace kv {

namespace {

std::string money(double value)
{
    return format("%.0f", {value});
}

// A figure without a value, and any figure that is not a finite number, is null.
nlohmann::ordered_json jsonNumber(std::optional<double> value)
{
    if (!value || !std::isfinite(*value))
        return nullptr;
    return *value;
}

nlohmann::ordered_json jsonDate(std::optional<int32_t> yyyymmdd)
{
    if (!yyyymmdd)
        return nullptr;
    return paddedDateText(*yyyymmdd);
}

nlohmann::ordered_json periodsJson(const std::vector<PeriodResult>& periods, bool monthly)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const PeriodResult& p : periods) {
        nlohmann::ordered_json row;
        row["year"] = p.year;
        if (monthly)
            row["month"] = p.month;
        row["assets"] = jsonNumber(p.assets);
        row["profit"] = jsonNumber(p.profit);
        row["returnPercent"] = jsonNumber(p.returnPercent);
        row["trades"] = p.trades;
        row["wins"] = p.wins;
        list.push_back(std::move(row));
    }
    return list;
}

nlohmann::ordered_json resultsJson(const RunResults& results)
{
    const ResultFigures f = results.figures();
    nlohmann::ordered_json days = nlohmann::ordered_json::array();
    for (size_t i = 0; i < results.days().size(); ++i) {
        const DayPoint& day = results.days()[i];
        days.push_back({
            {"date", paddedDateText(day.date)},
            {"assets", jsonNumber(day.assets)},
            {"drawdown", jsonNumber(f.drawdown[i])},
            {"drawdownPercent", jsonNumber(f.drawdownPercent[i])},
        });
    }
    nlohmann::ordered_json r;
    r["days"] = std::move(days);
    r["finalAssets"] = jsonNumber(f.finalAssets);
    r["totalReturnPercent"] = jsonNumber(f.totalReturnPercent);
    r["cagrPercent"] = jsonNumber(f.cagrPercent);
    r["maxDrawdown"] = jsonNumber(f.maxDrawdown);
    r["maxDrawdownPercent"] = jsonNumber(f.maxDrawdownPercent);
    r["maxDrawdownPeakDate"] = jsonDate(f.maxDrawdownPeakDate);
    r["maxDrawdownDate"] = jsonDate(f.maxDrawdownDate);
    r["trades"] = f.trades;
    r["wins"] = f.wins;
    r["losses"] = f.losses;
    r["winRatePercent"] = jsonNumber(f.winRatePercent);
    r["grossProfit"] = jsonNumber(f.grossProfit);
    r["grossLoss"] = jsonNumber(f.grossLoss);
    r["profitFactor"] = jsonNumber(f.profitFactor);
    r["averageWin"] = jsonNumber(f.averageWin);
    r["averageLoss"] = jsonNumber(f.averageLoss);
    r["expectancy"] = jsonNumber(f.expectancy);
    r["largestWin"] = jsonNumber(f.largestWin);
    r["largestLoss"] = jsonNumber(f.largestLoss);
    r["maxConsecutiveLosses"] = f.maxConsecutiveLosses;
    r["totalCommission"] = jsonNumber(f.totalCommission);
    r["totalTax"] = jsonNumber(f.totalTax);
    r["months"] = periodsJson(f.months, true);
    r["years"] = periodsJson(f.years, false);
    return r;
}

// Without a value, or not a finite number: "----".
std::string money(std::optional<double> value)
{
    return value && std::isfinite(*value) ? money(*value) : "----";
}

std::string percent(std::optional<double> value)
{
    return value && std::isfinite(*value) ? format("%.2f%%", {*value}) : "----";
}

std::string dateOrNone(std::optional<int32_t> yyyymmdd)
{
    return yyyymmdd ? paddedDateText(*yyyymmdd) : "----";
}

// The main figures of the run's results, after the run's own lines and before the statistics.
void printResults(std::ostream& out, const RunResults& results)
{
    const ResultFigures f = results.figures();
    out << "最終資産: " << money(f.finalAssets) << " 円  総収益率: " << percent(f.totalReturnPercent)
        << "  年率収益率: " << percent(f.cagrPercent) << "\n"
        << "最大ドローダウン: " << money(f.maxDrawdown) << " 円 (" << dateOrNone(f.maxDrawdownDate)
        << "、起点 " << dateOrNone(f.maxDrawdownPeakDate)
        << ")  最大ドローダウン率: " << percent(f.maxDrawdownPercent) << "\n"
        << "取引: " << f.trades << " 回  勝ち: " << f.wins << "  負け: " << f.losses
        << "  勝率: " << percent(f.winRatePercent) << "  最大連敗: " << f.maxConsecutiveLosses << "\n"
        << "総利益: " << money(f.grossProfit) << " 円  総損失: " << money(f.grossLoss)
        << " 円  プロフィットファクター: "
        << (f.profitFactor && std::isfinite(*f.profitFactor) ? format("%.2f", {*f.profitFactor}) : "----")
        << "  期待値: " << money(f.expectancy) << " 円\n"
        << "手数料合計: " << money(f.totalCommission) << " 円  税金合計: " << money(f.totalTax) << " 円\n";
}

void printSummary(std::ostream& out, const SimulatorDialog& dialog, int rows)
{
    const RunFigures& figures = dialog.sim.figures();
    out << "シグナル: " << rows << " 行\n"
        << "期間: " << dialog.startRow << " 行目 (" << toUtf8(dialog.startDateText) << ") から "
        << dialog.endRow << " 行目 (" << toUtf8(dialog.endDateText) << ") まで\n"
        << "購入: " << figures.purchases << " 回  売却: " << figures.sales
        << " 回  ステップ: " << figures.steps << "\n"
        << "総資産: " << money(figures.totalAssets) << " 円\n"
        << "運用資産: " << money(figures.operatingAssets) << " 円\n"
        << "現在利益: " << money(figures.cumulativeProfit) << " 円\n";
    printResults(out, dialog.sim.results());
    printSimpleTotals(out, dialog.app);
}

void printJson(std::ostream& out, const SimulatorDialog& dialog, int rows)
{
    const RunFigures& figures = dialog.sim.figures();
    nlohmann::ordered_json result;
    result["rows"] = rows;
    result["startRow"] = dialog.startRow;
    result["endRow"] = dialog.endRow;
    result["run"] = {
        {"totalAssets", jsonNumber(figures.totalAssets)},
        {"operatingAssets", jsonNumber(figures.operatingAssets)},
        {"cumulativeProfit", jsonNumber(figures.cumulativeProfit)},
        {"holdingsValue", jsonNumber(figures.holdingsValue)},
        {"purchases", figures.purchases},
        {"sales", figures.sales},
        {"steps", figures.steps},
    };
    result["statistics"] = statisticsJson(dialog.app);
    result["results"] = resultsJson(dialog.sim.results());
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
    try {
        BatchSession session(folder, err);
        SimulatorDialog& dialog = session.dialog;
        BatchPlatform& platform = session.platform;
        warnOfEmptySettings(*session.app, err);
        for (const auto& [name, value] : options.settings)
            setSettingByName(session.app->settings, name, value);
        session.app->settings.saveLog = options.logFile.has_value();

        if (!session.loadSignals(options.signalFile)) {
            err << "error: " << options.signalFile.string() << " cannot be read\n";
            return 1;
        }
        int rows = session.signalRows();
        if (rows == 0) {
            err << toUtf8(messages::noSignalsOrMaster) << '\n';
            if (options.json)
                out << "{\"rows\": 0}\n";
            return 1;
        }
        if (!session.chooseWindow(options.startRow, options.endRow))
            return 2;

        if (options.logFile)
            platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, *options.logFile);
        if (session.press(IDC_RUN) && !dialog.sim.inProgress())
            return 2;
        int window = dialog.endRow - dialog.startRow + 1;
        while (!dialog.sim.finished() && dialog.sim.inProgress()) {
            platform.execute("click " + std::to_string(IDC_NEXT));
            const RunFigures& figures = dialog.sim.figures();
            if (showProgress && figures.steps % 512 == 0)
                err << "\r" << (figures.simCnt - dialog.startRow) << " / " << window << " 行" << std::flush;
        }
        if (showProgress)
            err << "\r\x1b[K" << std::flush;

        if (options.json)
            printJson(out, dialog, rows);
        else
            printSummary(out, dialog, rows);
        if (options.equityFile && !writeEquityCsv(dialog.sim.results(), *options.equityFile)) {
            err << "error: " << options.equityFile->string() << " cannot be written\n";
            return 2;
        }
        // A log that failed to open at the run's start, or failed to be written during it.
        bool logFailed = options.logFile && (platform.logWriteFailed || !session.app->settings.saveLog);
        return logFailed ? 3 : 0;
    } catch (const HeadlessExit& exit) {
        // The window ends the program with status 0 when a signal file has more dates than it
        // can hold; for the back-test that is a file it could not read.
        return exit.status == 0 ? 1 : exit.status;
    }
}

}  // namespace kv
