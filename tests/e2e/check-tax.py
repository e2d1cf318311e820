#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the tax of an account that nets each year (taxModel 1) against kirvane-batch's trade list:
#   check-tax.py TAX_RATE CARRIED_LOSS TRADES.csv RESULT.json
# For each sale in the list's order: g = 差引益 − 手数料; within the calendar year of its 売却日 the
# running sum Y starts at minus the losses carried into the year and takes g; the sale's tax is
# TAX_RATE × max(0, Y) less the tax already charged that year. A year whose sum of g is negative
# carries that loss; a positive one uses the carried losses oldest first; a loss is usable in the
# three years after its own. CARRIED_LOSS is a loss of the year before the first day's year.
# Every sale's 税引き益 (= 差引益 − tax, rounded to the yen) and the JSON's totalTax must agree.
import json
import sys

rate, carried = float(sys.argv[1]), float(sys.argv[2])
with open(sys.argv[3], encoding="cp932", newline="") as f:
    rows = [line.split(",") for line in f.read().split("\r\n")[1:] if line]
with open(sys.argv[4], encoding="utf-8") as f:
    results = json.load(f)["results"]

first_year = int(results["days"][0]["date"][:4])
losses = [[first_year - 1, carried]] if carried > 0 else []
year, start, gains, charged, total = None, 0.0, 0.0, 0.0, 0.0
for row in rows:
    sold, commission, gross, net = int(row[3][:4]), int(row[8]), int(row[9]), int(row[10])
    if year is None or sold > year:
        if year is not None:
            if gains < 0:
                losses.append([year, -gains])
            else:
                for loss in losses:
                    used = min(gains, loss[1])
                    loss[1] -= used
                    gains -= used
        year = sold
        losses = [loss for loss in losses if loss[1] > 0 and loss[0] >= year - 3]
        start, gains, charged = -sum(loss[1] for loss in losses), 0.0, 0.0
    gains += gross - commission
    tax = rate * max(0.0, start + gains) - charged
    charged += tax
    total += tax
    assert abs(gross - tax - net) <= 0.5 + 1e-6, (row, gross - tax)
assert abs(results["totalTax"] - total) <= 1e-6 * max(1.0, abs(total)), (results["totalTax"], total)
print("account tax: %d sales, %.0f yen, ok" % (len(rows), total))
