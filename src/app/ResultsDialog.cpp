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
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace kv {

namespace {

const std::string noValue = "----";

CellTone cellTone(FigureTone tone)
{
    return tone == FigureTone::Gain ? CellTone::Gain
        : tone == FigureTone::Loss  ? CellTone::Loss
                                    : CellTone::Plain;
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
        rows.push_back(
            {{toCp932(figure.label)}, {figureText(figure, value), cellTone(figureTone(figure, value))}});
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
    monteCarloOrders.append(toCp932("全取引の並べ替え (permute)"));
    monteCarloOrders.append(toCp932("復元抽出 (bootstrap)"));
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
    dx.text(IDC_RESULTS_MC_PATHS, monteCarloPaths);
    dx.text(IDC_RESULTS_MC_SEED, monteCarloSeed);
    dx.selection(IDC_RESULTS_MC_ORDER, monteCarloOrders, monteCarloOrder);
    dx.chart(IDC_RESULTS_MC_FAN, monteCarloFan);
    dx.chart(IDC_RESULTS_MC_HISTOGRAM, monteCarloHistogram);
    dx.table(IDC_RESULTS_MC_FIGURES, monteCarloTable);
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
    case IDC_RESULTS_MC_RUN:
        startMonteCarlo();
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
    assets.heightShare = 5;  // the drawdown pane tall enough for five labels
    ChartSeries drawdown;
    drawdown.name = toCp932("ドローダウン率");
    drawdown.axisText = toCp932("％");
    // A fall, shown below a zero line at the top of its pane, as every drawdown is shown.
    drawdown.values.reserve(f.drawdownPercent.size());
    for (double percent : f.drawdownPercent)
        drawdown.values.push_back(percent == 0 ? 0 : -percent);
    drawdown.filled = true;
    // A tenth of a percent helps a shallow fall; past -10 % whole percents keep the labels short.
    drawdown.decimals = f.maxDrawdownPercent && *f.maxDrawdownPercent >= 10 ? 0 : 1;
    drawdown.heightShare = 4;
    // Time runs evenly: each day at its date, however unevenly the days with signals fall.
    chart.set(toCp932("総資産とドローダウン（日ごと）"), toCp932("日付"), std::move(dates),
              {std::move(assets), std::move(drawdown)}, timePositions(days));

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
    ReportSource source = *reportSource;
    if (monteCarlo)
        source.monteCarlo = &*monteCarlo;
    bool written = false;
    {
        WaitCursor wait = platform().waitCursor();
        written = writeHtmlReport(source, *file);
    }
    if (!written)
        platform().messageBox(notSaved);
}

// Takes the page's settings; a number of paths or a seed that is not a whole number in its range
// is refused with a message and nothing runs.
void ResultsDialog::startMonteCarlo()
{
    if (!updateData(true))
        return;
    auto whole = [](const std::string& text, auto& value) {
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        return ec == std::errc() && end == text.data() + text.size() && !text.empty();
    };
    MonteCarloSettings settings;
    if (!whole(monteCarloPaths, settings.paths) || settings.paths < 1 ||
        settings.paths > kMaxMonteCarloPaths) {
        platform().messageBox(toCp932("経路数には 1 から " + std::to_string(kMaxMonteCarloPaths) +
                                      " までの整数を入力してください。"));
        return;
    }
    if (!whole(monteCarloSeed, settings.seed)) {
        platform().messageBox(
            toCp932("シードには 0 から 18446744073709551615 までの整数を入力してください。"));
        return;
    }
    settings.order = monteCarloOrder == 1 ? MonteCarloOrder::Bootstrap : MonteCarloOrder::Permute;
    settings.bandPoints = 201;
    {
        WaitCursor wait = platform().waitCursor();
        monteCarlo = kv::runMonteCarlo(results.tradeList(), results.capital(), settings);
    }
    showMonteCarlo(*monteCarlo);
    updateData(false);
}

// The median of the assets by trade number with the 25th–75th and 5th–95th percentiles about
// it, the paths' drawdowns counted in 2 % steps, and the figures.
void ResultsDialog::showMonteCarlo(const MonteCarloResult& mc)
{
    std::vector<std::string> tradeNumbers;
    for (int64_t t : mc.bandTrades)
        tradeNumbers.push_back(std::to_string(t));
    // The median first, in its own pane; the other percentiles as lines beside it in the same pane.
    std::vector<ChartSeries> fan;
    for (size_t k : {size_t{2}, size_t{1}, size_t{3}, size_t{0}, size_t{4}}) {
        ChartSeries band;
        band.name = toCp932(std::to_string(kMonteCarloPercentiles[k]) + (k == 2 ? "%点（中央値）" : "%点"));
        band.axisText = toCp932("円");
        band.sharesPane = k != 2;
        for (const Percentiles& p : mc.assetBands)
            band.values.push_back(p[k]);
        fan.push_back(std::move(band));
    }
    monteCarloFan.set(toCp932("総資産の分布（中央値と 25〜75%点、5〜95%点）"), toCp932("取引数"),
                      std::move(tradeNumbers), std::move(fan));

    constexpr int kStep = 2;
    constexpr int kBins = 100 / kStep;
    std::vector<std::string> bins;
    ChartSeries shares;
    shares.name = toCp932("経路の割合");
    shares.axisText = toCp932("％");
    shares.filled = true;
    shares.decimals = 1;
    shares.values.assign(kBins, 0);
    for (int b = 0; b < kBins; ++b)
        bins.push_back(std::to_string(b * kStep) + "%");
    for (double dd : mc.pathDrawdownPercent)
        shares.values[static_cast<size_t>(std::clamp(static_cast<int>(dd / kStep), 0, kBins - 1))] +=
            100.0 / static_cast<double>(mc.pathDrawdownPercent.size());
    monteCarloHistogram.set(toCp932("最大ドローダウン率の分布"), toCp932("最大ドローダウン率"),
                            std::move(bins), {std::move(shares)});

    auto value = [&](double v, bool yen) {
        return mc.computed ? (yen ? yenText(v) : fixed(v, 2) + "%") : noValue;
    };
    // A drawdown reads as a fall, as everywhere it is shown.
    auto fall = [&](double v) { return mc.computed ? signedPercentText(-v) : noValue; };
    std::vector<std::vector<TableCell>> rows;
    rows.push_back({{toCp932("経路数")}, {count(mc.settings.paths)}});
    rows.push_back({{toCp932("取引数")}, {count(mc.trades)}});
    for (size_t k = 0; k < kMonteCarloPercentiles.size(); ++k)
        rows.push_back({{toCp932("最終資産 " + std::to_string(kMonteCarloPercentiles[k]) + "%点")},
                        {value(mc.finalAssets[k], true)}});
    for (size_t k = 0; k < kMonteCarloPercentiles.size(); ++k)
        rows.push_back({{toCp932("最大DD率 " + std::to_string(kMonteCarloPercentiles[k]) + "%点")},
                        {fall(mc.maxDrawdownPercent[k])}});
    rows.push_back({{toCp932("元本割れの経路")}, {value(mc.lossProbabilityPercent, false)}});
    for (size_t l = 0; l < kMonteCarloDrawdownLevels.size(); ++l)
        rows.push_back({{toCp932("DD " + std::to_string(kMonteCarloDrawdownLevels[l]) + "%以上の経路")},
                        {value(mc.drawdownAtLeastPercent[l], false)}});
    rows.push_back({{toCp932("破産した経路")}, {value(mc.ruinProbabilityPercent, false)}});
    rows.push_back({{toCp932("実際の最大DD率")}, {fall(mc.actualMaxDrawdownPercent)}});
    rows.push_back({{toCp932("実際よりDDが小さい経路")}, {value(mc.pathsWithSmallerDrawdownPercent, false)}});
    monteCarloTable.set({{toCp932("項目"), 90}, {toCp932("値"), 64, true}}, std::move(rows));
}

}  // namespace kv
