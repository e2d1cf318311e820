// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OptimisationDialog.h"

#include "app/OutputFileDialog.h"
#include "data/SignalRows.h"
#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "resources/Templates.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsTable.h"
#include "sim/Backtest.h"
#include "sim/OutcomeTexts.h"
#include "sweep/SweepTable.h"
#include "text/ColourScale.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "text/OutputFile.h"
#include "toolkit/DataExchange.h"
#include "toolkit/DialogView.h"
#include "toolkit/Platform.h"

#include <charconv>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <thread>

namespace kv {

namespace {

// A cell of the results table: every text is a number or empty, and sorts as that number.
TableCell numberCell(std::string text)
{
    TableCell cell{std::move(text)};
    double value = 0;
    const char* end = cell.text.data() + cell.text.size();
    auto [stop, error] = std::from_chars(cell.text.data(), end, value);
    if (error == std::errc() && stop == end && !cell.text.empty())
        cell.key = value;
    return cell;
}

// "資本金 (capital)": the setting's caption, and the name --vary and the table use.
std::string settingItem(const SettingDescription& setting)
{
    return toCp932(setting.label) + " (" + setting.name + ")";
}

// A figure as short as a heatmap cell needs it: yen in units of 10,000, rates with one decimal,
// ratios with two, counts whole; a drawdown as a fall, as everywhere it is shown.
std::string cellText(const SweepFigureField& field, double value)
{
    if (!std::isfinite(value))
        return "----";
    const FigureDescription& figure = *field.figure;
    const double v = figure.shownAsFall ? -value : value;
    switch (figure.kind) {
    case FigureKind::Yen:
        return groupedText(v / 10000, 0) + toCp932("万");
    case FigureKind::Ratio:
        return fixed(v, 2);
    case FigureKind::Count:
    case FigureKind::BusinessDays:
    case FigureKind::Date:
        return groupedText(v, 0);
    case FigureKind::Percent:
        break;
    }
    return fixed(v, 1);
}

// A setting's caption as the options dialog gives it, or its name when it has none.
std::string settingCaption(const std::string& name)
{
    const SettingDescription* setting = settingNamed(name);
    return setting ? toCp932(setting->label) : name;
}

// The heading of a figure's column: its label, and with a hold-out which part it is of.
std::string figureHeading(const SweepFigureField& field, bool holdout, size_t part)
{
    std::string heading = toCp932(field.figure->label);
    if (holdout)
        heading += toCp932(part == 0 ? "（評価）" : "（検証）");
    return heading;
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The values of an axis as --vary takes them: the list when there is one, else FROM:TO:STEP (FROM alone
// when neither TO nor STEP is given).
std::string axisValuesText(const std::string& from, const std::string& to, const std::string& step,
                           const std::string& list)
{
    if (!trimmed(list).empty())
        return trimmed(list);
    if (trimmed(to).empty() && trimmed(step).empty())
        return trimmed(from);
    return trimmed(from) + ":" + trimmed(to) + ":" + trimmed(step);
}

// Why the values of an axis cannot be read, in the window's words: which box ("縦軸の刻み") and
// what is wrong with what was typed there (「10.」は数値ではありません). `error` is parseAxis's
// reason for `valuesText`; the boxes' texts are those typed, in code page 932 like the error's
// quoted text.
std::string axisRefusal(const std::string& axis, const std::string& name, const std::string& valuesText,
                        const std::string& error, const std::string& from, const std::string& to,
                        const std::string& step, bool list)
{
    const std::string where = "--vary " + name + "=" + valuesText + ": ";
    std::string reason = error.compare(0, where.size(), where) == 0 ? error.substr(where.size()) : error;
    struct Box {
        const char* prefix;  // how parseAxis names the box
        const char* caption;
        const std::string* typed;
    };
    const Box boxes[] = {{"FROM ", "開始", &from}, {"TO ", "終了", &to}, {"STEP ", "刻み", &step}};
    std::string box = list ? "値の一覧" : "値";
    for (const Box& b : boxes) {
        if (reason.rfind(b.prefix, 0) == 0) {
            box = b.caption;
            reason.erase(0, std::string(b.prefix).size());
        }
    }
    // A quoted value is the text of the box, or one value of the list: shown in 「」.
    if (!reason.empty() && reason.front() == '\'') {
        const size_t close = reason.find("' ", 1);
        if (close != std::string::npos) {
            if (box == "値の一覧")
                box = "値";
            return toCp932(axis + "の" + box + "「") + reason.substr(1, close - 1) + toCp932("」") +
                toCp932(reason.substr(close + 2));
        }
    }
    if (const size_t to = reason.find(" TO "); to != std::string::npos)
        reason.replace(to, 4, "終了");
    if (reason.rfind("値が", 0) == 0 || reason.rfind("空の値", 0) == 0)
        return toCp932(axis + "の" + box + "に" + reason);
    if (reason.rfind("の", 0) == 0 || reason.rfind("が", 0) == 0)
        return toCp932(axis + "の" + box + reason);
    return toCp932(axis + "の" + box + "：" + reason);
}

// "運用率 0.4": a setting's caption and a value of it as the grid holds it; a coded setting
// shows its choice's text.
std::string settingValueText(const std::string& name, std::string_view value)
{
    const SettingDescription* setting = settingNamed(name);
    if (!setting)
        return name + " " + std::string(value);
    std::string shown(value);
    if (setting->choices[0]) {
        const double code = settingTextValue(*setting, value);
        if (code >= 0 && code < static_cast<double>(setting->choices.size()) &&
            setting->choices[static_cast<size_t>(code)])
            shown = toCp932(setting->choices[static_cast<size_t>(code)]);
    }
    return toCp932(setting->label) + " " + shown;
}

int workerCount()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

// "0:17": minutes and seconds.
std::string durationText(double seconds)
{
    const long whole = std::lround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

// The legend of a rank scale, best step first: each step's colour and the figures of its cells,
// from the best to the worst of them ("1,250万 〜 980万"), or the one figure they share.
std::vector<HeatmapLegendStep> legendSteps(const SweepFigureField& field, const std::vector<double>& values,
                                           const RankScale& scale)
{
    struct Span {
        double best = 0, worst = 0;
        bool any = false;
    };
    std::vector<Span> spans(scale.colours.size());
    for (size_t i = 0; i < values.size(); ++i) {
        if (scale.stepOf[i] < 0)
            continue;
        Span& span = spans[static_cast<size_t>(scale.stepOf[i])];
        const double v = values[i];
        const bool better = field.smallerIsBetter ? v < span.best : v > span.best;
        const bool worse = field.smallerIsBetter ? v > span.worst : v < span.worst;
        if (!span.any || better)
            span.best = v;
        if (!span.any || worse)
            span.worst = v;
        span.any = true;
    }
    std::vector<HeatmapLegendStep> legend;
    for (size_t s = spans.size(); s-- > 0;) {
        const std::string best = cellText(field, spans[s].best);
        const std::string worst = cellText(field, spans[s].worst);
        legend.push_back({scale.colours[s], best == worst ? best : best + toCp932(" 〜 ") + worst});
    }
    return legend;
}

}  // namespace

// The most combinations the window runs at once: a larger grid is for kirvane-sweep.
constexpr uint64_t kMaxWindowCombinations = 10'000;

OptimisationDialog::OptimisationDialog(SimulatorApp& app, Platform& platform, const SignalRows& rows,
                                       int firstRow, int lastRow, std::vector<std::filesystem::path> inputs)
    : Dialog(platform), app(app), rows(rows), firstRow(firstRow), lastRow(lastRow), inputs(std::move(inputs))
{
    static const std::string none = toCp932("（なし）");
    settingBoxes[1].append(none);
    // The settings a grid may vary, in the table's order.
    for (const SettingDescription& setting : settingsTable()) {
        if (!setting.optimisable)
            continue;
        settingNames.emplace_back(setting.name);
        const std::string item = settingItem(setting);
        settingBoxes[0].append(item);
        settingBoxes[1].append(item);
    }
    for (const SweepFigureField& field : sweepFigureFields())
        figureBox.append(toCp932(field.figure->label) + " (" + field.name + ")");
    // A first grid to start from: the operating rate against the number of stocks a day.
    auto indexOf = [&](const char* name) {
        for (size_t i = 0; i < settingNames.size(); ++i)
            if (settingNames[i] == name)
                return static_cast<int>(i);
        return 0;
    };
    settingChoices = {indexOf("operatingRate"), indexOf("maxStocks") + 1};
    fromTexts = {"0.5", ""};
    toTexts = {"1", ""};
    stepTexts = {"0.25", ""};
    listTexts = {"", "3,5,8"};
}

OptimisationDialog::~OptimisationDialog() = default;  // a sweep still running is cancelled

const DialogTemplate& OptimisationDialog::dialogTemplate() const
{
    return optimisationDialogTemplate();
}

void OptimisationDialog::exchange(DataExchange& dx)
{
    static const int settingIds[2] = {IDC_OPTIM_SETTING1, IDC_OPTIM_SETTING2};
    for (int a = 0; a < 2; ++a) {
        const int id = settingIds[a];
        dx.selection(id, settingBoxes[a], settingChoices[a]);
        dx.text(id + 1, fromTexts[a]);
        dx.text(id + 2, toTexts[a]);
        dx.text(id + 3, stepTexts[a]);
        dx.text(id + 4, listTexts[a]);
    }
    dx.selection(IDC_OPTIM_FIGURE, figureBox, figureChoice);
    dx.text(IDC_OPTIM_HOLDOUT, holdoutText);
    dx.text(IDC_OPTIM_WALK_FORWARD, walkForwardText);
    dx.text(IDC_OPTIM_COUNT, countText);
    dx.progress(IDC_OPTIM_PROGRESS, combinationsDone, combinationsTotal);
    dx.text(IDC_OPTIM_PROGRESS_TEXT, progressText);
    dx.table(IDC_OPTIM_TABLE, resultsTable);
    dx.heatmap(IDC_OPTIM_HEATMAP, heatmap);
    dx.heatmap(IDC_OPTIM_HEATMAP_OOS, outOfSampleHeatmap);
    dx.chart(IDC_OPTIM_CHART, figureChart);
}

void OptimisationDialog::onInitDialog()
{
    showCount();
    updateData(false);
    arrangePanes(2, false);
    // Typing changes no command: the count follows the choices on a timer, as the progress does.
    platform().setTimer(*this, kOptimisationTimerEvent, 50);
}

void OptimisationDialog::onCommand(int id, Notification notification)
{
    switch (id) {
    case IDC_OPTIM_SETTING1:
    case IDC_OPTIM_SETTING2:
    case IDC_OPTIM_FIGURE:
        if (notification != Notification::SelectionChanged || sweepRunning())
            return;
        updateData(true);
        showCount();
        updateData(false);
        return;
    case IDC_OPTIM_START:
        start();
        return;
    case IDC_OPTIM_CANCEL:
        if (sweepRunning())
            running->cancel();
        return;
    case IDC_OPTIM_TABLE:
        if (notification == Notification::DoubleClicked) {
            const int row = resultsTable.activatedRow();
            if (row >= 0 && static_cast<size_t>(row) < tableOrder.size())
                offerCombination(tableOrder[static_cast<size_t>(row)]);
        }
        return;
    case IDC_OPTIM_HEATMAP:
    case IDC_OPTIM_HEATMAP_OOS:
        if (notification == Notification::DoubleClicked) {
            const Heatmap& map = id == IDC_OPTIM_HEATMAP ? heatmap : outOfSampleHeatmap;
            const int row = map.activatedRow();
            const int column = map.activatedColumn();
            // The grid runs in its own order: a cell's combination is its entry.
            if (row >= 0 && column >= 0 && running)
                offerCombination(static_cast<size_t>(row) * static_cast<size_t>(map.columnCount()) +
                                 static_cast<size_t>(column));
        }
        return;
    case IDC_OPTIM_SAVE_CSV:
        saveCsv();
        return;
    default:
        Dialog::onCommand(id, notification);
        return;
    }
}

// The window closes at once: a sweep still running is cancelled, and its workers end with the
// combination each is running.
void OptimisationDialog::onOK()
{
    onCancel();
}

void OptimisationDialog::onCancel()
{
    if (running) {
        running->cancel();
        running->wait();
    }
    platform().killTimer(*this, kOptimisationTimerEvent);
    endDialog(IDCANCEL);
}

void OptimisationDialog::onTimer(int)
{
    if (sweepRunning()) {
        poll();
        return;
    }
    // Between runs the count follows what is typed. Only the count is shown again: a field the
    // user is typing in is never written back.
    const std::string before = countText;
    updateData(true);
    showCount();
    if (countText != before && view())
        view()->setText(IDC_OPTIM_COUNT, countText);
}

OptimisationDialog::Plan OptimisationDialog::plan() const
{
    static const char* const axisNames[2] = {"縦軸", "横軸"};
    Plan p;
    std::vector<SweepAxis> axes;
    for (int a = 0; a < 2; ++a) {
        const int choice = settingChoices[a] - a;  // the second box starts with （なし）
        if (choice < 0 || static_cast<size_t>(choice) >= settingNames.size())
            continue;
        const std::string& name = settingNames[static_cast<size_t>(choice)];
        const std::string valuesText = axisValuesText(fromTexts[a], toTexts[a], stepTexts[a], listTexts[a]);
        if (valuesText.empty()) {
            p.refusal = toCp932(std::string(axisNames[a]) + "の値を入れてください。");
            return p;
        }
        if (!axes.empty() && axes.front().name == name) {
            p.refusal = toCp932("縦軸と横軸に同じ設定は選べません。");
            return p;
        }
        // A range needs all three boxes, each a plain number.
        const bool list = !trimmed(listTexts[a]).empty();
        if (!list && valuesText != trimmed(fromTexts[a])) {
            const std::pair<const std::string*, const char*> boxes[] = {
                {&fromTexts[a], "開始"}, {&toTexts[a], "終了"}, {&stepTexts[a], "刻み"}};
            for (const auto& [typed, caption] : boxes) {
                if (trimmed(*typed).empty()) {
                    p.refusal = toCp932(std::string(axisNames[a]) + "の" + caption + "を入れてください。");
                    return p;
                }
            }
        }
        ParsedAxis parsed = parseAxis(name, valuesText);
        if (!parsed.axis) {
            p.refusal = axisRefusal(axisNames[a], name, valuesText, parsed.error, trimmed(fromTexts[a]),
                                    trimmed(toTexts[a]), trimmed(stepTexts[a]), list);
            return p;
        }
        axes.push_back(std::move(*parsed.axis));
    }
    if (axes.empty()) {
        p.refusal = toCp932("縦軸の設定を選んでください。");
        return p;
    }
    SweepGrid chosen(std::move(axes));
    if (chosen.size() > kMaxWindowCombinations) {
        p.refusal =
            toCp932("組合せが ") + groupedText(static_cast<double>(chosen.size()), 0) +
            toCp932(
                " あります。一度に実行できるのは 10,000 までです（それより大きな格子は kirvane-sweep で）。");
        return p;
    }
    p.windows = {{firstRow, lastRow}};
    if (const std::string date = trimmed(holdoutText); !date.empty()) {
        const std::optional<int32_t> from = parseHoldoutDate(date);
        if (!from) {
            p.refusal = toCp932("検証開始日は YYYY/MM/DD で入れてください。");
            return p;
        }
        const std::optional<int> split = holdoutRow(rows, firstRow, lastRow, *from);
        if (!split) {
            p.refusal = toCp932("検証開始日は、シグナルの期間 (" + windowDatesText(rows, firstRow, lastRow) +
                                ") の最初の日より後で、最後の日までの日付にしてください。");
            return p;
        }
        p.windows = {{firstRow, *split - 1}, {*split, lastRow}};
    }
    const size_t figureIndex = figureChoice >= 0 ? static_cast<size_t>(figureChoice) : 0;
    p.figure = &sweepFigureFields()[std::min(figureIndex, sweepFigureFields().size() - 1)];
    p.grid = std::move(chosen);
    return p;
}

void OptimisationDialog::showCount()
{
    const Plan p = plan();
    if (!p.grid) {
        countText = p.refusal;
        return;
    }
    countText = toCp932("組合せ数：") + groupedText(static_cast<double>(p.grid->size()), 0) +
        (p.windows.size() > 1 ? toCp932("（評価期間と検証期間で各 1 回）") : std::string()) +
        toCp932("　並列数：") + std::to_string(workerCount());
}

void OptimisationDialog::start()
{
    if (sweepRunning())
        return;
    updateData(true);
    Plan p = plan();
    if (!p.grid) {
        countText = p.refusal;
        updateData(false);
        platform().messageBox(p.refusal);
        return;
    }
    if (!trimmed(walkForwardText).empty()) {
        static const std::string badMonths =
            toCp932("ウォークフォワード「%s」は「最適化の月数:検証の月数」（例 24:6、各 1〜1200）で書いてください。");
        static const std::string withHoldout = toCp932("ウォークフォワードと検証開始日は一緒には使えません。");
        const std::string text = trimmed(walkForwardText);
        std::optional<int> months[2];
        const size_t colon = text.find(':');
        for (int k = 0; k < 2 && colon != std::string::npos; ++k) {
            const std::string part = k == 0 ? text.substr(0, colon) : text.substr(colon + 1);
            int value = 0;
            auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
            if (error == std::errc() && end == part.data() + part.size() && value >= 1 && value <= 1200)
                months[k] = value;
        }
        std::string refusal;
        if (!months[0] || !months[1])
            refusal = format(badMonths, {text});
        else if (p.windows.size() > 1)
            refusal = withHoldout;
        if (!refusal.empty()) {
            countText = refusal;
            updateData(false);
            platform().messageBox(refusal);
            return;
        }
        startWalkForward(std::move(p), *months[0], *months[1]);
        return;
    }
    showCount();
    // The previous sweep's runner and results go before the grid they read is replaced.
    running.reset();
    runner.reset();
    tableOrder.clear();
    resultsTable.set({}, std::vector<std::vector<TableCell>>{});
    heatmap.set({}, {}, {}, {});
    outOfSampleHeatmap.set({}, {}, {}, {});
    figureChart.set({}, {}, {}, {});
    grid = std::move(*p.grid);
    holdout = p.windows.size() > 1;
    figure = p.figure;
    arrangePanes(grid.axes().size(), holdout);
    runner = std::make_unique<SweepRunner>(app.master, rows, app.settings, std::move(p.windows), grid);
    std::vector<uint64_t> indices(grid.size());
    for (uint64_t i = 0; i < indices.size(); ++i)
        indices[i] = i;
    shown = false;
    running = std::make_unique<BackgroundSweep>(*runner, std::move(indices), workerCount());
    enableChoices(false);
    showProgress();
    updateData(false);
    // The scripted backend has no tick for this window: it waits for the workers at once.
    if (platform().tickBudget().count() == 0) {
        running->wait();
        finish();
    }
}

// A walk-forward: each window chooses the best combination on its in-sample months and trades it
// on the next months; every run complete from the capital. It runs at once on every core, under
// the wait cursor (a grid of the window's size takes seconds); the table lists the windows and the
// chart puts the out-of-sample runs, chained, beside the plain run over the same rows.
void OptimisationDialog::startWalkForward(Plan p, int inSampleMonths, int outOfSampleMonths)
{
    static const std::string noWindow =
        toCp932("ウォークフォワード %d:%d では、最適化期間と検証期間のどちらにも行のある窓ができません。");
    std::vector<int32_t> dates;
    for (int row = firstRow; row <= lastRow; ++row)
        dates.push_back(rows.fields(row).signalDate);
    const std::vector<WalkForwardWindow> windows =
        walkForwardWindows(dates, firstRow, inSampleMonths, outOfSampleMonths);
    if (windows.empty()) {
        countText = format(noWindow, {inSampleMonths, outOfSampleMonths});
        updateData(false);
        platform().messageBox(countText);
        return;
    }
    running.reset();
    runner.reset();
    tableOrder.clear();
    shown = false;
    grid = std::move(*p.grid);
    holdout = false;
    figure = p.figure;
    std::vector<WalkForwardResult> results;
    {
        WaitCursor wait = platform().waitCursor();
        results = runWalkForward(app.master, rows, app.settings, windows, grid, *figure, workerCount());
    }
    showWalkForward(results, summariseWalkForward(results, app.settings.capital));
    enableChoices(true);
    updateData(false);
}

void OptimisationDialog::showWalkForward(const std::vector<WalkForwardResult>& results,
                                         const WalkForwardSummary& summary)
{
    const SweepFigureField& returns = *sweepFigureByName("totalReturnPercent");
    const SweepFigureField& assets = *sweepFigureByName("finalAssets");
    const SweepFigureField& drawdown = *sweepFigureByName("maxDrawdownPercent");
    auto period = [](const RowDates& d) { return paddedDateText(d.first) + toCp932("〜") + paddedDateText(d.last); };

    std::vector<TableColumn> columns = {{toCp932("窓"), 20, true}, {toCp932("最適化期間"), 96}, {toCp932("検証期間"), 96}};
    for (const SweepAxis& axis : grid.axes())
        columns.push_back({settingCaption(axis.name), 48, true});
    for (const auto& [field, part] : {std::pair{figure, 0}, {&returns, 1}, {&assets, 1}, {&drawdown, 1}})
        columns.push_back({figureHeading(*field, true, static_cast<size_t>(part)), 64, true});
    std::vector<std::vector<TableCell>> cells;
    for (const WalkForwardResult& r : results) {
        std::vector<TableCell> row = {
            {std::to_string(r.window.index), CellTone::Plain, static_cast<double>(r.window.index)},
            {period(r.inSampleDates), CellTone::Plain, static_cast<double>(r.inSampleDates.first)},
            {period(r.outOfSampleDates), CellTone::Plain, static_cast<double>(r.outOfSampleDates.first)}};
        for (std::string_view value : grid.valuesOf(r.chosen))
            row.push_back(numberCell(std::string(value)));
        for (const auto& [field, part] : {std::pair{figure, 0}, {&returns, 1}, {&assets, 1}, {&drawdown, 1}}) {
            const std::optional<double> v = field->value(part == 0 ? r.inSample : r.outOfSample);
            TableCell cell{figureText(*field->figure, v)};
            if (v && !std::isnan(*v))
                cell.key = *v;
            row.push_back(std::move(cell));
        }
        cells.push_back(std::move(row));
    }
    resultsTable.setSortable(true);
    resultsTable.set(std::move(columns), std::move(cells));

    // The chained out-of-sample assets at each window's end, from the capital at the first
    // window's start, beside the plain run's total assets on the same dates.
    Backtest plain(app.master, rows, app.settings);
    (void)plain.chooseRows(firstRow, lastRow);
    (void)plain.start(std::nullopt, false);
    (void)plain.runToEnd();
    const std::vector<DayPoint>& days = plain.results().days();
    auto plainAssets = [&](int32_t date) {
        double value = app.settings.capital;
        for (const DayPoint& day : days)
            if (day.date <= date)
                value = day.assets;
        return value;
    };
    std::vector<std::string> dates;
    ChartSeries chained;
    chained.name = toCp932("検証期間をつないだ総資産");
    chained.axisText = toCp932("円");
    ChartSeries whole;
    whole.name = toCp932("通常の実行（同じ設定、全期間）");
    whole.axisText = toCp932("円");
    whole.sharesPane = true;
    if (!results.empty()) {
        dates.push_back(paddedDateText(results.front().outOfSampleDates.first));
        chained.values.push_back(app.settings.capital);
        whole.values.push_back(plainAssets(results.front().outOfSampleDates.first));
    }
    double chainedAssets = app.settings.capital;
    for (const WalkForwardResult& r : results) {
        const std::optional<double> ret = returns.value(r.outOfSample);
        chainedAssets = ret ? chainedAssets * (1 + *ret / 100) : std::nan("");
        dates.push_back(paddedDateText(r.outOfSampleDates.last));
        chained.values.push_back(chainedAssets);
        whole.values.push_back(plainAssets(r.outOfSampleDates.last));
    }

    arrangePanes(1, false);

    auto optional = [](const std::optional<double>& v, bool percent) {
        if (!v || !std::isfinite(*v))
            return std::string("----");
        return percent ? signedPercentText(*v) : groupedText(*v, 2);
    };
    // The count line belongs to the choices (the timer rewrites it): the summary heads the chart.
    const std::string title = format(toCp932("ウォークフォワード %s 窓：検証期間をつないだ最終資産 %s（%s、年率 %s、最大DD %s）　"
                               "効率 %s　プラスの窓 %s　選択の変更 %s 回"),
                       {groupedText(static_cast<double>(summary.windows), 0),
                        summary.chainedFinalAssets ? yenText(*summary.chainedFinalAssets) : std::string("----"),
                        optional(summary.chainedReturnPercent, true), optional(summary.chainedCagrPercent, true),
                        optional(summary.chainedMaxDrawdownPercent
                                     ? std::optional<double>(-*summary.chainedMaxDrawdownPercent)
                                     : std::nullopt,
                                 true),
                        optional(summary.efficiency, false), optional(summary.positiveWindowsPercent, true),
                        groupedText(static_cast<double>(summary.choiceChanges), 0)});
    figureChart.set(title, toCp932("検証期間の終わり"), std::move(dates),
                    {std::move(chained), std::move(whole)});
    progressText = toCp932("ウォークフォワード完了：") + groupedText(static_cast<double>(summary.windows), 0) +
        toCp932(" 窓");
    combinationsDone = combinationsTotal = static_cast<int64_t>(summary.windows);
}

void OptimisationDialog::poll()
{
    if (running->finished()) {
        running->wait();
        finish();
        return;
    }
    showProgress();
    updateData(false);
}

// "12 / 64 組合せ  3.2 組合せ/秒  残り 0:17", as kirvane-sweep's progress line reads.
void OptimisationDialog::showProgress()
{
    const size_t done = running->done();
    const size_t total = running->total();
    const double seconds = running->seconds();
    combinationsDone = static_cast<int64_t>(done);
    combinationsTotal = static_cast<int64_t>(total);
    std::string text = std::to_string(done) + " / " + std::to_string(total) + toCp932(" 組合せ");
    if (done > 0 && seconds > 0) {
        const double rate = static_cast<double>(done) / seconds;
        text += "  " + fixed(rate, 1) + toCp932(" 組合せ/秒");
        if (!running->finished())
            text += toCp932("  残り ") + durationText(static_cast<double>(total - done) / rate);
        else
            text += toCp932("  ") + durationText(seconds);
    }
    if (running->cancelled())
        text += toCp932("  中止しました");
    progressText = std::move(text);
}

void OptimisationDialog::finish()
{
    shown = true;
    showProgress();
    showResults();
    enableChoices(true);
    updateData(false);
    if (!running->failure().empty())
        platform().messageBox(toCp932("最適化を実行できませんでした：") + running->failure());
}

// The complete combinations, ranked by the chosen figure as kirvane-sweep --sort ranks them (by
// the in-sample part with a hold-out), each row the texts of kirvane-sweep's CSV line.
void OptimisationDialog::showResults()
{
    const size_t parts = runner->windowCount();
    std::vector<SweepFigures> ready(running->figures().begin(),
                                    running->figures().begin() +
                                        static_cast<ptrdiff_t>(running->ready() * parts));
    tableOrder = rankedOrder(*figure, ready, parts);

    resultsTable.setSortable(true);
    resultsTable.set(resultColumns(), resultRows(ready));

    if (grid.axes().size() == 2) {
        showHeatmap(heatmap, 0, ready);
        if (holdout)
            showHeatmap(outOfSampleHeatmap, 1, ready);
    } else {
        showChart(ready);
    }
}

// The result panes for the grid: the chart for one setting; for two the map across the width,
// or with a hold-out the in-sample and the out-of-sample map side by side, sharing the width.
void OptimisationDialog::arrangePanes(size_t axes, bool split)
{
    const bool chart = axes == 1;
    showControl(IDC_OPTIM_CHART, chart);
    showControl(IDC_OPTIM_HEATMAP, !chart);
    showControl(IDC_OPTIM_HEATMAP_OOS, !chart && split);
    const ControlTemplate& map = *dialogTemplate().control(IDC_OPTIM_HEATMAP);
    const ControlTemplate& right = *dialogTemplate().control(IDC_OPTIM_HEATMAP_OOS);
    if (split)
        placeControl(IDC_OPTIM_HEATMAP, {map.x, map.y, right.width, map.height},
                     AnchorLeft | AnchorTopHalf | AnchorRightHalf | AnchorBottom);
    else
        placeControl(IDC_OPTIM_HEATMAP, {map.x, map.y, map.width, map.height}, map.anchor);
}

// The ranking figure against the setting's values, as the table shows it (a drawdown as a
// fall); with a hold-out the in-sample and the out-of-sample line.
void OptimisationDialog::showChart(const std::vector<SweepFigures>& ready)
{
    const FigureDescription& shown = *figure->figure;
    std::string unit;
    int decimals = 0;
    switch (shown.kind) {
    case FigureKind::Yen:
        unit = toCp932("円");
        break;
    case FigureKind::Percent:
        unit = toCp932("％");
        decimals = 1;
        break;
    case FigureKind::Ratio:
        decimals = 2;
        break;
    case FigureKind::Count:
    case FigureKind::BusinessDays:
    case FigureKind::Date:
        break;
    }
    std::vector<ChartSeries> lines;
    for (size_t part = 0; part < runner->windowCount(); ++part) {
        ChartSeries line{figureHeading(*figure, holdout, part), unit, {}};
        for (double v : partValues(part, ready))
            line.values.push_back(shown.shownAsFall ? -v : v);
        line.decimals = decimals;
        line.sharesPane = part > 0;
        lines.push_back(std::move(line));
    }
    const std::string setting = settingCaption(grid.axes()[0].name);
    figureChart.set(toCp932(shown.label) + toCp932("　横：") + setting, setting, grid.axes()[0].values,
                    std::move(lines));
}

// A column per varied setting, the combination's number, then the figures (twice with a hold-out),
// each as wide as its heading (about 6 dialog units a double-byte character) or its numbers.
std::vector<TableColumn> OptimisationDialog::resultColumns() const
{
    std::vector<TableColumn> columns;
    auto add = [&](std::string heading) {
        const int width = std::max(48, static_cast<int>(heading.size()) * 3 + 8);
        columns.push_back({std::move(heading), width, true});
    };
    for (const SweepAxis& axis : grid.axes())
        add(settingCaption(axis.name));
    add(toCp932("組合せ"));
    for (size_t part = 0; part < runner->windowCount(); ++part)
        for (const SweepFigureField& field : sweepFigureFields())
            add(figureHeading(field, holdout, part));
    return columns;
}

// The rows in ranked order: the values as the grid has them, the figures formatted as every
// result window formats them, each cell sorting by its number.
std::vector<std::vector<TableCell>>
OptimisationDialog::resultRows(const std::vector<SweepFigures>& ready) const
{
    const size_t parts = runner->windowCount();
    std::vector<std::vector<TableCell>> rows;
    rows.reserve(tableOrder.size());
    for (size_t entry : tableOrder) {
        const uint64_t combination = running->combinations()[entry];
        std::vector<TableCell> row;
        for (std::string_view value : grid.valuesOf(combination))
            row.push_back(numberCell(std::string(value)));
        row.push_back(numberCell(std::to_string(combination)));
        for (size_t part = 0; part < parts; ++part) {
            for (const SweepFigureField& field : sweepFigureFields()) {
                const std::optional<double> v = field.value(ready[entry * parts + part]);
                TableCell cell{figureText(*field.figure, v)};
                if (v && !std::isnan(*v))
                    cell.key = *v;
                row.push_back(std::move(cell));
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// The ranking figure of one part of each combination over the grid. The colour tells the cell's
// rank within the grid: the cells fall into steps of about as many cells each, green the best,
// red the worst, so that one outlier leaves the rest telling better from worse; the legend beside
// the map gives each step's figures. The cell ranked first is outlined in both parts, so the
// out-of-sample side shows how the chosen settings fared. The tip gives the combination's values
// and every figure of the part.
void OptimisationDialog::showHeatmap(Heatmap& map, size_t part, const std::vector<SweepFigures>& ready)
{
    const size_t parts = runner->windowCount();
    const SweepAxis& down = grid.axes()[0];
    const SweepAxis& across = grid.axes()[1];
    const std::vector<double> values = partValues(part, ready);
    const RankScale scale = rankScale(values, figure->smallerIsBetter);
    std::vector<HeatmapCell> cells(down.values.size() * across.values.size());
    for (size_t entry = 0; entry * parts < ready.size() && entry < cells.size(); ++entry) {
        const SweepFigures& figures = ready[entry * parts + part];
        const std::optional<double> v = figure->value(figures);
        HeatmapCell& cell = cells[entry];
        cell.empty = false;
        cell.text = v ? cellText(*figure, *v) : std::string("----");
        if (scale.stepOf[entry] >= 0)
            cell.colour = scale.colours[static_cast<size_t>(scale.stepOf[entry])];
        const std::vector<std::string_view> texts = grid.valuesOf(running->combinations()[entry]);
        cell.tip = settingCaption(down.name) + " " + std::string(texts[0]) + "  " +
            settingCaption(across.name) + " " + std::string(texts[1]);
        for (const SweepFigureField& field : sweepFigureFields())
            cell.tip +=
                "\r\n" + toCp932(field.figure->label) + " " + figureText(*field.figure, field.value(figures));
    }
    int bestRow = -1;
    int bestColumn = -1;
    if (!tableOrder.empty()) {
        const uint64_t best = running->combinations()[tableOrder.front()];
        bestRow = static_cast<int>(best / across.values.size());
        bestColumn = static_cast<int>(best % across.values.size());
    }
    std::string title = toCp932(figure->figure->label);
    if (holdout)
        title += toCp932(part == 0 ? "　評価期間" : "　検証期間");
    title += toCp932("　縦：") + settingCaption(down.name) + toCp932("　横：") + settingCaption(across.name);
    map.set(std::move(title), down.values, across.values, std::move(cells), bestRow, bestColumn,
            legendSteps(*figure, values, scale));
}

// The ranking figure of one part of each combination run, by entry; NaN where it has none.
std::vector<double> OptimisationDialog::partValues(size_t part, const std::vector<SweepFigures>& ready) const
{
    const size_t parts = runner->windowCount();
    std::vector<double> values;
    for (size_t entry = 0; entry * parts < ready.size(); ++entry)
        values.push_back(figure->value(ready[entry * parts + part]).value_or(std::nan("")));
    return values;
}

void OptimisationDialog::enableChoices(bool enabled)
{
    for (int id = IDC_OPTIM_SETTING1; id <= IDC_OPTIM_HOLDOUT; ++id)
        enableControl(id, enabled);
    enableControl(IDC_OPTIM_START, enabled);
    enableControl(IDC_OPTIM_CANCEL, !enabled);
    enableControl(IDC_OPTIM_SAVE_CSV, enabled && !tableOrder.empty());
}

// Stores the values of the combination at `entry` in the settings and writes kvn.conf as the
// options dialog's OK does, once the user has said yes.
void OptimisationDialog::offerCombination(size_t entry)
{
    if (!shown || entry >= running->ready())
        return;
    std::string values;
    const std::vector<std::string_view> texts = grid.valuesOf(running->combinations()[entry]);
    for (size_t a = 0; a < texts.size(); ++a)
        values += (a > 0 ? toCp932("、") : std::string()) + settingValueText(grid.axes()[a].name, texts[a]);
    if (!platform().askYesNo(values + toCp932(" をオプションに反映しますか？")))
        return;
    grid.setValues(app.settings, running->combinations()[entry]);
    if (!saveSettings(app.settings, app.settingsFile()))
        platform().messageBox(messages::settingsFileNotWritten);
}

// The table as kirvane-sweep writes it with --sort: the header, then the rows in their order.
void OptimisationDialog::saveCsv()
{
    static const std::string cannotOpen = toCp932("ファイルをオープンできません");
    if (tableOrder.empty())
        return;
    std::optional<std::filesystem::path> file =
        askForOutputFile(platform(), "csv", messages::csvFilter, inputs);
    if (!file)
        return;
    // From the figures in their ranked order, whatever order the table is shown in; the lines
    // end in CR LF as in every file the window writes.
    const size_t parts = runner->windowCount();
    std::string csv = sweepCsvLine(sweepColumnNames(grid, holdout)) + "\r\n";
    for (size_t entry : tableOrder)
        csv += sweepCsvLine(sweepRowTexts(grid, running->combinations()[entry],
                                          &running->figures()[entry * parts], holdout)) +
            "\r\n";
    WaitCursor wait = platform().waitCursor();
    if (writeWholeFile(*file, csv) != WriteResult::Written)
        platform().messageBox(cannotOpen);
}

}  // namespace kv
