// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A sweep run behind a window: the runner's workers on background threads, so that the window's
// event loop keeps turning. The window polls its progress on a timer, may cancel it at any time
// (no combination starts after that; each worker ends with the one it is running) and takes the
// figures once it has finished.

#include "sweep/SweepFigures.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace kv {

class SweepRunner;

class BackgroundSweep {
public:
    // Starts at once; `runner` must outlive this object. `jobs` as SweepRunner::run takes it.
    BackgroundSweep(const SweepRunner& runner, std::vector<uint64_t> indices, int jobs);
    // Cancels and waits for the workers.
    ~BackgroundSweep();
    BackgroundSweep(const BackgroundSweep&) = delete;
    BackgroundSweep& operator=(const BackgroundSweep&) = delete;

    size_t total() const { return indices.size(); }
    size_t done() const { return doneCount.load(); }
    // Seconds since the start, or from the start to the end once finished.
    double seconds() const;

    void cancel() { cancelFlag = true; }
    bool cancelled() const { return cancelFlag.load(); }

    // True once every worker has ended (all combinations run, cancelled, or failed).
    bool finished() const { return finishedFlag.load(); }
    // Waits until finished().
    void wait();

    // Once finished: the combinations (grid indices) in the order given, the figures of each
    // (the runner's windowCount() entries apiece), and how many of the first ones are complete
    // (all of them unless cancelled or failed).
    const std::vector<uint64_t>& combinations() const { return indices; }
    const std::vector<SweepFigures>& figures() const { return results; }
    size_t ready() const { return readyCount.load(); }
    // Why the run failed (a worker's exception), or empty.
    const std::string& failure() const { return failureText; }

private:
    using Clock = std::chrono::steady_clock;

    std::vector<uint64_t> indices;
    std::vector<SweepFigures> results;
    std::string failureText;
    std::atomic<size_t> doneCount{0};
    std::atomic<size_t> readyCount{0};
    std::atomic<bool> cancelFlag{false};
    std::atomic<bool> finishedFlag{false};
    Clock::time_point began = Clock::now();
    std::atomic<Clock::rep> endedTicks{0};
    std::thread thread;  // last: starts once everything it uses exists
};

}  // namespace kv
