# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the exchange's calendar for every day of 1990–2030 against two holiday libraries made
# without it: python3-holidays (holidays.Japan, the whole list of national holidays, the
# substitute and citizens' holidays included) and python3-workalendar (its equinox days are
# worked out astronomically, not by the almanac formula the calendar uses). The business days,
# the business-day count and the stepping by business days are checked against the library's
# list. Exits 77 when the libraries are missing.
# Run: check-calendar.py PRINT_CALENDAR_PROGRAM

import bisect
import datetime
import subprocess
import sys

try:
    import holidays
    from workalendar.asia import Japan
except ImportError as error:
    print(f"skipped: {error} (apt-get install python3-holidays python3-workalendar)")
    sys.exit(77)

FIRST_YEAR, LAST_YEAR = 1990, 2030

# Days where the python3-holidays of Debian (0.10) is wrong; on every other day it must agree.
# Dates the library lacks:
MISSING_FROM_HOLIDAYS = {
    datetime.date(1990, 11, 12): "即位礼正殿の儀, a one-off holiday",
    datetime.date(1993, 6, 9): "皇太子結婚の儀, a one-off holiday",
    datetime.date(2021, 7, 22): "海の日 moved for the Olympic Games",
    datetime.date(2021, 7, 23): "スポーツの日 moved for the Olympic Games",
    datetime.date(2021, 8, 8): "山の日 moved for the Olympic Games",
    datetime.date(2021, 8, 9): "振替休日 of the moved 山の日",
    datetime.date(2025, 2, 24): "振替休日 of 天皇誕生日 (the library lists substitute days by hand)",
}
# Dates the library has that were no holidays: the 2021 days the Olympic act moved away.
WRONG_IN_HOLIDAYS = {
    datetime.date(2021, 7, 19): "海の日's usual day, moved to 7/22",
    datetime.date(2021, 8, 11): "山の日's usual day, moved to 8/8",
    datetime.date(2021, 10, 11): "スポーツの日's usual day, moved to 7/23",
}
# workalendar knows neither substitute nor citizens' holidays nor the Monday holidays' older
# fixed days, so only its days from 2007 are checked, as a subset; its equinoxes are known
# from 1991.
WORKALENDAR_FROM, EQUINOXES_FROM = 2007, 1991

failures = []


def fail(message):
    failures.append(message)
    if len(failures) <= 40:
        print("FAIL:", message)


def parse(value):
    return datetime.date(int(value[:4]), int(value[4:6]), int(value[6:]))


output = subprocess.run([sys.argv[1], str(FIRST_YEAR), str(LAST_YEAR)], check=True, capture_output=True,
                        text=True).stdout
days = []
for line in output.splitlines():
    date, holiday, business, count, plus3, minus2 = line.split()
    days.append((parse(date), holiday == "1", business == "1", int(count), int(plus3), int(minus2)))
first, last = datetime.date(FIRST_YEAR, 1, 1), datetime.date(LAST_YEAR, 12, 31)
if [d[0] for d in days] != [first + datetime.timedelta(n) for n in range((last - first).days + 1)]:
    sys.exit("FAIL: the program did not print every day once, in order")
ours = {d[0] for d in days if d[1]}

library = set(holidays.Japan(years=range(FIRST_YEAR, LAST_YEAR + 1)))
expected = (library | set(MISSING_FROM_HOLIDAYS)) - set(WRONG_IN_HOLIDAYS)
for date in sorted(expected - ours):
    fail(f"{date}: a holiday by python3-holidays, not by the calendar")
for date in sorted(ours - expected):
    fail(f"{date}: a holiday by the calendar, not by python3-holidays")
for date in MISSING_FROM_HOLIDAYS:
    if date in library:
        fail(f"{date}: python3-holidays has it now; take it off the exception list")
for date in WRONG_IN_HOLIDAYS:
    if date not in library:
        fail(f"{date}: python3-holidays no longer has it; take it off the exception list")

calendar = Japan()
for year in range(EQUINOXES_FROM, LAST_YEAR + 1):
    for date, name in calendar.holidays(year):
        if (year >= WORKALENDAR_FROM or "Equinox" in name) and date not in ours:
            fail(f"{date}: {name} by workalendar, not a holiday by the calendar")

# Business days: weekdays that are no holiday and not December 31 to January 3.
business = []
for date, holiday, is_business, *_ in days:
    closed = date.weekday() >= 5 or date in expected or (date.month, date.day) in {(12, 31), (1, 1), (1, 2), (1, 3)}
    if is_business == closed:
        fail(f"{date}: business day {is_business}, expected {not closed}")
    if not closed:
        business.append(date)

# The count from January 1 of the first year, and three business days on and two back, as far
# as the years printed reach.
for date, _, _, count, plus3, minus2 in days:
    after = bisect.bisect_right(business, date)
    if count != after - (1 if business[0] == first else 0):
        fail(f"{date}: {count} business days since {first}, expected {after}")
    if after + 2 < len(business) and parse(str(plus3)) != business[after + 2]:
        fail(f"{date}: three business days on gives {plus3}, expected {business[after + 2]}")
    before = bisect.bisect_left(business, date)
    if before >= 2 and parse(str(minus2)) != business[before - 2]:
        fail(f"{date}: two business days back gives {minus2}, expected {business[before - 2]}")

if failures:
    sys.exit(f"{len(failures)} failures")
print(f"{len(days)} days, {len(ours)} holidays and {len(business)} business days agree")
