// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweep/BackgroundSweep.h"

#include "sweep/SweepRunner.h"

#include <exception>

namespace kv {

BackgroundSweep::BackgroundSweep(const SweepRunner& runner, std::vector<uint64_t> combinations, int jobs)
    : indices(std::move(combinations))
{
    thread = std::thread([this, &runner, jobs] {
        auto progress = [this](size_t done, size_t ready, const std::vector<SweepFigures>&) {
            doneCount = done;
            readyCount = ready;
        };
        try {
            results = runner.run(indices, jobs, progress, &cancelFlag);
        } catch (const std::exception& e) {
            failureText = e.what();
            readyCount = 0;
        } catch (...) {
            failureText = "unknown error";
            readyCount = 0;
        }
        endedTicks = (Clock::now() - began).count();
        finishedFlag = true;
    });
}

BackgroundSweep::~BackgroundSweep()
{
    cancel();
    wait();
}

void BackgroundSweep::wait()
{
    if (thread.joinable())
        thread.join();
}

double BackgroundSweep::seconds() const
{
    const Clock::duration elapsed = finished() ? Clock::duration(endedTicks.load()) : Clock::now() - began;
    return std::chrono::duration<double>(elapsed).count();
}

}  // namespace kv
