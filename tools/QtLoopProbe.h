// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window benchmarks' measure of responsiveness: the longest time between two firings of a
// timer while the probe lives. A timer fires late by as long as the event loop spent elsewhere,
// so that gap is the longest a repaint could have waited. An interval of 0 fires on every turn
// of the loop (and keeps a core busy); a few milliseconds leave the cores to worker threads.

#include <QObject>
#include <QTimer>

#include <algorithm>
#include <chrono>

class QtLoopProbe {
public:
    explicit QtLoopProbe(int intervalMs)
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const Clock::time_point now = Clock::now();
            if (last != Clock::time_point{})
                longest = std::max(longest, std::chrono::duration<double>(now - last).count());
            last = now;
        });
        timer.setTimerType(Qt::PreciseTimer);
        timer.start(intervalMs);
    }
    // In seconds.
    double longestGap() const { return longest; }

private:
    using Clock = std::chrono::steady_clock;
    QTimer timer;
    Clock::time_point last{};
    double longest = 0;
};
