// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Tokyo exchange's calendar: the days it trades on, and the Japanese national holidays
// that close it. Dates are yyyymmdd integers (20040105). The holidays are those the holiday law
// and its one-off acts gave for each year from 1990 to 2099, later years under today's law.
// Every function is safe to call from any thread.

#include <cstdint>

namespace kv {

// The years whose national holidays are known; outside them no date is a holiday.
inline constexpr int kFirstHolidayYear = 1990;
inline constexpr int kLastHolidayYear = 2099;

// A real date of the years 1 to 9999 (the month 1 to 12, the day within the month).
bool isValidDate(int32_t yyyymmdd);

// 0 = Sunday … 6 = Saturday; -1 for an invalid date.
int dayOfWeek(int32_t yyyymmdd);

// A national holiday of 1990–2099: a named holiday, a substitute holiday (振替休日) or a
// citizens' holiday (国民の休日). False for any other date, invalid ones included.
bool isJapaneseHoliday(int32_t yyyymmdd);

// A day the exchange trades: a weekday that is neither a national holiday nor one of its
// year-end days, December 31 to January 3. Outside 1990–2099 only weekends and the year-end
// days close it; false for an invalid date.
bool isBusinessDay(int32_t yyyymmdd);

// The business days after from up to and including to; negative when to comes first
// (-businessDaysBetween(to, from)). 0 when either date is invalid.
int64_t businessDaysBetween(int32_t from, int32_t to);

// The n-th business day after the date (n > 0) or before it (n < 0), the date itself being
// any day; the date unchanged for n = 0. So businessDaysBetween(d, addBusinessDays(d, n)) == n.
// 0 for an invalid date or when the answer would leave the years 1 to 9999.
int32_t addBusinessDays(int32_t yyyymmdd, int n);

}  // namespace kv
