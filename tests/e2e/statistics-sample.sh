#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The statistics dialog through the real kirvane-scenario program on a copy of sample/: opened
# by 集計結果, a stock chosen from a ranking and one typed, a month's totals, and back to the
# main window. The figures were worked out separately from the sample's rows.
set -euo pipefail
scenario=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$sample/index.txt" "$sample/signals.csv" "$work/"
cd "$work"

fail() { echo "FAIL: $1"; echo "--- output:"; grep -v '^1000\[' out.txt | head -80; exit 1; }

"$scenario" > out.txt <<'SCRIPT'
click 1014
answer-open signals.csv
click 1001
click 1014
dump
select 1051 3
dump
type 1012 9115
click 1056
select 1060 1
select 1069 1
select 1071 2
dump
close
dump
SCRIPT
grep -qxF $'MSG\tシミュレーションファイルまたはindex.txtがありません。' out.txt || fail "refusal before a load"

# One file per dump: identifiers ascend within a dump, so a smaller one starts the next.
# 0: the dialog as it opens; 1: after a ranking row; 2: after a typed code and a month;
# 3: the main window again.
awk -F'\t' 'BEGIN { n = 0 } /^MSG/ { next } { id = $1 + 0; if (id < last) n++; last = id; print > ("dump" n ".txt") }' out.txt
[ -f dump3.txt ] || fail "expected four dumps"
check() { grep -qxF -- "$2" "dump$1.txt" || { echo "FAIL: dump $1: missing line: $2"; grep -v '^1000\[' "dump$1.txt"; exit 1; }; }
# Opening: simple totals, the check boxes, the heads of the lists, empty per-date fields.
check 0 $'1036\t371'
check 0 $'1042\t42.32％'
check 0 $'1040\t6.82％'
check 0 $'1041\t-5.84％'
check 0 $'1044\t-0.11％'
check 0 $'1084\t0.23％'
check 0 $'1055\t1'
check 0 $'1059\t0'
check 0 $'1046\t0'
check 0 $'1065\t'
check 0 $'1051[0]*\t銘柄選択'
check 0 $'1051[3]\tNo, 3  5745  明星海運販売'
check 0 $'1060[2]\t2005年'
check 0 $'1071[0]*\t集計方法'
check 0 $'1081\t'
# The third stock by number of signals.
check 1 $'1012\t5745'
check 1 $'1053\t明星海運販売'
check 1 $'1050\t9'
check 1 $'1065\t33.33％'
check 1 $'1067\t0.27％'
# A typed code, then January 2004.
check 2 $'1012\t9115'
check 2 $'1053\t大同硝子システム'
check 2 $'1050\t13'
check 2 $'1064\t-6.87％'
check 2 $'1067\t-2.29％'
check 2 $'1069[1]*\t 1月'
check 2 $'1073\t22'
check 2 $'1081\t-1.25％'
check 2 $'1083\t-0.49％'
# close: the main window is topmost again.
check 3 $'1019\t実行前'
check 3 $'1014\t集計結果'
echo "statistics on the sample: ok"
