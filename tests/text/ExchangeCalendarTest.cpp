// SPDX-License-Identifier: GPL-3.0-or-later
// The rules that are easy to get wrong; every day of 1990–2030 is checked against two holiday
// libraries by tests/calendar/check-calendar.py.
#include "text/ExchangeCalendar.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kv {
namespace {

struct DayCase {
    int32_t date;
    bool holiday;
    bool business;
    const char* why;
};

TEST(ExchangeCalendar, HolidaysAndBusinessDays)
{
    const DayCase cases[] = {
        {20190506, true, false, "5/3–5/5 from a Sunday: the substitute is the first day after the run"},
        {20060504, true, false, "before 2007 5/4 was a citizens' holiday"},
        {20090922, true, false, "citizens' holiday between 敬老の日 and 秋分の日"},
        {20150922, true, false, "citizens' holiday between 敬老の日 and 秋分の日"},
        {20260922, true, false, "citizens' holiday between 敬老の日 and 秋分の日"},
        {20190430, true, false, "between 昭和の日 and the enthronement day"},
        {20190501, true, false, "the enthronement day"},
        {20190502, true, false, "between the enthronement day and 憲法記念日"},
        {20191022, true, false, "即位礼正殿の儀"},
        {20181224, true, false, "天皇誕生日 12/23 on a Sunday"},
        {20200724, true, false, "スポーツの日 moved for the Olympic Games"},
        {20210809, true, false, "substitute of the moved 山の日"},
        {20210811, false, true, "山の日 moved away in 2021"},
        {20041231, false, false, "year-end day, a Friday"},
        {20080102, false, false, "New Year's break, a Wednesday"},
        {20100104, false, true, "the first Monday after the break"},
        {19891103, false, true, "before 1990: no holiday known"},
        {21000322, false, true, "after 2099: no holiday known"},
        {21000101, false, false, "after 2099: the year-end days still close"},
        {20230229, false, false, "no such date"},
        {0, false, false, "no such date"},
        {-20240105, false, false, "no such date"},
    };
    for (const DayCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.date << ": " << c.why);
        EXPECT_EQ(isJapaneseHoliday(c.date), c.holiday);
        EXPECT_EQ(isBusinessDay(c.date), c.business);
    }
    EXPECT_EQ(dayOfWeek(20040105), 1);
    EXPECT_EQ(dayOfWeek(20230229), -1);
}

struct StepCase {
    int32_t from;
    int n;
    int32_t expected;
    const char* why;
};

TEST(ExchangeCalendar, StepsByBusinessDays)
{
    const StepCase cases[] = {
        {20190426, 1, 20190507, "over the ten days of 2019's Golden Week"},
        {20190507, -1, 20190426, "back over them"},
        {20190427, 1, 20190507, "from a closed day"},
        {20041230, 1, 20050104, "over the year-end break"},
        {20050104, -2, 20041229, "back over it"},
        {20040103, 0, 20040103, "no step: the date as it is"},
        {20991230, 1, 21000104, "out of the holiday years"},
        {21000104, -1, 20991230, "back into them"},
        {19891229, 1, 19900104, "into the holiday years"},
        {20040105, 250, 20050111, "a year's steps"},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " by " << c.n << ": " << c.why);
        EXPECT_EQ(addBusinessDays(c.from, c.n), c.expected);
        EXPECT_EQ(businessDaysBetween(c.from, c.expected), c.n);
        EXPECT_EQ(businessDaysBetween(c.expected, c.from), -c.n);
    }
    EXPECT_EQ(addBusinessDays(99991231, 1), 0);
    EXPECT_EQ(addBusinessDays(20230229, 1), 0);
    EXPECT_EQ(businessDaysBetween(20230229, 20240105), 0);
}

// The count over a span that runs from before the holiday years to after them agrees with the
// days counted one by one.
TEST(ExchangeCalendar, CountAcrossTheHolidayYearsMatchesTheDays)
{
    int64_t counted = 0;
    for (int year = 1989; year <= 2100; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= 31; ++day)
                counted += isBusinessDay(year * 10000 + month * 100 + day);
    EXPECT_EQ(businessDaysBetween(19881231, 21001231), counted);
}

}  // namespace
}  // namespace kv
