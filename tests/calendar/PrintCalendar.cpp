// SPDX-License-Identifier: GPL-3.0-or-later
// print-calendar FIRST_YEAR LAST_YEAR: one line per day of the years, for check-calendar.py:
//   yyyymmdd holiday business count plus3 minus2
// holiday and business are 0 or 1, count is businessDaysBetween(the first day, the day), plus3
// and minus2 are addBusinessDays(the day, 3) and addBusinessDays(the day, -2).

#include "text/ExchangeCalendar.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: print-calendar FIRST_YEAR LAST_YEAR\n", stderr);
        return 2;
    }
    const int firstYear = std::atoi(argv[1]);
    const int lastYear = std::atoi(argv[2]);
    const int32_t start = firstYear * 10000 + 101;
    for (int year = firstYear; year <= lastYear; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= 31; ++day) {
                const int32_t date = year * 10000 + month * 100 + day;
                if (!kv::isValidDate(date))
                    continue;
                std::printf("%d %d %d %lld %d %d\n", date, kv::isJapaneseHoliday(date) ? 1 : 0,
                            kv::isBusinessDay(date) ? 1 : 0,
                            static_cast<long long>(kv::businessDaysBetween(start, date)),
                            kv::addBusinessDays(date, 3), kv::addBusinessDays(date, -2));
            }
    return 0;
}
