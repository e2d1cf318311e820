#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kirvane-sweep on a copy of sample/, as README.md shows it: a sweep over operatingRate and
# maxStocks (its output as the README shows it), and the same grid split in two shards and merged
# back with the shell commands the README gives, by hand and through GNU parallel. The
# optimisation window (through kirvane-scenario) shows the table kirvane-sweep writes.
set -euo pipefail
sweep=$1
sample=$2
scenario=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$sample/index.txt" "$sample/signals.csv" "$work/"
cd "$work"

grid=(--vary operatingRate=0.5:1:0.25 --vary maxStocks=3,5,8)
"$sweep" "${grid[@]}" signals.csv > all.csv 2> messages.txt
[ "$(head -n 1 all.csv)" = "operatingRate,maxStocks,combination,finalAssets,totalReturnPercent,cagrPercent,maxDrawdownPercent,profitFactor,winRatePercent,trades,purchases,sales" ] || { head -n 1 all.csv; exit 1; }
[ "$(wc -l < all.csv)" = 10 ] || { cat all.csv; exit 1; }
[ "$(sed -n 2p all.csv | cut -d, -f1-3)" = "0.50,3,0" ] || { cat all.csv; exit 1; }
[ "$(sed -n 10p all.csv | cut -d, -f1-3)" = "1.00,8,8" ] || { cat all.csv; exit 1; }
# The README shows this very output.
awk '/^operatingRate,maxStocks,combination,/ { shown = 1 } shown && /^```/ { exit } shown' \
    "$sample/../README.md" | diff - all.csv

# Two shards, as two machines would run them, merged back into grid order.
"$sweep" --shard 0/2 "${grid[@]}" signals.csv > part0.csv 2> /dev/null
"$sweep" --shard 1/2 "${grid[@]}" signals.csv > part1.csv 2> /dev/null
{ head -n 1 part0.csv; tail -q -n +2 part0.csv part1.csv | sort -t, -k3,3n; } > merged.csv
cmp all.csv merged.csv

# The same two shards as separate processes through GNU parallel, merged as the README merges
# the parts that come back from its hosts (here the local machine, ":").
command -v parallel > /dev/null || { echo "GNU parallel is missing (scripts/install-deps.sh installs it)"; exit 1; }
parallel --will-cite -k -S : --wd "$work" \
    "'$sweep' --shard {}/2 ${grid[*]} signals.csv 2> /dev/null" ::: 0 1 > parts.csv
{ head -n 1 parts.csv; grep -v '^operatingRate,' parts.csv | sort -t, -k3,3n; } > merged-parallel.csv
[ "$(grep -c '^operatingRate,' parts.csv)" = 2 ] || { cat parts.csv; exit 1; }
cmp all.csv merged-parallel.csv

# The optimisation window, opened with 最適化 (1091): a 2 × 2 grid given as two lists, run with
# 開始 (1214), and the same grid with a hold-out. Its table (1218) ranks the combinations as
# kirvane-sweep --sort ranks them, and CSV保存 (1221) writes kirvane-sweep's lines (with CR LF, as
# every file the window writes); a grid above 10,000 combinations is refused before it runs.
# window_table gives the table's combination column, the heading first.
window_table() {
  "$scenario" > window.txt
  grep '^1218\[' window.txt | cut -f4
}
combinations() { cut -d, -f3 "$1"; }
window_table > window.csv <<'SCRIPT'
answer-open signals.csv
click 1001
click 1091
select 1201 8
type 1205 0.5,1
select 1206 7
type 1210 3,5
select 1211 2
click 1214
dump
answer-save saved.csv
click 1221
SCRIPT
"$sweep" --sort cagrPercent --vary operatingRate=0.5,1 --vary maxStocks=3,5 signals.csv > sorted.csv 2> /dev/null
[ "$(wc -l < window.csv)" = 5 ] || { cat window.txt; exit 1; }
diff <(combinations sorted.csv | tail -n +2) <(tail -n +2 window.csv)
# The table speaks the window's language: captions and formatted figures.
grep -qxF $'1218[h]\t運用率\t最大購入銘柄数\t組合せ\t最終資産\t総収益率\t年率収益率 (CAGR)\t最大ドローダウン率\tプロフィットファクター\t勝率\t取引数\t購入数\t売却数' window.txt
grep -q $'^1218\[[0-9]\]\t1\t5\t3\t\\\\1,529,229\t-23.54%\t-16.54%\t-23.54%\t0.23\t34.38%\t32\t32\t32$' window.txt
[ "$(grep -c $'\r$' saved.csv)" = 5 ] || { od -c saved.csv | head; exit 1; }
tr -d '\r' < saved.csv | cmp sorted.csv -
grep -qxF $'1216\t4/4' window.txt  # the progress bar
# The axes offer the settings a run reads, each by its caption: the trade order, not short selling.
grep -qF $'\t売買の順序 (tradeOrder)' window.txt
if grep -q shortSellSystem window.txt; then echo "short selling offered as an axis"; exit 1; fi
window_table > window.csv <<'SCRIPT'
answer-open signals.csv
click 1001
click 1091
type 1212 2005/01/04
click 1214
dump
SCRIPT
"$sweep" --sort finalAssets --holdout-from 2005/01/04 --vary operatingRate=0.5:1:0.25 --vary maxStocks=3,5,8 \
    signals.csv > sorted.csv 2> /dev/null
