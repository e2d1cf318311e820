// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ResultsDialog.h"

#include "app/OutputFileDialog.h"

#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "resources/Templates.h"
#include "sim/CapitalUseText.h"
#include "sim/EquityCsv.h"
#include "sim/PortfolioLists.h"
#include "sim/ResultFigureTable.h"
#include "stats/TallyFigures.h"
#include "text/ColourScale.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "toolkit/DialogView.h"
#include "toolkit/Platform.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace kv {

namespace {

const std::string noValue = "----";

CellTone cellTone(FigureTone tone)
{
    return tone == FigureTone::Gain ? CellTone::Gain : tone == FigureTone::Loss ? CellTone::Loss : CellTone::Plain;
}

CellTone toneOf(std::optional<double> value)
{
    return cellTone(signTone(value));
}

// A figure that is not a finite number (a CAGR over a few days can overflow) shows no value.
std::optional<double> finite(const std::optional<double>& value)
{
    return value && std::isfinite(*value) ? value : std::nullopt;
}

std::string percent(const std::optional<double>& value)
{
    return finite(value) ? signedPercentText(*value) : noValue;
}

std::string count(int64_t n)
{
    return groupedText(static_cast<double>(n), 0);
}

// Every figure of the results, labelled, formatted and coloured as the figure table says.
std::vector<std::vector<TableCell>> figureRows(const RunResults& results, const ResultFigures& f)
{
    const FigureInputs inputs{f, results.capital()};
    std::vector<std::vector<TableCell>> rows;
    for (const FigureDescription& figure : resultFigureTable()) {
        if (!(figure.places & InResults))
            continue;
        const std::optional<double> value = figure.value(inputs);
        rows.push_back({{toCp932(figure.label)}, {figureText(figure, value), cellTone(figureTone(figure, value))}});
    }
    return rows;
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
            {yenText(p.assets)},
            {yenText(p.profit), toneOf(p.profit)},
            {percent(p.returnPercent), toneOf(p.returnPercent)},
            {count(p.trades)},
            {count(p.wins)},
        });
    }
    return rows;
}

// The largest size of the returns of `periods`, the strongest colour of their cells; 0 without one.
double largestReturn(const std::vector<PeriodResult>& periods)
{
    double largest = 0;
    for (const PeriodResult& p : periods)
        if (p.returnPercent && std::isfinite(*p.returnPercent))
            largest = std::max(largest, std::abs(*p.returnPercent));
    return largest;
}

// A month's or year's cell: its return, coloured on the scale of its kind, and a tip with its
// profit, trades and wins.
HeatmapCell periodCell(const PeriodResult& p, double scale)
{
    HeatmapCell cell;
    cell.empty = false;
    cell.text = percent(p.returnPercent);
    cell.colour = divergingColour(p.returnPercent.value_or(0), scale);
    std::string period =
        p.month ? format(toCp932("%d年%d月"), {p.year, p.month}) : format(toCp932("%d年"), {p.year});
    cell.tip = period + "\r\n" + toCp932("収益率 ") + cell.text + "\r\n" + toCp932("損益 ") +
        yenText(p.profit) + "\r\n" + toCp932("取引 ") + count(p.trades) + toCp932("　勝ち ") + count(p.wins);
    return cell;
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
                             std::vector<std::filesystem::path> inputs, const SignalRows* names)
    : Dialog(platform), results(results), inputs(std::move(inputs)), tradeRows(results, names)
{
    tradesTable.setSortable(true);
}

const DialogTemplate& ResultsDialog::dialogTemplate() const
{
    return resultsDialogTemplate();
}

