// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/PeriodStats.h"

#include "stats/TallyFigures.h"

#include <algorithm>
#include <cstddef>

namespace kv {

namespace {

// Dates with the same key lie in the same period of `level`.
int32_t keyOf(int32_t date, PeriodLevel level)
{
    switch (level) {
    case PeriodLevel::Year:
        return yearOf(date);
    case PeriodLevel::Month:
        return date / 100;
    case PeriodLevel::Day:
        break;
    }
    return date;
}

int32_t itemOf(int32_t date, PeriodLevel level)
{
    switch (level) {
    case PeriodLevel::Year:
        return yearOf(date);
    case PeriodLevel::Month:
        return monthOf(date);
    case PeriodLevel::Day:
        break;
    }
    return dayOf(date);
}

// One item per run of dated slots of the same `level` period within `within`, at the run's end.
template <class Within>
std::vector<int32_t> runItems(std::span<const int32_t> slotDate, PeriodLevel level, Within within)
{
    std::vector<int32_t> items;
    for (size_t i = 0; i < slotDate.size(); ++i) {
        int32_t date = slotDate[i];
        if (date == 0 || !within(date))
            continue;
        int32_t next = i + 1 < slotDate.size() ? slotDate[i + 1] : 0;
        if (next == 0 || keyOf(next, level) != keyOf(date, level))
            items.push_back(itemOf(date, level));
    }
    return items;
}

// The dated slots that `wanted` accepts, merged by date in ascending order; a date's tally sums
// its slots in slot order.
struct DatedTallies {
    std::vector<int32_t> dates;
    std::vector<SignalTally> tallies;
};

template <class Wanted>
DatedTallies datedTallies(std::span<const int32_t> slotDate, std::span<const SignalTally> byDate,
                          Wanted wanted)
{
    struct Slot {
        int32_t date;
        size_t index;
    };
    std::vector<Slot> slots;
    size_t count = std::min(slotDate.size(), byDate.size());
    for (size_t i = 0; i < count; ++i) {
        if (slotDate[i] != 0 && wanted(slotDate[i]))
            slots.push_back({slotDate[i], i});
    }
    auto byDateOnly = [](const Slot& a, const Slot& b) { return a.date < b.date; };
    if (!std::is_sorted(slots.begin(), slots.end(), byDateOnly))
        std::stable_sort(slots.begin(), slots.end(), byDateOnly);

    DatedTallies merged;
    for (const Slot& slot : slots) {
        if (merged.dates.empty() || merged.dates.back() != slot.date) {
            merged.dates.push_back(slot.date);
            merged.tallies.emplace_back();
        }
        addTally(merged.tallies.back(), byDate[slot.index]);
    }
    return merged;
}

PeriodFigures figuresOfDays(const Period& period, std::span<const SignalTally> days, double unknownProfitRate)
{
    SignalTally total;
    for (const SignalTally& day : days)
        addTally(total, day);
    return {period, figureSetOf(total, unknownProfitRate), perDayAverageProfit(days, unknownProfitRate)};
}

}  // namespace

bool Period::contains(int32_t date) const
{
    if (date == 0 || yearOf(date) != year)
        return false;
    if (level != PeriodLevel::Year && monthOf(date) != month)
        return false;
    return level != PeriodLevel::Day || dayOf(date) == day;
}

Period periodOf(int32_t date, PeriodLevel level)
{
    Period p{level, yearOf(date), 0, 0};
    if (level != PeriodLevel::Year)
        p.month = monthOf(date);
    if (level == PeriodLevel::Day)
        p.day = dayOf(date);
    return p;
}

std::vector<int32_t> yearItems(std::span<const int32_t> slotDate)
{
    return runItems(slotDate, PeriodLevel::Year, [](int32_t) { return true; });
}

std::vector<int32_t> monthItems(std::span<const int32_t> slotDate, int32_t year)
{
    Period within{PeriodLevel::Year, year};
    return runItems(slotDate, PeriodLevel::Month, [&](int32_t date) { return within.contains(date); });
}

std::vector<int32_t> dayItems(std::span<const int32_t> slotDate, int32_t year, int32_t month)
{
    Period within{PeriodLevel::Month, year, month};
    return runItems(slotDate, PeriodLevel::Day, [&](int32_t date) { return within.contains(date); });
}

PeriodFigures periodFigures(std::span<const int32_t> slotDate, std::span<const SignalTally> byDate,
                            const Period& period, double unknownProfitRate)
{
    DatedTallies days = datedTallies(slotDate, byDate, [&](int32_t date) { return period.contains(date); });
    return figuresOfDays(period, days.tallies, unknownProfitRate);
}

std::vector<PeriodFigures> figuresOfEveryPeriod(PeriodLevel level, std::span<const int32_t> slotDate,
                                                std::span<const SignalTally> byDate, double unknownProfitRate)
{
    DatedTallies days = datedTallies(slotDate, byDate, [](int32_t) { return true; });
    std::vector<PeriodFigures> periods;
    size_t first = 0;
    while (first < days.dates.size()) {
        int32_t key = keyOf(days.dates[first], level);
        size_t end = first + 1;
        while (end < days.dates.size() && keyOf(days.dates[end], level) == key)
            ++end;
        std::span<const SignalTally> group(days.tallies.data() + first, end - first);
        periods.push_back(figuresOfDays(periodOf(days.dates[first], level), group, unknownProfitRate));
        first = end;
    }
    return periods;
}

}  // namespace kv
