#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks a report as a browser rendered it (chromium --dump-dom) against kirvane-batch's own
outputs: the settings, every figure (equal to --json's, formatted as the page formats them), one
table row per trade equal to the --trades CSV field by field, one heatmap cell per month with a
point, the SHA-256 of the two input files, and the data block read back equal to --json.

The day figures and the key results are also recomputed here from --equity's assets and the
--trades list, since the page and --json are written from the same figures.

Usage: check-report.py DOM REPORT RESULT_JSON TRADES_CSV SIGNAL_FILE INDEX_FILE EQUITY_CSV
"""
import csv
import decimal
import hashlib
import io
import json
import sys
from html.parser import HTMLParser

VOID = {"meta", "br", "img", "input", "link", "hr", "area", "base", "col", "embed", "source", "track", "wbr"}


class Node:
    def __init__(self, tag, attrs, parent):
        self.tag, self.attrs, self.parent, self.children = tag, dict(attrs), parent, []

    def text(self):
        return "".join(c if isinstance(c, str) else c.text() for c in self.children)

    def all(self, tag=None):
        for c in self.children:
            if isinstance(c, Node):
                if tag is None or c.tag == tag:
                    yield c
                yield from c.all(tag)


class Tree(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.root = Node("#root", [], None)
        self.at = self.root

    def handle_starttag(self, tag, attrs):
        node = Node(tag, attrs, self.at)
        self.at.children.append(node)
        if tag not in VOID:
            self.at = node

    def handle_endtag(self, tag):
        at = self.at
        while at is not self.root and at.tag != tag:
            at = at.parent
        if at is not self.root:
            self.at = at.parent

    def handle_data(self, data):
        self.at.children.append(data)


def fail(message):
    print("check-report:", message)
    sys.exit(1)


def rounded(value, decimals):
    q = decimal.Decimal(1).scaleb(-decimals)
    return decimal.Decimal(value).quantize(q, rounding=decimal.ROUND_HALF_UP)


def grouped(value, decimals):
    r = rounded(value, decimals)
    sign = "-" if r < 0 else ""
    return sign + f"{abs(r):,.{decimals}f}"


def yen(value):
    r = rounded(value, 0)
    return ("-" if r < 0 else "") + "¥" + f"{abs(r):,.0f}"


MONEY = {"capital", "finalAssets", "maxDrawdown", "grossProfit", "grossLoss", "averageWin", "averageLoss",
         "expectancy", "largestWin", "largestLoss", "totalCommission", "totalTax", "undecidedCost"}
PERCENT = {"totalReturnPercent", "cagrPercent", "maxDrawdownPercent", "winRatePercent", "exposurePercent",
           "undecidedExposurePercent"}
RATIO = {"profitFactor", "sharpeRatio", "sortinoRatio", "calmarRatio", "recoveryFactor", "averageHoldingDays",
         "payoffRatio"}


# Drawdowns are held as sizes and shown as falls.
FALLS = {"maxDrawdown", "maxDrawdownPercent"}


# Figures whose sign is their colour: the negative class below 0, the positive one above.
SIGNED = {"totalReturnPercent", "cagrPercent", "expectancy"}


def toned(key, value, node):
    classes = node.attrs.get("class", "").split()
    if key in SIGNED and value is not None and (("neg" in classes) != (value < 0) or ("pos" in classes) != (value > 0)):
        fail(f"figure {key} {value} has the classes {classes}")


def shown(key, value):
    if value is None:
        return "----"
    if key in FALLS and value != 0:
        value = -value
    if key in MONEY:
        return yen(value)
    if key in PERCENT:
        return grouped(value, 2) + "%"
    if key in RATIO:
        return grouped(value, 2)
    if isinstance(value, str):
        return value
    return grouped(value, 0)


def near(name, got, expected, tolerance=1e-6):
    if got is None or expected is None:
        if got is not expected:
            fail(f"{name}: {got!r}, expected {expected!r}")
    elif abs(got - expected) > tolerance * max(1.0, abs(expected)):
        fail(f"{name}: {got!r}, expected {expected!r}")


def recomputed(results, capital, equity_file, lines):
    """The day points' drawdowns and the key results from the equity file and the trade list."""
    equity = [line.split(",") for line in open(equity_file, encoding="cp932", newline="").read().split("\r\n")[1:] if line]
    days = results["days"]
    if len(equity) != len(days) or not days:
        fail(f"{len(equity)} equity lines for {len(days)} days")
    peak = capital
    worst = worst_percent = 0.0
    for day, (date, assets, drawdown, percent) in zip(days, equity):
        if date != day["date"] or abs(float(assets) - day["assets"]) > 0.5:
            fail(f"day {day} is not the equity line {date},{assets}")
        peak = max(peak, day["assets"])
        fall = peak - day["assets"]
        share = fall / peak * 100 if peak > 0 else 0.0
        near(f"drawdown of {date}", day["drawdown"], fall)
        near(f"drawdown % of {date}", day["drawdownPercent"], share)
        if abs(float(drawdown) - fall) > 0.5 + 1e-6 or abs(float(percent) - share) > 0.005 + 1e-9:
            fail(f"equity line {date}: {drawdown}, {percent}; expected {fall}, {share}")
        worst, worst_percent = max(worst, fall), max(worst_percent, share)
    final = days[-1]["assets"]
    gross = [int(line[9]) for line in lines]
    wins, losses = [g for g in gross if g > 0], [-g for g in gross if g < 0]
    near("finalAssets", results["finalAssets"], final)
    near("totalReturnPercent", results["totalReturnPercent"], (final / capital - 1) * 100)
    near("maxDrawdown", results["maxDrawdown"], worst)
    near("maxDrawdownPercent", results["maxDrawdownPercent"], worst_percent)
    near("grossProfit", results["grossProfit"], sum(wins))
    near("grossLoss", results["grossLoss"], sum(losses))
    near("winRatePercent", results["winRatePercent"], len(wins) / len(gross) * 100 if gross else None)
    near("largestWin", results["largestWin"], max(wins) if wins else None)
    near("largestLoss", results["largestLoss"], max(losses) if losses else None)
    if [results["trades"], results["wins"], results["losses"]] != [len(gross), len(wins), len(losses)]:
        fail(f"trades, wins, losses: {results['trades']}, {results['wins']}, {results['losses']}")


def main():
    dom_file, report_file, result_file, trades_file, signal_file, index_file, equity_file = sys.argv[1:8]
    tree = Tree()
    tree.feed(open(dom_file, encoding="utf-8").read())
    root = tree.root
    raw = open(report_file, encoding="utf-8").read()
    result = json.load(open(result_file, encoding="utf-8"))

    # Nothing from outside the file.
    for node in root.all():
        if node.tag in ("link", "img", "iframe", "object") or "src" in node.attrs:
            fail(f"an outside resource: <{node.tag} {node.attrs}>")

    settings = [n for n in root.all() if "data-setting" in n.attrs]
    if len(settings) != 19 or any(not n.text().strip() for n in settings):
        fail(f"{len(settings)} settings rows")

    figures = {n.attrs["data-key"]: n for n in root.all("div") if "data-key" in n.attrs and "class" not in n.attrs}
    # The capital setting is written as the capital figure is (the run starts from it).
    capital = next(next(n.all("dd")).text() for n in settings if n.attrs["data-setting"] == "capital")
    if capital != next(figures["capital"].all("dd")).text():
        fail(f"setting capital {capital!r}")
    for key, value in result["results"].items():
        if key in ("days", "months", "years"):
            continue
        dd = next(figures[key].all("dd"))
        if dd.text() != shown(key, value):
            fail(f"figure {key}: page {dd.text()!r}, JSON {value!r}")
        toned(key, value, dd)
    cards = [n for n in root.all("div") if "card" in n.attrs.get("class", "").split()]
    if len(cards) != 7:
        fail(f"{len(cards)} cards")
    for card in cards:
        key = card.attrs["data-key"]
        value = list(card.all("div"))[1]
        if value.text() != shown(key, result["results"][key]):
            fail(f"card {key}: {value.text()!r}")
        toned(key, result["results"][key], value)

    # The drawdown panel's axis: falls, so every label but 0% is negative.
    axis = [n.text() for n in root.all("text") if n.attrs.get("class") == "y" and n.text().endswith("%")]
    if len(axis) < 2 or axis[0] != "0%" or any(not label.startswith("-") for label in axis[1:]):
        fail(f"drawdown axis {axis}")

    trade_table = next(n for n in root.all("table") if n.attrs.get("id") == "trade-list")
    rows = [[c.text() for c in tr.all("td")] for tr in next(trade_table.all("tbody")).all("tr")]
    lines = list(csv.reader(io.StringIO(open(trades_file, "rb").read().decode("cp932"))))[1:]
    if len(rows) != len(lines) or len(rows) != result["results"]["trades"]:
        fail(f"{len(rows)} trade rows, {len(lines)} CSV lines")
    recomputed(result["results"], float(capital.replace("¥", "").replace(",", "")), equity_file, lines)
    for row, line in zip(rows, lines):
        page = [row[0], row[1].replace("¥", "\\")] + row[2:4] + [f.replace(",", "").rstrip("%") for f in row[4:]]
        if page != line:
            fail(f"trade row {row} is not the CSV's {line}")

    cells = [n for n in root.all("td") if "m" in n.attrs.get("class", "").split()]
    if len(cells) != len(result["results"]["months"]):
        fail(f"{len(cells)} heatmap cells for {len(result['results']['months'])} months")

    for node_id, file in (("signal-sha256", signal_file), ("index-sha256", index_file)):
        digest = next(n for n in root.all("dd") if n.attrs.get("id") == node_id).text()
        if digest != hashlib.sha256(open(file, "rb").read()).hexdigest():
            fail(f"{node_id} {digest}")

    blocks = [n for n in root.all("script") if n.attrs.get("id") == "kirvane-data"]
    if len(blocks) != 1 or blocks[0].attrs.get("type") != "application/json":
        fail("no single data block")
    data = json.loads(blocks[0].text())
    statistics = dict(result["statistics"])
    del statistics["stocks"]
    if data["results"] != result["results"] or data["statistics"] != statistics:
        fail("the data block differs from --json")
    start = raw.index('id="kirvane-data">')
    if "<" in raw[start + 18:raw.index("</script>", start)]:
        fail("a raw < in the data block")
    print(f"report: {len(settings)} settings, {len(figures)} figures, {len(rows)} trades, {len(cells)} months")


if __name__ == "__main__":
    main()