void ResultsDialog::exchange(DataExchange& dx)
{
    dx.chart(IDC_RESULTS_CHART, chart);
    dx.table(IDC_RESULTS_FIGURES, figuresTable);
    dx.text(IDC_RESULTS_CAPITAL_USE, capitalUse);
    dx.table(IDC_RESULTS_MONTHS, monthsTable);
    dx.table(IDC_RESULTS_YEARS, yearsTable);
    dx.table(IDC_RESULTS_TRADES, tradesTable);
    dx.text(IDC_RESULTS_TRADE_COUNT, tradeCount);
    dx.text(IDC_RESULTS_TRADE_SUMS, tradeSums);
    dx.heatmap(IDC_RESULTS_MONTH_MAP, monthMap);
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
    case IDC_RESULTS_TRADE_FILTER:
        if (notification == Notification::TextChanged) {
            showTrades();
            updateData(false);
        }
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
    // A fall, shown below a zero line at the top of its pane, as every drawdown is shown.
    drawdown.values.reserve(f.drawdownPercent.size());
    for (double percent : f.drawdownPercent)
        drawdown.values.push_back(percent == 0 ? 0 : -percent);
    drawdown.filled = true;
    drawdown.decimals = 1;
    drawdown.heightShare = 2;
    chart.set(toCp932("総資産とドローダウン（日ごと）"), toCp932("日付"), std::move(dates),
              {std::move(assets), std::move(drawdown)});

    figuresTable.set({{toCp932("項目"), 100}, {toCp932("値"), 80, true}}, figureRows(results, f));
    capitalUse.clear();
    for (const std::string& sentence : capitalUseSentences(f))
        capitalUse += (capitalUse.empty() ? "" : "\r\n") + sentence;
    monthsTable.set(periodColumns(true), periodRows(f.months, true));
    yearsTable.set(periodColumns(false), periodRows(f.years, false));
    showMonthMap(f);
    showTrades();
}

// Years down, months across and the year at the right. Months are coloured on the scale of the
// largest monthly return, years on that of the largest yearly one, so that one strong year does
// not pale every month; a month without a point stays empty.
void ResultsDialog::showMonthMap(const ResultFigures& f)
{
    std::vector<int32_t> years;
    for (const PeriodResult& p : f.years)
        years.push_back(p.year);
    for (const PeriodResult& p : f.months)
        if (std::find(years.begin(), years.end(), p.year) == years.end())
            years.push_back(p.year);
    std::sort(years.begin(), years.end());
    constexpr int yearColumn = 12;
    std::vector<std::string> columns;
    for (int month = 1; month <= 12; ++month)
        columns.push_back(format(toCp932("%d月"), {month}));
    columns.push_back(toCp932("年間"));
    std::vector<std::string> rows;
    for (int32_t year : years)
        rows.push_back(format("%d", {year}));
    std::vector<HeatmapCell> cells(years.size() * columns.size());
    auto at = [&](int32_t year, int column) -> HeatmapCell& {
        const size_t row = static_cast<size_t>(std::find(years.begin(), years.end(), year) - years.begin());
        return cells[row * columns.size() + static_cast<size_t>(column)];
    };
    const double monthScale = largestReturn(f.months);
    for (const PeriodResult& p : f.months)
        if (p.month >= 1 && p.month <= 12)
            at(p.year, p.month - 1) = periodCell(p, monthScale);
    const double yearScale = largestReturn(f.years);
    for (const PeriodResult& p : f.years)
        at(p.year, yearColumn) = periodCell(p, yearScale);
    monthMap.set(toCp932("月別の収益率"), std::move(rows), std::move(columns), std::move(cells));
}

// The trades whose code or name holds the filter's text, in the order the table is sorted by,
// with their number and sums.
void ResultsDialog::showTrades()
{
    tradeRows.take(view() ? view()->text(IDC_RESULTS_TRADE_FILTER) : std::string());
    tradesTable.set(TradeListRows::columns(), tradeRows);
    tradeCount = format(toCp932("%s 件を表示（全 %s 件）"),
                        {groupedText(tradeRows.count(), 0), groupedText(tradeRows.total(), 0)});
    tradeSums = tradeRows.sumsText();
}

void ResultsDialog::saveImage()
{
    static const std::string pngFilter = toCp932("PNG ファイル (*.png)|*.png|すべてのファイル (*.*)|*.*||");
    static const std::string notSaved = toCp932("画像を保存できません。");
    std::optional<std::filesystem::path> file = askForOutputFile(platform(), "png", pngFilter, inputs);
    if (!file)
        return;
    if (!view() || !view()->saveImage(IDC_RESULTS_CHART, *file))
        platform().messageBox(notSaved);
}

void ResultsDialog::saveCsv()
{
    static const std::string cannotOpen = toCp932("ファイルをオープンできません");
    std::optional<std::filesystem::path> file =
        askForOutputFile(platform(), "csv", messages::csvFilter, inputs);
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
    std::optional<std::filesystem::path> file = askForOutputFile(platform(), "html", htmlFilter, inputs);
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
