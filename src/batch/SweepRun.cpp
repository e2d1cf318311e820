// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/SweepRun.h"

#include "batch/BatchSession.h"
#include "batch/EmptySettingsWarning.h"
#include "batch/OutputFiles.h"
#include "sweep/SweepRunner.h"
#include "sweep/SweepTable.h"
#include "batch/ToolMain.h"
#include "batch/WalkForwardRun.h"
#include "report/ResultsJson.h"
#include "settings/SettingByName.h"
#include "text/Cp932.h"
#include "text/Numbers.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <thread>

namespace kv {

namespace {

class SweepPrinter {
public:
    SweepPrinter(const SweepGrid& grid, bool json, bool holdout, std::ostream& out)
        : grid(grid), json(json), holdout(holdout), out(out)
    {}

    void header()
    {
        if (!json)
            out << sweepCsvLine(sweepColumnNames(grid, holdout)) << '\n';
    }

    // `parts`: the figures of the combination, those of the in-sample part first with a hold-out.
    void row(uint64_t index, const SweepFigures* parts)
    {
        if (json) {
            nlohmann::ordered_json line;
            putAxisValues(line, grid, index);
            line["combination"] = index;
            for (size_t part = 0; part < partCount(); ++part)
                writeFigures(line, parts[part], part);
            out << line.dump() << '\n';
            return;
        }
        out << sweepCsvLine(sweepRowTexts(grid, index, parts, holdout)) << '\n';
    }

private:
    size_t partCount() const { return holdout ? 2 : 1; }

    void writeFigures(nlohmann::ordered_json& line, const SweepFigures& f, size_t part) const
    {
        auto key = [&](const char* name) { return sweepFigureColumn(name, holdout, part); };
        for (const SweepFigureField& field : sweepFigureFields())
            line[key(field.name)] = figureJson(*field.figure, field.value(f));
    }

    const SweepGrid& grid;
    bool json;
    bool holdout;
    std::ostream& out;
};

// "12 / 64 組合せ  3.2 組合せ/秒  残り 0:17", at most ten times a second.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, size_t total) : err(err), total(total) {}

    void update(size_t done)
    {
        const auto now = std::chrono::steady_clock::now();
        if (done < total && now - shown < std::chrono::milliseconds(100))
            return;
        shown = now;
        const double seconds = std::chrono::duration<double>(now - began).count();
        const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
        char line[160];
        if (rate > 0) {
            const long left = std::lround(static_cast<double>(total - done) / rate);
            std::snprintf(line, sizeof line, "\r%zu / %zu 組合せ  %.1f 組合せ/秒  残り %ld:%02ld\x1b[K", done,
                          total, rate, left / 60, left % 60);
        } else {
            std::snprintf(line, sizeof line, "\r%zu / %zu 組合せ\x1b[K", done, total);
        }
        err << line << std::flush;
    }

    void clear() { err << "\r\x1b[K" << std::flush; }

private:
    std::ostream& err;
    size_t total;
    std::chrono::steady_clock::time_point began = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point shown{};
};

// --walk-forward, with the sweep's progress line over all its runs.
int walkForwardSweep(const SweepOptions& options, BatchSession& session, const SimulationSettings& settings,
                     int first, int last, std::ostream& out, std::ostream& err, bool showProgress)
{
    std::optional<ProgressLine> line;
    auto progress = [&](size_t done, size_t total) {
        if (!line)
            line.emplace(err, total);
        line->update(done);
    };
    const int status = runWalkForwardSweep(options, session, settings, first, last, out, err,
                                           showProgress ? WalkForwardProgress(progress) : WalkForwardProgress());
    if (line)
        line->clear();
    return status;
}

}  // namespace

