#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks kirvane-batch's --trades output and its risk and time figures against what the program
# also wrote, computed here on its own:
#   check-trades.py CAPITAL LOG.csv TRADES.csv RESULT.json
# - every row of the trade list is, in order, a sale line of the trade log, with the fields the
#   two share equal, and takes a purchase line of its own (written before the sale) with the same
#   code, name, date, shares, amount and commission; buy amount + gross profit = sell amount;
# - the holding days are the calendar days between the two dates; a position the trade log sells
#   on 9999/99/99 (a 判定不可 row) was sold by the final liquidation on the run's last day;
# - every new figure of the JSON's "results" but the exposures, recomputed from the JSON's days
#   and the trade list, agrees to 1e-9: the time figures over the exchange's business days
#   (weekdays that are neither a national holiday, as python3-holidays has them, nor 12/31, 1/2
#   or 1/3) between the first and the last day.
import collections
import datetime
import json
import math
import sys

import holidays

capital = float(sys.argv[1])


def lines(path):
    with open(path, encoding="cp932", newline="") as f:
        text = f.read()
    assert text.endswith("\r\n"), path
    rows = text[:-2].split("\r\n")
    assert all("\n" not in row and "\r" not in row for row in rows), path
    return [row.split(",") for row in rows]


def padded(log_date):
    y, m, d = log_date.split("/")
    return "%04d/%02d/%02d" % (int(y), int(m), int(d))


def calendar(date):
    try:
        return datetime.date(*map(int, date.split("/")))
    except ValueError:
        return None


log = lines(sys.argv[2])
trades = lines(sys.argv[3])
with open(sys.argv[4], encoding="utf-8") as f:
    results = json.load(f)["results"]

assert trades[0] == "コード,銘柄名,購入日,売却日,保有日数,株数,購入金額,売却金額,手数料,差引益,税引き益,利益率,決済".split(","), trades[0]
trades = trades[1:]
assert all(len(row) == 13 for row in trades)
# Each trade is a line of its own: a writer that keeps what it wrote would repeat lines.
assert len({tuple(row) for row in trades}) == len(trades) == results["trades"], "a line written twice"
last_day = results["days"][-1]["date"] if results["days"] else None
# The log in order: a purchase waits (by its fields) until a row of the list takes it; each sale
# line is the next row of the list.
waiting = collections.defaultdict(collections.deque)
rows = iter(trades)
purchases = sales = 0
holding_days = []
undecided = []
for fields in log[1:]:
    if fields[0] == "購入":
        # 購入,コード,銘柄名,日付,株価,株数,金額,-手数料
        purchases += 1
        waiting[(fields[1], fields[2], padded(fields[3]), fields[5], fields[6], str(-int(fields[7])))].append(fields)
        continue
    assert fields[0] == "売却", fields
    sales += 1
    row = next(rows, None)
    assert row is not None, "more sale lines than rows"
    code, name, bought, sold, days, shares, buy_amount, sell_amount, commission, gross, net, rate, ending = row
    assert ending in ("売却", "期末決済"), row
    # 売却,コード,銘柄名,日付,株価,株数,金額,差引益,利益率,現利益合計,税引き益,…
    sold_on = padded(fields[3])
    if sold_on == "9999/99/99":
        undecided.append(row)
        assert ending == "期末決済", row
        sold_on = last_day
    assert [code, name, sold, shares, sell_amount, gross, rate, net] == [
        fields[1], fields[2], sold_on, fields[5], fields[6], fields[7], fields[8], fields[10]], (row, fields)
    bought_before = waiting.get((code, name, bought, shares, buy_amount, commission))
    assert bought_before, "no purchase line for %s" % row
    bought_before.popleft()
    assert int(sell_amount) - int(buy_amount) == int(gross), row
    first, last = calendar(bought), calendar(sold)
    if first and last:
        assert int(days) == (last - first).days, row
        holding_days.append(int(days))
    else:
        assert days == "", row
assert next(rows, None) is None, "more rows than sale lines"
assert purchases == sales, (purchases, sales)


