// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ResultsDialog.h"

#include "app/OutputFileDialog.h"

#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "resources/Templates.h"
#include "sim/EquityCsv.h"
#include "sim/PortfolioLists.h"
#include "stats/TallyFigures.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "toolkit/DialogView.h"
#include "toolkit/Platform.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace kv {

namespace {

const std::string noValue = "----";

CellTone toneOf(double value)
{
    return value > 0 ? CellTone::Gain : value < 0 ? CellTone::Loss : CellTone::Plain;
}

CellTone toneOf(const std::optional<double>& value)
{
    return value && std::isfinite(*value) ? toneOf(*value) : CellTone::Plain;
}

// A figure that is not a finite number (a CAGR over a few days can overflow) shows no value.
std::optional<double> finite(const std::optional<double>& value)
{
    return value && std::isfinite(*value) ? value : std::nullopt;
}

std::string money(const std::optional<double>& amount)
{
    return finite(amount) ? moneyText(*amount) : noValue;
}

std::string percent(const std::optional<double>& value)
{
    return percentText(finite(value));
}

std::string date(const std::optional<int32_t>& yyyymmdd)
{
    return yyyymmdd ? paddedDateText(*yyyymmdd) : noValue;
}

std::string ratio(const std::optional<double>& value)
{
    return finite(value) ? fixed(*value, 2) : noValue;
}

std::vector<TableCell> figureRow(const char* utf8Label, std::string value, CellTone tone = CellTone::Plain)
{
    return {{toCp932(utf8Label)}, {std::move(value), tone}};
}

std::vector<std::vector<TableCell>> figureRows(const RunResults& results, const ResultFigures& f)
{
    return {
        figureRow("資本金", moneyText(results.capital())),
        figureRow("最終資産", money(f.finalAssets)),
        figureRow("総収益率", percent(f.totalReturnPercent), toneOf(f.totalReturnPercent)),
        figureRow("年率収益率 (CAGR)", percent(f.cagrPercent), toneOf(f.cagrPercent)),
        figureRow("最大ドローダウン", money(f.maxDrawdown)),
        figureRow("最大ドローダウン率", percent(f.maxDrawdownPercent)),
        figureRow("最大DDの起点日", date(f.maxDrawdownPeakDate)),
        figureRow("最大DDの日付", date(f.maxDrawdownDate)),
        figureRow("取引数", std::to_string(f.trades)),
        figureRow("勝ち", std::to_string(f.wins)),
        figureRow("負け", std::to_string(f.losses)),
        figureRow("勝率", percent(f.winRatePercent)),
        figureRow("総利益", moneyText(f.grossProfit), toneOf(f.grossProfit)),
        figureRow("総損失", moneyText(f.grossLoss), toneOf(-f.grossLoss)),
        figureRow("プロフィットファクター", ratio(f.profitFactor)),
        figureRow("平均利益", money(f.averageWin)),
        figureRow("平均損失", money(f.averageLoss)),
        figureRow("期待値 (1取引)", money(f.expectancy), toneOf(f.expectancy)),
        figureRow("最大利益", money(f.largestWin)),
        figureRow("最大損失", money(f.largestLoss)),
        figureRow("最大連敗数", std::to_string(f.maxConsecutiveLosses)),
        figureRow("手数料合計", moneyText(f.totalCommission)),
        figureRow("税金合計", moneyText(f.totalTax)),
        figureRow("シャープレシオ", ratio(f.sharpeRatio)),
        figureRow("ソルティノレシオ", ratio(f.sortinoRatio)),
        figureRow("カルマーレシオ", ratio(f.calmarRatio)),
        figureRow("リカバリーファクター", ratio(f.recoveryFactor)),
        figureRow("最長ドローダウン (営業日)", std::to_string(f.longestDrawdownDays)),
        figureRow("最長DDの開始日", date(f.longestDrawdownStart)),
        figureRow("最長DDの終了日", date(f.longestDrawdownEnd)),
        figureRow("エクスポージャー", percent(f.exposurePercent)),
        figureRow("平均保有日数", ratio(f.averageHoldingDays)),
        figureRow("ペイオフレシオ", ratio(f.payoffRatio)),
    };
}

// A row of the monthly or yearly table: the period, its closing assets, profit, return, trades
// and wins; profit and return in the colour of their sign.
std::vector<std::vector<TableCell>> periodRows(const std::vector<PeriodResult>& periods, bool monthly)
{
    std::vector<std::vector<TableCell>> rows;
    rows.reserve(periods.size());
    for (const PeriodResult& p : periods) {
        std::string period = monthly ? format("%04d/%02d", {p.year, p.month}) : format("%04d", {p.year});
        rows.push_back({
            {std::move(period)},
            {moneyText(p.assets)},
            {moneyText(p.profit), toneOf(p.profit)},
            {percent(p.returnPercent), toneOf(p.returnPercent)},
            {std::to_string(p.trades)},
            {std::to_string(p.wins)},
        });
    }
    return rows;
}

std::vector<TableColumn> periodColumns(bool monthly)
{
    return {
        {toCp932(monthly ? "年月" : "年"), monthly ? 34 : 24},
        {toCp932(monthly ? "月末資産" : "年末資産"), 52, true},
        {toCp932("損益"), 48, true},
        {toCp932("収益率"), 38, true},
        {toCp932("取引"), 24, true},
        {toCp932("勝ち"), 24, true},
    };
}

}  // namespace