[ "$(wc -l < window.csv)" = 10 ] || { cat window.txt; exit 1; }
diff <(combinations sorted.csv | tail -n +2) <(tail -n +2 window.csv)
window_table > window.csv <<'SCRIPT'
answer-open signals.csv
click 1001
click 1091
type 1205 1:101:1
type 1210 1:100:1
click 1214
dump
SCRIPT
grep -qxF $'MSG\t組合せが 10,100 あります。一度に実行できるのは 10,000 までです（それより大きな格子は kirvane-sweep で）。' window.txt
if grep -q '^1218\[0\]' window.txt; then exit 1; fi
# A double-click on a row or a cell asks, and on yes stores that combination's values in
# kvn.conf (operatingRate at position 11, maxStocks at 7): here 0.75 and 8 from a cell,
# then いいえ to the first row (0.5 and 3).
"$scenario" > window.txt <<'SCRIPT'
answer-open signals.csv
click 1001
click 1091
click 1214
activate 1219 1 2
answer-no
activate 1218 0
SCRIPT
grep -qxF $'MSG\t運用率 0.75、最大購入銘柄数 8 をオプションに反映しますか？' window.txt
grep -qxF $'MSG\t運用率 0.50、最大購入銘柄数 3 をオプションに反映しますか？' window.txt
[ "$(cut -d, -f8,12 kvn.conf)" = "8,0.750000" ] || { cat kvn.conf; exit 1; }
# Sorted by a heading (finalAssets, smallest first), a double-click takes the row it hits.
printf 'answer-open signals.csv\nclick 1001\nclick 1091\nclick 1214\nsort 1218 3\nactivate 1218 1\n' |
  "$scenario" > window.txt
[ "$(cut -d, -f8,12 kvn.conf)" = "3,0.750000" ] || { cat kvn.conf; exit 1; }

# Walk-forward, 6 months to choose and 3 to check: four windows, from the sample's first date
# (2004/01/05) on, whose dates are those of the first and last row in each part; the summary
# follows as comment lines, and the JSON has the same windows and one summary object.
"$sweep" --walk-forward 6:3 --vary operatingRate=0.5,1 --vary maxStocks=3,5 signals.csv > wf.csv 2> /dev/null
diff <(grep -v '^#' wf.csv | cut -d, -f1-5) - <<'TABLE'
window,inSampleStart,inSampleEnd,outOfSampleStart,outOfSampleEnd
0,2004/01/05,2004/06/30,2004/07/05,2004/09/30
1,2004/04/07,2004/09/30,2004/10/05,2005/01/04
2,2004/07/05,2005/01/04,2005/01/05,2005/04/04
3,2004/10/05,2005/04/04,2005/04/05,2005/06/30
TABLE
[ "$(grep '^# ' wf.csv | cut -d, -f1 | tr '\n' ' ')" = "# windows # chainedFinalAssets # chainedReturnPercent # chainedCagrPercent # chainedMaxDrawdownPercent # efficiency # positiveWindowsPercent # choiceChanges " ] ||
  { cat wf.csv; exit 1; }
