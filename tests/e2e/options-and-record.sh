#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real kirvane-scenario program on a copy of sample/: オプション changes the capital and the
# leverage and rewrites kvn.conf; after a logged run 売買履歴 shows the trade record, and
# CSV保存 writes a file byte-identical to the run's trade log.
set -euo pipefail
scenario=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$sample/index.txt" "$sample/signals.csv" "$work/"
cd "$work"

fail() { echo "FAIL: $1"; echo "--- output:"; grep -v '^1000\[' out.txt | cut -c1-200 | head -80; exit 1; }
expect() { grep -qxF -- "$1" out.txt || fail "missing line: $1"; }

"$scenario" > out.txt <<'SCRIPT'
click 1016
type 1024 1000000
type 1026 3
click OK
dump
SCRIPT
expect $'1023\t\\3000000'
expect $'1026\t\\1000000'
[ "$(cat kvn.conf)" = "1000000,500000,3.000000,0.200000,0.100000,300000,50000000,5,-0.030000,0,3990,1.000000,0,0,0,1,0,0" ] ||
  fail "kvn.conf was not rewritten"

mkdir saved
"$scenario" > out.txt <<'SCRIPT'
answer-open signals.csv
click 1001
answer-save log.csv
click 1011
click 1028
tick 100000
click 1031
dump
answer-save saved/record.csv
click 1024
click OK
SCRIPT
expect $'MSG\tシミュレーション終了！'
[ -s log.csv ] || fail "no trade log"
# The viewer shows the log with blanks for its commas, CR LF printed as \r\n.
record=$(iconv -f CP932 -t UTF-8 log.csv | tr ',' ' ' | sed 's/\r$/\\r\\n/' | tr -d '\n')
expect $'1031\t'"$record"
cmp log.csv saved/record.csv || fail "the saved record differs from the trade log"
echo "options and trade record on the sample: ok"
