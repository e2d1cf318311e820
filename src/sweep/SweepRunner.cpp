// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweep/SweepRunner.h"

#include "sim/Backtest.h"
#include "text/Numbers.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace kv {

std::optional<int32_t> parseHoldoutDate(const std::string& text)
{
    int parts[3] = {};
    const char* p = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 3; ++i) {
        const char* begin = p;
        while (p != end && *p >= '0' && *p <= '9')
            ++p;
        const long digits = p - begin;
        if (i == 0 ? digits != 4 : digits < 1 || digits > 2)
            return std::nullopt;
        std::from_chars(begin, p, parts[i]);
        if (i < 2 && (p == end || *p++ != '/'))
            return std::nullopt;
    }
    const std::chrono::year_month_day day{std::chrono::year(parts[0]), std::chrono::month(parts[1]),
                                          std::chrono::day(parts[2])};
    if (p != end || !day.ok())
        return std::nullopt;
    return parts[0] * 10000 + parts[1] * 100 + parts[2];
}

std::optional<int> holdoutRow(const SignalRows& rows, int first, int last, int32_t date)
{
    std::optional<int> split;
    bool earlierDate = false;
    for (int row = first; row <= last && !split; ++row) {
        const int32_t rowDate = rows.fields(row).signalDate;
        if (rowDate == 0)
            continue;
        if (rowDate >= date)
            split = row;
        else
            earlierDate = true;
    }
    if (!split || !earlierDate)
        return std::nullopt;
    return split;
}

std::string windowDatesText(const SignalRows& rows, int first, int last)
{
    int32_t lowest = 0, highest = 0;
    for (int row = first; row <= last; ++row) {
        if (const int32_t date = rows.fields(row).signalDate; date != 0) {
            if (lowest == 0)
                lowest = date;
            highest = date;
        }
    }
    return dateText(lowest) + " 〜 " + dateText(highest);
}

SweepRunner::SweepRunner(const StockMaster& master, const SignalRows& rows, const SimulationSettings& base,
                         std::vector<SweepWindow> windows, const SweepGrid& grid)
    : master(master), rows(rows), base(base), windows(std::move(windows)), grid(grid)
{
    this->base.saveLog = false;
}

void SweepRunner::runCombination(uint64_t index, Backtest& engine, SweepFigures* figures) const
{
    // Every run starts from the combination's settings: a run itself changes maxCommission.
    SimulationSettings settings = base;
    grid.setValues(settings, index);
    for (const SweepWindow& window : windows) {
        engine.setSettings(settings);
        // The windows come from rows the session has chosen: the choice cannot be refused. A run
        // without a log has nothing to tell but its end.
        (void)engine.chooseRows(window.first, window.last);
        (void)engine.start(std::nullopt, false);
        (void)engine.runToEnd();
        *figures++ = sweepFiguresOf(engine);
        engine.reset();
    }
}

std::vector<SweepFigures> SweepRunner::run(const std::vector<uint64_t>& indices, int jobs,
                                           const Progress& progress, const std::atomic<bool>* cancel) const
{
    auto cancelled = [cancel] { return cancel && cancel->load(); };
    const size_t parts = windows.size();
    std::vector<SweepFigures> figures(indices.size() * parts);
    std::vector<char> finished(indices.size(), 0);
    std::mutex mutex;
    std::condition_variable changed;
    size_t done = 0;
    size_t ready = 0;
    size_t working = 0;
    std::exception_ptr failure;
    std::atomic<size_t> next{0};
    std::atomic<bool> stop{false};

    auto work = [&] {
        std::unique_ptr<Backtest> engine = std::make_unique<Backtest>(master, rows, base);
        std::vector<SweepFigures> result(parts);
        for (;;) {
            const size_t i = next.fetch_add(1);
            if (i >= indices.size() || stop.load() || cancelled())
                break;
            try {
                runCombination(indices[i], *engine, result.data());
                std::lock_guard lock(mutex);
                std::copy(result.begin(), result.end(), figures.begin() + static_cast<ptrdiff_t>(i * parts));
                finished[i] = 1;
                ++done;
                while (ready < finished.size() && finished[ready])
                    ++ready;
            } catch (...) {
                std::lock_guard lock(mutex);
                if (!failure)
                    failure = std::current_exception();
                stop = true;
            }
            changed.notify_all();
        }
        std::lock_guard lock(mutex);
        --working;
        changed.notify_all();
    };

    const size_t threads = std::min<size_t>(static_cast<size_t>(std::max(jobs, 1)), indices.size());
    if (threads <= 1) {
        // On this thread: report after every combination, as the workers would.
        std::unique_ptr<Backtest> engine = std::make_unique<Backtest>(master, rows, base);
        for (size_t i = 0; i < indices.size() && !cancelled(); ++i) {
            runCombination(indices[i], *engine, &figures[i * parts]);
            if (progress)
                progress(i + 1, i + 1, figures);
        }
        return figures;
    }

    std::vector<std::thread> pool;
    working = threads;
    try {
        for (size_t t = 0; t < threads; ++t)
            pool.emplace_back(work);
    } catch (...) {
        // No thread to be had: the started workers stop after their combination.
        stop = true;
        for (std::thread& t : pool)
            t.join();
        throw;
    }
    {
        std::unique_lock lock(mutex);
        size_t reported = 0;
        for (;;) {
            changed.wait(lock, [&] { return working == 0 || done != reported; });
            if (done == reported)
                break;  // every worker has left and everything finished is reported
            reported = done;
            if (!progress || failure)
                continue;
            const size_t readyNow = ready;
            // The first readyNow entries are final: no worker writes them again.
            lock.unlock();
            progress(reported, readyNow, figures);
            lock.lock();
        }
    }
    for (std::thread& t : pool)
        t.join();
    if (failure)
        std::rethrow_exception(failure);
    return figures;
}

}  // namespace kv