"$sweep" --json --walk-forward 6:3 --vary operatingRate=0.5,1 --vary maxStocks=3,5 signals.csv > wf.jsonl 2> /dev/null
[ "$(wc -l < wf.jsonl)" = 5 ] && tail -n 1 wf.jsonl | grep -q '^{"walkForward":{"windows":4,"chainedFinalAssets":' ||
  { cat wf.jsonl; exit 1; }
# The oos figures agree between the two forms (the CSV rounds to 6 decimals).
python3 - wf.csv wf.jsonl <<'PY'
import csv, json, sys
rows = [r for r in csv.DictReader(l for l in open(sys.argv[1]) if not l.startswith('#'))]
objs = [json.loads(l) for l in open(sys.argv[2])][:-1]
assert len(rows) == len(objs) == 4
for r, o in zip(rows, objs):
    for k, v in o.items():
        assert r[k] == v if isinstance(v, str) else (r[k] == '') if v is None else abs(float(r[k]) - float(v)) <= 5e-7 * max(1, abs(float(v))), (k, r[k], v)
PY

# A refusal names what is wrong and runs nothing.
if "$sweep" --vary maxStocks=1:5:0 signals.csv > out.csv 2> messages.txt; then exit 1; else [ $? = 2 ]; fi
grep -q 'STEP が 0 です' messages.txt
[ ! -s out.csv ]

# Standard output that cannot be written: said, and status 3, as kirvane-batch does.
for target in /dev/full -; do
  set +e
  if [ "$target" = - ]; then "$sweep" "${grid[@]}" signals.csv >&- 2> messages.txt; else
    "$sweep" "${grid[@]}" signals.csv > "$target" 2> messages.txt; fi
  status=$?
  set -e
  [ "$status" = 3 ] && grep -q 'could not be written to standard output' messages.txt ||
    { echo "$target: $status"; cat messages.txt; exit 1; }
done
if "$sweep" --help > /dev/full 2> /dev/null; then exit 1; else [ $? = 3 ]; fi

# A FIFO or a file beyond the size limit as the signal file: refused at once, status 1.
mkfifo fifo.csv
truncate -s 300M huge.csv
for file in fifo.csv huge.csv; do
  set +e
  timeout 20 "$sweep" --vary maxStocks=1,2 "$file" > out.csv 2> messages.txt
  status=$?
  set -e
  [ "$status" = 1 ] && [ ! -s out.csv ] || { echo "$file: $status"; cat messages.txt; exit 1; }
done
grep -q 'ファイルが大きすぎるため読み込めません' messages.txt
# 最適化's walk-forward: the windows and the chained figures of kirvane-sweep --walk-forward on the
# same grid (the window's first grid), the plain run beside them; a malformed I:S is refused.
"$scenario" > window.txt <<'SCRIPT'
answer-open signals.csv
click 1001
click 1091
type 1223 6:3
click 1214
dump
type 1223 6-3
click 1214
SCRIPT
"$sweep" --walk-forward 6:3 --vary operatingRate=0.5:1:0.25 --vary maxStocks=3,5,8 signals.csv > wf.csv 2> /dev/null
[ "$(grep -c '^1218\[[0-9]' window.txt)" = "$(grep -c '^[0-9]' wf.csv)" ] || { cat window.txt; exit 1; }
chained=$(sed -n 's/^# chainedFinalAssets,//p' wf.csv)
shown=$(printf '%.0f' "$chained" | sed ':a;s/\B[0-9]\{3\}\>/,&/;ta')
grep -q "^1222	ウォークフォワード 4 窓：検証期間をつないだ最終資産 \\\\$shown" window.txt || { grep ^1222 window.txt; echo "$shown"; exit 1; }
grep -q '^1222(1)	通常の実行' window.txt
grep -qF 'MSG	ウォークフォワード「6-3」は「最適化の月数:検証の月数」' window.txt
echo "sweep on the sample: ok"
