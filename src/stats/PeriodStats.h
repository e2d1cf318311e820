// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Statistics by year, month and day, built from the date slots: the dates the year, month and day
// lists offer, and the tally of a chosen period. A file that is not sorted by date can split one
// date over several slots; every period takes all of its slots, so such a date is still one day.

#include "stats/FigureSet.h"
#include "stats/SignalTally.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kv {

// Parts of a yyyymmdd date (integer division, as the slots store them).
constexpr int32_t yearOf(int32_t date)
{
    return date / 10000;
}
constexpr int32_t monthOf(int32_t date)
{
    return date % 10000 / 100;
}
constexpr int32_t dayOf(int32_t date)
{
    return date % 100;
}

enum class PeriodLevel { Year, Month, Day };

// A year, a month of a year, or one date. Only dated slots (date not 0) belong to a period.
struct Period {
    PeriodLevel level = PeriodLevel::Year;
    int32_t year = 0;
    int32_t month = 0;  // for Month and Day
    int32_t day = 0;    // for Day

    bool contains(int32_t date) const;
};

// The period of `level` that holds date.
Period periodOf(int32_t date, PeriodLevel level);

// The items of the year, month and day lists, in slot order: one item per run of neighbouring
// slots in the same year (month, date), added where the run ends — at a slot of another year
// (month, date), at an undated slot or at the end of the slots. Months and days compare the
// whole year and month (the whole date), so no month or day of a neighbouring year or month is
// lost. A sorted file lists every year, month and day once in ascending order; an unsorted
// file can list one several times, and every item is kept.
std::vector<int32_t> yearItems(std::span<const int32_t> slotDate);
std::vector<int32_t> monthItems(std::span<const int32_t> slotDate, int32_t year);
std::vector<int32_t> dayItems(std::span<const int32_t> slotDate, int32_t year, int32_t month);

// A period's figures: its tally is the sum of every slot of the period, and its per-day average
// weighs every date of the period with a signal alike.
struct PeriodFigures {
    Period period;
    FigureSet figures;
    std::optional<double> perDayAverage;
};

PeriodFigures periodFigures(std::span<const int32_t> slotDate, std::span<const SignalTally> byDate,
                            const Period& period, double unknownProfitRate);

// The figures of every year (level Year) or every month (level Month) or every date (level
// Day) that has a dated slot, ascending.
std::vector<PeriodFigures> figuresOfEveryPeriod(PeriodLevel level, std::span<const int32_t> slotDate,
                                                std::span<const SignalTally> byDate,
                                                double unknownProfitRate);

}  // namespace kv