int runSweep(const SweepOptions& options, const std::filesystem::path& folder, std::ostream& out,
             std::ostream& err, bool showProgress)
{
    if (!stockMasterReadable(folder, err, "kirvane-sweep"))
        return 2;
    if (std::string problem = checkStandardOutput({}, runInputs(options.signalFile, folder));
        !problem.empty()) {
        err << "error: " << problem << "\n";
        return 2;
    }
    try {
        BatchSession session(folder, err);
        warnOfEmptySettings(*session.app, err);
        // The run's settings are the application's: the statistics read the unknown profit rate too.
        SimulationSettings& settings = session.app->settings;
        for (const auto& [name, value] : options.settings)
            setSettingByName(settings, name, value);
        settings.saveLog = false;

        switch (session.prepare(options.signalFile, options.startRow, options.endRow)) {
        case RunPreparation::CannotOpen:
        case RunPreparation::TooManyDates:
        case RunPreparation::NoRows:
            return 1;  // the message says so
        case RunPreparation::Refused:
            return 2;
        case RunPreparation::Ready:
            break;
        }

        const int first = session.engine.startRow();
        const int last = session.engine.endRow();
        if (options.walkForward)
            return walkForwardSweep(options, session, settings, first, last, out, err, showProgress);
        std::vector<SweepWindow> windows = {{first, last}};
        if (options.holdoutFrom) {
            const SignalRows& rows = session.loadedSignals;
            const std::optional<int> split = holdoutRow(rows, first, last, *options.holdoutFrom);
            if (!split) {
                err << "kirvane-sweep: --holdout-from " << paddedDateText(*options.holdoutFrom)
                    << " には、シグナルの期間 (" << windowDatesText(rows, first, last)
                    << ") の最初の日より後で最後の日までの日付が必要です\n";
                return 2;
            }
            windows = {{first, *split - 1}, {*split, last}};
        }

        std::vector<uint64_t> indices = options.grid.shardIndices(options.shard, options.shards);
        // Without an order to find, the first K lines are the first K combinations: run only those.
        if (options.top && !options.sortField && indices.size() > *options.top)
            indices.resize(*options.top);
        const unsigned cores = std::thread::hardware_concurrency();
        const int jobs = options.jobs.value_or(cores == 0 ? 1 : static_cast<int>(cores));

        SweepPrinter printer(options.grid, options.json, options.holdoutFrom.has_value(), out);
        printer.header();
        ProgressLine progressLine(err, indices.size());
        size_t printed = 0;
        size_t finished = 0;  // the first combinations of the list whose figures are in
        const size_t parts = windows.size();
        auto progress = [&](size_t done, size_t ready, const std::vector<SweepFigures>& figures) {
            finished = ready;
            if (!options.sortField) {
                for (; printed < ready; ++printed)
                    printer.row(indices[printed], &figures[printed * parts]);
                out.flush();
            }
            if (showProgress)
                progressLine.update(done);
        };
        SweepRunner runner(session.app->master, session.loadedSignals, settings, std::move(windows),
                           options.grid);
        const std::atomic<bool>& stop = interruptionRequested();
        std::vector<SweepFigures> figures = runner.run(indices, jobs, progress, &stop);
        if (showProgress)
            progressLine.clear();
        if (stop) {
            // The lines of the combinations finished in order stand (none with --sort: a part
            // of the grid would rank as if it were all of it); a last line tells them from a
            // finished grid.
            if (options.json)
                out << nlohmann::ordered_json{{"interrupted", true},
                                              {"done", finished},
                                              {"total", indices.size()}}
                           .dump()
                    << '\n';
            else
                out << "# 中断: " << finished << " / " << indices.size() << " 組合せ\n";
            out.flush();
            return 128 + interruption();
        }

        if (options.sortField) {
            // With a hold-out the in-sample figure ranks: the out-of-sample one is there to judge it.
            const SweepFigureField& field = *sweepFigureByName(*options.sortField);
            std::vector<size_t> order = rankedOrder(field, figures, parts);
            if (options.top && order.size() > *options.top)
                order.resize(*options.top);
            for (size_t i : order)
                printer.row(indices[i], &figures[i * parts]);
        } else {
            for (; printed < indices.size(); ++printed)
                printer.row(indices[printed], &figures[printed * parts]);
        }
        out.flush();
        return 0;
    } catch (const std::exception& e) {
        err << "error: " << exceptionText(e) << '\n';
        return 1;
    }
}

}  // namespace kv
