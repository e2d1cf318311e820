// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/ExchangeCalendar.h"

#include <cstddef>
#include <vector>

namespace kv {

namespace {

struct Ymd {
    int year;
    int month;
    int day;
};

constexpr bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int days[12]{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

bool split(int32_t yyyymmdd, Ymd& out)
{
    if (yyyymmdd <= 0)
        return false;
    out = {yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100};
    return out.year >= 1 && out.year <= 9999 && out.month >= 1 && out.month <= 12 && out.day >= 1 &&
        out.day <= daysInMonth(out.year, out.month);
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back (the era-based conversion:
// 400-year eras of 146097 days, years counted from March so that February comes last).
constexpr int32_t dayNumber(int year, int month, int day)
{
    year -= month <= 2;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

Ymd dateOf(int32_t number)
{
    number += 719468;
    const int era = (number >= 0 ? number : number - 146096) / 146097;
    const int dayOfEra = number - era * 146097;
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int shifted = (5 * dayOfYear + 2) / 153;
    const int day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    const int month = shifted < 10 ? shifted + 3 : shifted - 9;
    return {yearOfEra + era * 400 + (month <= 2), month, day};
}

constexpr int weekdayOf(int32_t number)
{
    // 1970-01-01 was a Thursday.
    return static_cast<int>(((number % 7) + 11) % 7);
}

constexpr int kSunday = 0;
constexpr int kMonday = 1;
constexpr int kSaturday = 6;

constexpr int32_t kFirstTableDay = dayNumber(kFirstHolidayYear, 1, 1);
constexpr int32_t kLastTableDay = dayNumber(kLastHolidayYear, 12, 31);
constexpr int32_t kFirstDay = dayNumber(1, 1, 1);
constexpr int32_t kLastDay = dayNumber(9999, 12, 31);

// The day of the month of the n-th Monday.
int nthMonday(int year, int month, int n)
{
    const int first = weekdayOf(dayNumber(year, month, 1));
    return 1 + (kMonday - first + 7) % 7 + 7 * (n - 1);
}

// The equinox days as the almanac formula gives them for 1980–2099.
int vernalEquinox(int year)
{
    const int n = year - 1980;
    return (20'843'100 + 242'194 * n) / 1'000'000 - n / 4;
}

int autumnalEquinox(int year)
{
    const int n = year - 1980;
    return (23'248'800 + 242'194 * n) / 1'000'000 - n / 4;
}

// The named national holidays (国民の祝日) of a year, including those of one-off acts; the
// substitute and citizens' holidays follow from them.
std::vector<Ymd> namedHolidays(int y)
{
    std::vector<Ymd> days{{y, 1, 1},  {y, 2, 11}, {y, 3, vernalEquinox(y)},   {y, 4, 29},
                          {y, 5, 3},  {y, 5, 5},  {y, 9, autumnalEquinox(y)}, {y, 11, 3},
                          {y, 11, 23}};
    // 成人の日, 敬老の日 and 体育の日 (スポーツの日 from 2020) moved to Mondays.
    days.push_back({y, 1, y < 2000 ? 15 : nthMonday(y, 1, 2)});
    days.push_back({y, 9, y < 2003 ? 15 : nthMonday(y, 9, 3)});
    // 2020 and 2021 moved 海の日, スポーツの日 and 山の日 round the Olympic Games.
    if (y == 2020)
        days.insert(days.end(), {{y, 7, 23}, {y, 7, 24}, {y, 8, 10}});
    else if (y == 2021)
        days.insert(days.end(), {{y, 7, 22}, {y, 7, 23}, {y, 8, 8}});
    else {
        days.push_back({y, 10, y < 2000 ? 10 : nthMonday(y, 10, 2)});
        if (y >= 1996)
            days.push_back({y, 7, y < 2003 ? 20 : nthMonday(y, 7, 3)});
        if (y >= 2016)
            days.push_back({y, 8, 11});
    }
    // 5/4 became みどりの日 in 2007; before, it was a citizens' holiday between 5/3 and 5/5.
    if (y >= 2007)
        days.push_back({y, 5, 4});
    // 天皇誕生日.
    if (y <= 2018)
        days.push_back({y, 12, 23});
    else if (y >= 2020)
        days.push_back({y, 2, 23});
    // 即位礼正殿の儀 (1990, 2019), 皇太子結婚の儀 (1993), 天皇の即位の日 (2019).
    static constexpr Ymd oneOff[]{{1990, 11, 12}, {1993, 6, 9}, {2019, 5, 1}, {2019, 10, 22}};
    for (const Ymd& day : oneOff)
        if (day.year == y)
            days.push_back(day);
    return days;
}

bool isYearEnd(const Ymd& date)
{
    return (date.month == 12 && date.day == 31) || (date.month == 1 && date.day <= 3);
}

// Every holiday and business day of 1990–2099 by day number, worked out once.
struct Table {
    std::vector<bool> holiday;          // by day number - kFirstTableDay
    std::vector<int32_t> businessDays;  // business days before each day, from kFirstTableDay
};

Table buildTable()
{
    const std::size_t size = static_cast<std::size_t>(kLastTableDay - kFirstTableDay + 1);
    std::vector<bool> named(size);
    for (int year = kFirstHolidayYear; year <= kLastHolidayYear; ++year)
        for (const Ymd& day : namedHolidays(year))
            named[dayNumber(day.year, day.month, day.day) - kFirstTableDay] = true;

    Table table{std::vector<bool>(size), std::vector<int32_t>(size + 1)};
    // From 2007 a Sunday holiday's substitute is the first day after it that is no named
    // holiday; before, only the Monday right after it.
    const std::size_t lawOf2007 = static_cast<std::size_t>(dayNumber(2007, 1, 1) - kFirstTableDay);
    for (std::size_t i = 0; i < size; ++i) {
        const int32_t number = kFirstTableDay + static_cast<int32_t>(i);
        const int weekday = weekdayOf(number);
        bool holiday = named[i];
        if (!holiday && i > 0) {
            if (i < lawOf2007) {
                holiday = weekday == kMonday && named[i - 1];
            } else {
                for (std::size_t j = i; j > 0 && named[j - 1] && !holiday; --j)
                    holiday = weekdayOf(number - static_cast<int32_t>(i - j + 1)) == kSunday;
            }
            // A day between two named holidays; before 2007 not a Sunday.
            if (!holiday && i + 1 < size && named[i - 1] && named[i + 1])
                holiday = i >= lawOf2007 || weekday != kSunday;
        }
        table.holiday[i] = holiday;
        const bool business =
            !holiday && weekday != kSunday && weekday != kSaturday && !isYearEnd(dateOf(number));
        table.businessDays[i + 1] = table.businessDays[i] + (business ? 1 : 0);
    }
    return table;
}

const Table& table()
{
    static const Table instance = buildTable();
    return instance;
}

bool inTable(int32_t number)
{
    return number >= kFirstTableDay && number <= kLastTableDay;
}

bool isBusinessDayNumber(int32_t number)
{
    if (inTable(number)) {
        const auto& counts = table().businessDays;
        const std::size_t i = static_cast<std::size_t>(number - kFirstTableDay);
        return counts[i + 1] != counts[i];
    }
    const int weekday = weekdayOf(number);
    return weekday != kSunday && weekday != kSaturday && !isYearEnd(dateOf(number));
}

// Business days with day numbers from first up to but excluding end (first <= end): by the
// table within 1990–2099, day by day outside.
int64_t countBusinessDays(int32_t first, int32_t end)
{
    int64_t count = 0;
    for (int32_t number = first; number < end && number < kFirstTableDay; ++number)
        count += isBusinessDayNumber(number);
    const int32_t tableFirst = first > kFirstTableDay ? first : kFirstTableDay;
    const int32_t tableEnd = end < kLastTableDay + 1 ? end : kLastTableDay + 1;
    if (tableFirst < tableEnd) {
        const auto& counts = table().businessDays;
        count += counts[tableEnd - kFirstTableDay] - counts[tableFirst - kFirstTableDay];
    }
    for (int32_t number = first > kLastTableDay ? first : kLastTableDay + 1; number < end; ++number)
        count += isBusinessDayNumber(number);
    return count;
}

bool toDayNumber(int32_t yyyymmdd, int32_t& number)
{
    Ymd date{};
    if (!split(yyyymmdd, date))
        return false;
    number = dayNumber(date.year, date.month, date.day);
    return true;
}

}  // namespace

bool isValidDate(int32_t yyyymmdd)
{
    Ymd date{};
    return split(yyyymmdd, date);
}

int dayOfWeek(int32_t yyyymmdd)
{
    int32_t number = 0;
    return toDayNumber(yyyymmdd, number) ? weekdayOf(number) : -1;
}

bool isJapaneseHoliday(int32_t yyyymmdd)
{
    int32_t number = 0;
    return toDayNumber(yyyymmdd, number) && inTable(number) && table().holiday[number - kFirstTableDay];
}

bool isBusinessDay(int32_t yyyymmdd)
{
    int32_t number = 0;
    return toDayNumber(yyyymmdd, number) && isBusinessDayNumber(number);
}

int64_t businessDaysBetween(int32_t from, int32_t to)
{
    int32_t first = 0;
    int32_t last = 0;
    if (!toDayNumber(from, first) || !toDayNumber(to, last))
        return 0;
    return first <= last ? countBusinessDays(first + 1, last + 1) : -countBusinessDays(last + 1, first + 1);
}

int32_t addBusinessDays(int32_t yyyymmdd, int n)
{
    int32_t number = 0;
    if (!toDayNumber(yyyymmdd, number))
        return 0;
    const int step = n > 0 ? 1 : -1;
    for (int64_t left = n > 0 ? int64_t{n} : -int64_t{n}; left > 0;) {
        number += step;
        if (number < kFirstDay || number > kLastDay)
            return 0;
        left -= isBusinessDayNumber(number);
    }
    const Ymd date = dateOf(number);
    return date.year * 10000 + date.month * 100 + date.day;
}

}  // namespace kv
