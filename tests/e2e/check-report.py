#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks a report as a browser rendered it (chromium --dump-dom) against kirvane-batch's own
outputs: the settings, every figure (equal to --json's, formatted as the page formats them), one
table row per trade equal to the --trades CSV field by field, one heatmap cell per month with a
point, the SHA-256 of the two input files, and the data block read back equal to --json.

Usage: check-report.py DOM REPORT RESULT_JSON TRADES_CSV SIGNAL_FILE INDEX_FILE
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


def main():
    dom_file, report_file, result_file, trades_file, signal_file, index_file = sys.argv[1:7]
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
        cell = next(figures[key].all("dd")).text()
        if cell != shown(key, value):
            fail(f"figure {key}: page {cell!r}, JSON {value!r}")
    cards = [n for n in root.all("div") if "card" in n.attrs.get("class", "").split()]
    if len(cards) != 7:
        fail(f"{len(cards)} cards")
    for card in cards:
        key = card.attrs["data-key"]
        value = list(card.all("div"))[1].text()
        if value != shown(key, result["results"][key]):
            fail(f"card {key}: {value!r}")

    trade_table = next(n for n in root.all("table") if n.attrs.get("id") == "trade-list")
    rows = [[c.text() for c in tr.all("td")] for tr in next(trade_table.all("tbody")).all("tr")]
    lines = list(csv.reader(io.StringIO(open(trades_file, "rb").read().decode("cp932"))))[1:]
    if len(rows) != len(lines) or len(rows) != result["results"]["trades"]:
        fail(f"{len(rows)} trade rows, {len(lines)} CSV lines")
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
