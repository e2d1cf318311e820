#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kirvane-batch on a copy of sample/, as README.md shows it: the JSON result and a trade log
# whose every line has 13 fields; the trade list and the risk figures checked by check-trades.py
# against the log and the day points, on the sample and on the benchmark file (when the sample
# data generator is given).
set -euo pipefail
batch=$1
sample=$2
sample_data=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
# check-trades.py takes its holidays from Debian's python3-holidays.
debian_python=/usr/bin/python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$sample/index.txt" "$sample/signals.csv" "$work/"
cd "$work"

"$batch" --json --log out.csv --trades trades.csv signals.csv > result.json 2> messages.txt
grep -q '^{"rows":371,"startRow":0,"endRow":370,"run":{"totalAssets":' result.json || { cat result.json; exit 1; }
grep -qxF 'シミュレーション終了！' messages.txt || { cat messages.txt; exit 1; }
[ "$(head -c 11 out.csv | iconv -f CP932 -t UTF-8)" = "売買,コード" ] || exit 1
awk -F, 'NF != 13 { exit 1 }' out.csv
[ "$(wc -l < out.csv)" -gt 10 ]
"$debian_python" "$here/check-trades.py" 2000000 out.csv trades.csv result.json
if [ -n "$sample_data" ]; then
  "$sample_data" --bench bench > /dev/null
  # A thousand stocks at a time make a trade list of 28,000 lines (2.6 MB), written in pieces; a
  # writer that wrote its pieces again and again would end at the size limit.
  (cd bench && ulimit -f 32768 &&
     "$batch" --json --set maxStocks=1000 --set capital=1000000000 --log out.csv --trades trades.csv signals.csv \
       > result.json 2> messages.txt &&
     "$debian_python" "$here/check-trades.py" 1000000000 out.csv trades.csv result.json) || { cat bench/messages.txt; exit 1; }
  rm -rf bench
fi

# The sample holds five positions from 判定不可 rows to its last day, and never warns of a margin
# call; ten years of signals on weekdays (as the generator made them before it knew the holidays)
# at 3.3 times the capital in one stock warn on 18 days.
"$batch" signals.csv > summary.txt 2> /dev/null
grep -qxF '期末決済: 5 回  判定不可から購入: 5 回 (取得額 4071200 円、買付余力の平均 92.29%)  追証の可能性: 0 日 (----)' summary.txt ||
  { grep 期末決済 summary.txt; exit 1; }
mkdir ten && tar -C ten -xzf "$here/data/ten-years-on-weekdays.tar.gz"
(cd ten && "$batch" --json --set leverage=3.3 --set maxStocks=1 signals.csv > result.json 2> /dev/null)
grep -q '"marginCallDays":18,"firstMarginCallDate":"2005/03/04"' ten/result.json || { cat ten/result.json | head -c 600; exit 1; }

# A 判定不可 position held 20 business days: each is sold at the opening of the first signal day
# at least 20 business days (python3-holidays' calendar) after its purchase, not at the run's end.
"$batch" --set undecidedHoldDays=20 --trades held.csv signals.csv > /dev/null 2>&1
"$debian_python" - signals.csv held.csv <<'CHECK'
import datetime, sys, holidays
japan = holidays.Japan(years=range(2004, 2007))
def day(text): return datetime.date(*map(int, text.split("/")))
def business(d): return d.weekday() < 5 and d not in japan and (d.month, d.day) not in ((12, 31), (1, 2), (1, 3))
signals = [l.split(",") for l in open(sys.argv[1], encoding="cp932").read().splitlines()[1:]]
undecided = {(s[0], day(s[1])) for s in signals if s[6].startswith("判定不可")}
days = sorted({day(s[1]) for s in signals if s[2] != "約定せず"})  # rows not executed make no day
sold = 0
for t in [l.split(",") for l in open(sys.argv[2], encoding="cp932").read().splitlines()[1:]]:
    if (t[1], day(t[2])) not in undecided:
        continue
    due, n = day(t[2]), 0
    while n < 20:
        due += datetime.timedelta(days=1)
        n += business(due)
    expected = next((d for d in days if d >= due), None)
    assert expected and day(t[3]) == expected and t[12] == "売却", (t, due, expected)
    sold += 1
assert sold >= 5, sold
CHECK
if [ -n "$sample_data" ]; then
  # Ten years at 20.315 % in an account that nets each year, against check-tax.py's own netting.
  "$sample_data" --years 10 tenyears > /dev/null
  (cd tenyears && "$batch" --json --set taxModel=1 --set taxRate=0.20315 --trades trades.csv signals.csv \
     > result.json 2> /dev/null && "$debian_python" "$here/check-tax.py" 0.20315 500000 trades.csv result.json)
fi

# No listed row: status 1 and the message.
printf 'h\r\n' > empty.csv
if "$batch" --json empty.csv > result.json 2> messages.txt; then exit 1; else [ $? = 1 ]; fi
grep -qxF '{"rows": 0}' result.json
# Standard output on a full disk: the failure is said and the status is 3.
if "$batch" signals.csv > /dev/full 2> messages.txt; then exit 1; else [ $? = 3 ]; fi
grep -q 'could not be written to standard output' messages.txt
if "$batch" --help > /dev/full 2> /dev/null; then exit 1; else [ $? = 3 ]; fi
# A closed standard output: said, status 3, and no file opened later takes its place.
if "$batch" --equity days.csv signals.csv >&- 2> messages.txt; then exit 1; else [ $? = 3 ]; fi
grep -q 'could not be written to standard output' messages.txt
[ "$(head -c 7 days.csv)" = "$(printf '\x93\xfa\x95t,\x91\x8d')" ] || { head -c 40 days.csv | od -c; exit 1; }

# No FIFO blocks the run, as an input or an output (the deadline turns a hang into a failure).
within() { set +e; timeout 20 "$@" > out.txt 2> messages.txt; status=$?; set -e; }
mkfifo fifo.csv
within "$batch" fifo.csv
[ "$status" = 1 ] && grep -qxF 'ファイルをオープンできません' messages.txt || { echo "$status"; cat messages.txt; exit 1; }
for option in --log --equity; do
  within "$batch" "$option" fifo.csv signals.csv
  [ "$status" = 2 ] && grep -q 'fifo.csv cannot be opened: Not a regular file' messages.txt ||
    { echo "$option $status"; cat messages.txt; exit 1; }
done
mkdir master && mkfifo master/index.txt
(cd master && within "$batch" ../signals.csv && [ "$status" = 2 ] && grep -q 'Not a regular file' messages.txt) ||
  { cat master/messages.txt; exit 1; }
mv kvn.conf kvn.saved && mkfifo kvn.conf
within "$batch" signals.csv
[ "$status" = 0 ] && grep -q 'Not a regular file' messages.txt && [ -p kvn.conf ] || { cat messages.txt; exit 1; }
rm kvn.conf && mv kvn.saved kvn.conf

# A file beyond the size limit is refused with a message, not read until memory runs out.
truncate -s 300M huge.csv
within "$batch" huge.csv
[ "$status" = 1 ] && grep -q 'ファイルが大きすぎるため読み込めません' messages.txt || { echo "$status"; cat messages.txt; exit 1; }
echo "batch on the sample: ok"