ResultsDialog::ResultsDialog(Platform& platform, const RunResults& results,
                             std::vector<std::filesystem::path> inputs)
    : Dialog(platform), results(results), inputs(std::move(inputs))
{}

const DialogTemplate& ResultsDialog::dialogTemplate() const
{
    return resultsDialogTemplate();
}

void ResultsDialog::exchange(DataExchange& dx)
{
    dx.chart(IDC_RESULTS_CHART, chart);
    dx.table(IDC_RESULTS_FIGURES, figuresTable);
    dx.table(IDC_RESULTS_MONTHS, monthsTable);
    dx.table(IDC_RESULTS_YEARS, yearsTable);
}

void ResultsDialog::onInitDialog()
{
    showResults();
    updateData(false);
}

void ResultsDialog::onCommand(int id, Notification notification)
{
    switch (id) {
    case IDC_RESULTS_REFRESH:
        showResults();
        updateData(false);
        return;
    case IDC_RESULTS_SAVE_IMAGE:
        saveImage();
        return;
    case IDC_RESULTS_SAVE_CSV:
        saveCsv();
        return;
    case IDC_RESULTS_SAVE_REPORT:
        saveReport();
        return;
    default:
        Dialog::onCommand(id, notification);
        return;
    }
}

// Everything is computed afresh from the results as they stand now.
void ResultsDialog::showResults()
{
    const ResultFigures f = results.figures();
    const std::vector<DayPoint>& days = results.days();

    std::vector<std::string> dates;
    dates.reserve(days.size());
    ChartSeries assets;
    assets.name = toCp932("総資産");
    assets.axisText = toCp932("円");
    assets.values.reserve(days.size());
    for (const DayPoint& day : days) {
        dates.push_back(paddedDateText(day.date));
        assets.values.push_back(day.assets);
    }
    assets.heightShare = 3;
    ChartSeries drawdown;
    drawdown.name = toCp932("ドローダウン率");
    drawdown.axisText = toCp932("％");
    drawdown.values = f.drawdownPercent;
    drawdown.filled = true;
    drawdown.downward = true;
    drawdown.decimals = 1;
    drawdown.heightShare = 2;
    chart.set(toCp932("総資産とドローダウン（日ごと）"), toCp932("日付"), std::move(dates),
              {std::move(assets), std::move(drawdown)});

    figuresTable.set({{toCp932("項目"), 100}, {toCp932("値"), 80, true}}, figureRows(results, f));
    monthsTable.set(periodColumns(true), periodRows(f.months, true));
    yearsTable.set(periodColumns(false), periodRows(f.years, false));
}

void ResultsDialog::saveImage()
{
    static const std::string pngFilter = toCp932("PNG ファイル (*.png)|*.png|すべてのファイル (*.*)|*.*||");
    static const std::string notSaved = toCp932("画像を保存できません。");
    FileDialogOptions options;
    options.defaultExtension = "png";
    options.filter = pngFilter;
    options.overwritePrompt = true;
    std::optional<std::filesystem::path> file = askForOutputFile(platform(), options, inputs);
    if (!file)
        return;
    if (!view() || !view()->saveImage(IDC_RESULTS_CHART, *file))
        platform().messageBox(notSaved);
}

void ResultsDialog::saveCsv()
{
    static const std::string cannotOpen = toCp932("ファイルをオープンできません");
    FileDialogOptions options;
    options.defaultExtension = "csv";
    options.filter = messages::csvFilter;
    options.overwritePrompt = true;
    std::optional<std::filesystem::path> file = askForOutputFile(platform(), options, inputs);
    if (!file)
        return;
    bool written = false;
    {
        WaitCursor wait = platform().waitCursor();
        written = writeEquityCsv(results, *file);
    }
    if (!written)
        platform().messageBox(cannotOpen);
}

void ResultsDialog::saveReport()
{
    static const std::string htmlFilter =
        toCp932("HTML ファイル (*.html)|*.html|すべてのファイル (*.*)|*.*||");
    static const std::string notSaved = toCp932("レポートを保存できません。");
    if (!reportSource) {
        platform().messageBox(notSaved);
        return;
    }
    FileDialogOptions options;
    options.defaultExtension = "html";
    options.filter = htmlFilter;
    options.overwritePrompt = true;
    std::optional<std::filesystem::path> file = askForOutputFile(platform(), options, inputs);
    if (!file)
        return;
    bool written = false;
    {
        WaitCursor wait = platform().waitCursor();
        written = writeHtmlReport(*reportSource, *file);
    }
    if (!written)
        platform().messageBox(notSaved);
}

}  // namespace kv