def close(name, got, expected):
    if expected is None or got is None:
        assert got is None and expected is None, (name, got, expected)
        return
    assert abs(got - expected) <= 1e-9 * max(1.0, abs(expected)), (name, got, expected)


days = results["days"]


def business_day(day):
    return day.weekday() < 5 and day not in japan and (day.month, day.day) not in ((12, 31), (1, 2), (1, 3))


# The day series: each business day from the first day's date to the last one's, and every day's
# own date, with the assets of the last day on or before it; the days themselves when a date is not
# a real date of 1990 to 2099 or the dates do not increase.
dates = [calendar(day["date"]) for day in days]
if dates and all(d and 1990 <= d.year <= 2099 for d in dates) and all(a < b for a, b in zip(dates, dates[1:])):
    japan = holidays.Japan(years=range(dates[0].year, dates[-1].year + 1))
    series, k, d = [], 0, dates[0]
    while d <= dates[-1]:
        own = d == dates[k]
        if own:
            k += 1
        if own or business_day(d):
            series.append((d.strftime("%Y/%m/%d"), days[k - 1]["assets"]))
        d += datetime.timedelta(days=1)
else:
    series = [(day["date"], day["assets"]) for day in days]
series_assets = [a for _, a in series]
assets = [day["assets"] for day in days]
previous = [capital] + series_assets[:-1]
if series_assets and all(p != 0 for p in previous):
    r = [a / p - 1 for a, p in zip(series_assets, previous)]
    mean = sum(r) / len(r)
    deviation = math.sqrt(sum((x - mean) ** 2 for x in r) / (len(r) - 1)) if len(r) > 1 else 0.0
    downside = math.sqrt(sum(min(x, 0.0) ** 2 for x in r) / len(r))
    sharpe = mean / deviation * math.sqrt(252) if deviation else None
    sortino = mean / downside * math.sqrt(252) if downside else None
else:
    sharpe = sortino = None
close("sharpeRatio", results["sharpeRatio"], sharpe)
close("sortinoRatio", results["sortinoRatio"], sortino)

peak, drawdowns = capital, []
for a in assets:
    peak = max(peak, a)
    drawdowns.append(peak - a)
max_drawdown = max(drawdowns) if drawdowns else None
close("maxDrawdown", results["maxDrawdown"], max_drawdown)
cagr, max_percent = results["cagrPercent"], results["maxDrawdownPercent"]
close("calmarRatio", results["calmarRatio"], cagr / max_percent if cagr is not None and max_percent else None)
close("recoveryFactor", results["recoveryFactor"],
      (assets[-1] - capital) / max_drawdown if max_drawdown else None)

longest, start, end, run, peak = 0, None, None, 0, capital
for i, (date, a) in enumerate(series):
    peak = max(peak, a)
    run = run + 1 if a < peak else 0
    if run > longest:
        longest, start, end = run, series[i - run + 1][0], date
assert [results["longestDrawdownDays"], results["longestDrawdownStart"], results["longestDrawdownEnd"]] == [
    longest, start, end], (results["longestDrawdownDays"], longest, start, end)

close("averageHoldingDays", results["averageHoldingDays"],
      sum(holding_days) / len(holding_days) if holding_days else None)
wins = [int(row[9]) for row in trades if int(row[9]) > 0]
losses = [-int(row[9]) for row in trades if int(row[9]) < 0]
close("payoffRatio", results["payoffRatio"],
      (sum(wins) / len(wins)) / (sum(losses) / len(losses)) if wins and losses else None)
assert len(wins) == results["wins"] and len(losses) == results["losses"]
assert results["endOfRunTrades"] == sum(row[12] == "期末決済" for row in trades)
assert results["undecidedTrades"] == len(undecided)
assert abs(results["undecidedCost"] - sum(int(row[6]) for row in undecided)) <= 0.5 * len(undecided) + 1e-6
print("trade list and figures: %d trades, %d days, ok" % (len(trades), len(days)))
