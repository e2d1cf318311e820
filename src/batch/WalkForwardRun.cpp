// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/WalkForwardRun.h"

#include "batch/BatchSession.h"
#include "batch/ToolMain.h"
#include "report/ResultsJson.h"
#include "settings/SettingByName.h"
#include "sweep/SweepTable.h"
#include "text/Numbers.h"

#include <nlohmann/json.hpp>

#include <thread>

namespace kv {

void putAxisValues(nlohmann::ordered_json& line, const SweepGrid& grid, uint64_t index)
{
    const std::vector<std::string_view> values = grid.valuesOf(index);
    for (size_t a = 0; a < values.size(); ++a) {
        const std::string& name = grid.axes()[a].name;
        if (settingKind(name) == SettingKind::Decimal)
            line[name] = leadingDouble(values[a]);
        else
            line[name] = leadingInt(values[a]);
    }
}

namespace {

std::vector<std::string> windowColumnNames(const SweepGrid& grid)
{
    std::vector<std::string> names = {"window", "inSampleStart", "inSampleEnd", "outOfSampleStart",
                                      "outOfSampleEnd"};
    for (const SweepAxis& axis : grid.axes())
        names.push_back(axis.name);
    names.emplace_back("isFigure");
    for (const SweepFigureField& field : sweepFigureFields())
        names.push_back(sweepFigureColumn(field.name, true, 1));
    return names;
}

std::string optionalText(const std::optional<double>& value)
{
    return value ? sweepNumberText(*value) : std::string();
}

// The windows' lines; the summary follows unless `summary` is none (an interrupted run).
void printCsv(const SweepGrid& grid, const SweepFigureField& rankBy,
              const std::vector<WalkForwardResult>& results, const WalkForwardSummary* summary,
              std::ostream& out)
{
    out << sweepCsvLine(windowColumnNames(grid)) << '\n';
    for (const WalkForwardResult& r : results) {
        std::vector<std::string> texts = {
            std::to_string(r.window.index),          paddedDateText(r.inSampleDates.first),
            paddedDateText(r.inSampleDates.last),    paddedDateText(r.outOfSampleDates.first),
            paddedDateText(r.outOfSampleDates.last),
        };
        for (std::string_view value : grid.valuesOf(r.chosen))
            texts.emplace_back(value);
        texts.push_back(sweepFigureText(rankBy, r.inSample));
        for (const SweepFigureField& field : sweepFigureFields())
            texts.push_back(sweepFigureText(field, r.outOfSample));
        out << sweepCsvLine(texts) << '\n';
    }
    if (!summary)
        return;
    out << "# windows," << summary->windows << '\n'
        << "# chainedFinalAssets," << optionalText(summary->chainedFinalAssets) << '\n'
        << "# chainedReturnPercent," << optionalText(summary->chainedReturnPercent) << '\n'
        << "# chainedCagrPercent," << optionalText(summary->chainedCagrPercent) << '\n'
        << "# chainedMaxDrawdownPercent," << optionalText(summary->chainedMaxDrawdownPercent) << '\n'
        << "# efficiency," << optionalText(summary->efficiency) << '\n'
        << "# positiveWindowsPercent," << optionalText(summary->positiveWindowsPercent) << '\n'
        << "# choiceChanges," << summary->choiceChanges << '\n';
}

void printJson(const SweepGrid& grid, const SweepFigureField& rankBy,
               const std::vector<WalkForwardResult>& results, const WalkForwardSummary* summary,
               std::ostream& out)
{
    for (const WalkForwardResult& r : results) {
        nlohmann::ordered_json line;
        line["window"] = r.window.index;
        line["inSampleStart"] = paddedDateText(r.inSampleDates.first);
        line["inSampleEnd"] = paddedDateText(r.inSampleDates.last);
        line["outOfSampleStart"] = paddedDateText(r.outOfSampleDates.first);
        line["outOfSampleEnd"] = paddedDateText(r.outOfSampleDates.last);
        putAxisValues(line, grid, r.chosen);
        line["isFigure"] = figureJson(*rankBy.figure, rankBy.value(r.inSample));
        for (const SweepFigureField& field : sweepFigureFields())
            line[sweepFigureColumn(field.name, true, 1)] =
                figureJson(*field.figure, field.value(r.outOfSample));
        out << line.dump() << '\n';
    }
    if (!summary)
        return;
    nlohmann::ordered_json walkForward;
    walkForward["windows"] = summary->windows;
    walkForward["chainedFinalAssets"] = jsonNumber(summary->chainedFinalAssets);
    walkForward["chainedReturnPercent"] = jsonNumber(summary->chainedReturnPercent);
    walkForward["chainedCagrPercent"] = jsonNumber(summary->chainedCagrPercent);
    walkForward["chainedMaxDrawdownPercent"] = jsonNumber(summary->chainedMaxDrawdownPercent);
    walkForward["efficiency"] = jsonNumber(summary->efficiency);
    walkForward["positiveWindowsPercent"] = jsonNumber(summary->positiveWindowsPercent);
    walkForward["choiceChanges"] = summary->choiceChanges;
    nlohmann::ordered_json line;
    line["walkForward"] = std::move(walkForward);
    out << line.dump() << '\n';
}

}  // namespace

int runWalkForwardSweep(const SweepOptions& options, BatchSession& session,
                        const SimulationSettings& settings, int first, int last, std::ostream& out,
                        std::ostream& err, const WalkForwardProgress& progress)
{
    const SignalRows& rows = session.loadedSignals;
    std::vector<int32_t> dates;
    dates.reserve(static_cast<size_t>(last - first + 1));
    for (int row = first; row <= last; ++row)
        dates.push_back(rows.fields(row).signalDate);
    const SweepOptions::Months months = *options.walkForward;
    const std::vector<WalkForwardWindow> windows =
        walkForwardWindows(dates, first, months.inSample, months.outOfSample);
    if (windows.empty()) {
        err << "kirvane-sweep: --walk-forward " << months.inSample << ':' << months.outOfSample
            << " では、シグナルの期間 (" << windowDatesText(rows, first, last)
            << ") に最適化期間と検証期間のどちらにも行のある窓が一つもできません\n";
        return 2;
    }
    const SweepFigureField& rankBy = *sweepFigureByName(options.sortField.value_or("finalAssets"));
    const unsigned cores = std::thread::hardware_concurrency();
    const int jobs = options.jobs.value_or(cores == 0 ? 1 : static_cast<int>(cores));
    const std::atomic<bool>& stop = interruptionRequested();
    const std::vector<WalkForwardResult> results = runWalkForward(session.app->master, rows, settings, windows,
                                                                  options.grid, rankBy, jobs, progress, &stop);
    if (stop) {
        // The windows finished stand, without a summary of a part; a last line tells them from a
        // finished run.
        if (options.json) {
            printJson(options.grid, rankBy, results, nullptr, out);
            out << nlohmann::ordered_json{{"interrupted", true}, {"done", results.size()}, {"total", windows.size()}}
                       .dump()
                << '\n';
        } else {
            printCsv(options.grid, rankBy, results, nullptr, out);
            out << "# 中断: " << results.size() << " / " << windows.size() << " 窓\n";
        }
        out.flush();
        return 128 + interruption();
    }
    const WalkForwardSummary summary = summariseWalkForward(results, settings.capital);
    if (options.json)
        printJson(options.grid, rankBy, results, &summary, out);
    else
        printCsv(options.grid, rankBy, results, &summary, out);
    out.flush();
    return 0;
}

}  // namespace kv
