// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweep/WalkForward.h"

#include "data/SignalRows.h"
#include "sim/RunResults.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numeric>

namespace kv {

int32_t addMonths(int32_t yyyymmdd, int months)
{
    const int64_t day = yyyymmdd % 100;
    int64_t total = static_cast<int64_t>(yyyymmdd / 10000) * 12 + (yyyymmdd / 100 % 100 - 1) + months;
    int64_t year = total / 12;
    int64_t month = total % 12;
    if (month < 0) {
        month += 12;
        --year;
    }
    const std::chrono::year_month_day_last end{
        std::chrono::year(static_cast<int>(year)),
        std::chrono::month_day_last(std::chrono::month(static_cast<unsigned>(month + 1)))};
    const int64_t lastDay = static_cast<unsigned>(end.day());
    return static_cast<int32_t>(year * 10000 + (month + 1) * 100 + std::min(day, lastDay));
}

std::vector<WalkForwardWindow> walkForwardWindows(const std::vector<int32_t>& dates, int first,
                                                  int inSampleMonths, int outOfSampleMonths)
{
    std::vector<WalkForwardWindow> windows;
    const auto dated = [](int32_t date) { return date != 0; };
    const auto firstDated = std::find_if(dates.begin(), dates.end(), dated);
    if (firstDated == dates.end())
        return windows;
    const int32_t start = *firstDated;
    const int32_t lastDate = *std::find_if(dates.rbegin(), dates.rend(), dated);
    // The first row dated on or after `date`, or dates.size() when there is none.
    auto rowFrom = [&](int32_t date) {
        return static_cast<size_t>(
            std::find_if(dates.begin(), dates.end(), [date](int32_t d) { return d != 0 && d >= date; }) -
            dates.begin());
    };
    for (int k = 0;; ++k) {
        const int offset = k * outOfSampleMonths;
        const int32_t outOfSampleStart = addMonths(start, offset + inSampleMonths);
        if (outOfSampleStart > lastDate)
            break;
        const size_t a = rowFrom(addMonths(start, offset));
        const size_t b = rowFrom(outOfSampleStart);
        const size_t c = rowFrom(addMonths(start, offset + inSampleMonths + outOfSampleMonths));
        if (a < b && b < c) {
            const int base = first;
            windows.push_back({k,
                               {base + static_cast<int>(a), base + static_cast<int>(b) - 1},
                               {base + static_cast<int>(b), base + static_cast<int>(c) - 1}});
        }
    }
    return windows;
}

RowDates rowDates(const SignalRows& rows, int first, int last)
{
    RowDates dates;
    for (int row = first; row <= last; ++row) {
        if (const int32_t date = rows.fields(row).signalDate; date != 0) {
            if (dates.first == 0)
                dates.first = date;
            dates.last = date;
        }
    }
    return dates;
}

WalkForwardSummary summariseWalkForward(const std::vector<WalkForwardResult>& results, double capital)
{
    WalkForwardSummary summary;
    summary.windows = results.size();
    if (results.empty())
        return summary;
    const SweepFigureField& returnField = *sweepFigureByName("totalReturnPercent");
    const SweepFigureField& cagrField = *sweepFigureByName("cagrPercent");
    std::optional<double> assets = capital;
    double peak = capital;
    double deepest = 0;
    size_t positive = 0;
    std::optional<double> outCagrSum = 0, inCagrSum = 0;
    for (size_t i = 0; i < results.size(); ++i) {
        const WalkForwardResult& r = results[i];
        const std::optional<double> windowReturn = returnField.value(r.outOfSample);
        if (assets && windowReturn) {
            *assets *= 1 + *windowReturn / 100;
            peak = std::max(peak, *assets);
            if (peak > 0)
                deepest = std::max(deepest, (peak - *assets) / peak * 100);
        } else {
            assets.reset();
        }
        if (windowReturn && *windowReturn > 0)
            ++positive;
        if (i > 0 && r.chosen != results[i - 1].chosen)
            ++summary.choiceChanges;
        const std::optional<double> outCagr = cagrField.value(r.outOfSample);
        const std::optional<double> inCagr = cagrField.value(r.inSample);
        outCagrSum = outCagrSum && outCagr ? std::optional(*outCagrSum + *outCagr) : std::nullopt;
        inCagrSum = inCagrSum && inCagr ? std::optional(*inCagrSum + *inCagr) : std::nullopt;
    }
    const double count = static_cast<double>(results.size());
    summary.positiveWindowsPercent = static_cast<double>(positive) / count * 100;
    if (outCagrSum && inCagrSum && *inCagrSum / count != 0)
        summary.efficiency = (*outCagrSum / count) / (*inCagrSum / count);
    if (!assets)
        return summary;
    summary.chainedFinalAssets = assets;
    summary.chainedMaxDrawdownPercent = deepest;
    if (capital != 0)
        summary.chainedReturnPercent = (*assets / capital - 1) * 100;
    const std::optional<int64_t> days =
        calendarDaysBetween(results.front().outOfSampleDates.first, results.back().outOfSampleDates.last);
    if (days && *days > 0 && capital > 0 && *assets > 0) {
        const double years = static_cast<double>(*days) / 365.25;
        summary.chainedCagrPercent = (std::pow(*assets / capital, 1 / years) - 1) * 100;
    }
    return summary;
}

std::vector<WalkForwardResult> runWalkForward(const StockMaster& master, const SignalRows& rows,
                                              const SimulationSettings& base,
                                              const std::vector<WalkForwardWindow>& windows,
                                              const SweepGrid& grid, const SweepFigureField& rankBy, int jobs,
                                              const WalkForwardProgress& progress, const std::atomic<bool>* cancel)
{
    std::vector<uint64_t> all(grid.size());
    std::iota(all.begin(), all.end(), uint64_t{0});
    const size_t total = windows.size() * (all.size() + 1);
    size_t done = 0;
    std::vector<WalkForwardResult> results;
    results.reserve(windows.size());
    if (progress)
        progress(0, total);  // the rates are then measured from the start
    for (const WalkForwardWindow& window : windows) {
        const SweepRunner inSample(master, rows, base, {window.inSample}, grid);
        const std::vector<SweepFigures> figures =
            inSample.run(
                all, jobs,
                [&](size_t runs, size_t, const std::vector<SweepFigures>&) {
                    if (progress)
                        progress(done + runs, total);
                },
                cancel);
        if (cancel && cancel->load())
            break;  // a part of the grid would choose as if it were all of it
        done += all.size();
        // A stable order: the first of equally good combinations in grid order wins.
        const size_t best = rankedOrder(rankBy, figures, 1).front();
        const SweepRunner outOfSample(master, rows, base, {window.outOfSample}, grid);
        WalkForwardResult result;
        result.window = window;
        result.chosen = all[best];
        result.inSample = figures[best];
        result.outOfSample = outOfSample.run({result.chosen}, 1).front();
        result.inSampleDates = rowDates(rows, window.inSample.first, window.inSample.last);
        result.outOfSampleDates = rowDates(rows, window.outOfSample.first, window.outOfSample.last);
        results.push_back(result);
        if (progress)
            progress(++done, total);
    }
    return results;
}

}  // namespace kv
