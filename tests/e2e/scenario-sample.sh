#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real kirvane-scenario program on a copy of sample/: first start, loading, the refusals of
# the run controls, a run stepped with NEXT and finished with AUTO and ticks, its results window,
# RESET and a second run that starts again from the capital.
set -euo pipefail
scenario=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$sample/index.txt" "$sample/signals.csv" "$work/"
cd "$work"

fail() { echo "FAIL: $1"; echo "--- output:"; grep -v '^1000\[' out.txt | head -80; exit 1; }
expect() { grep -qxF -- "$1" out.txt || fail "missing line: $1"; }
count() { [ "$(grep -cxF -- "$1" out.txt)" = "$2" ] || fail "expected $2 × $1"; }

printf 'dump\n' | "$scenario" > out.txt
expect $'MSG\t初回起動：オプションファイルを作成します。'
expect $'1023\t\\5000000'
expect $'1026\t\\2000000'
expect $'1019\t実行前'
[ "$(cat kvn.conf)" = "2000000,500000,2.500000,0.200000,0.100000,300000,50000000,5,-0.030000,0,3990,1.000000,0,0,0,1,0,0" ] ||
  fail "kvn.conf"

"$scenario" > out.txt <<'SCRIPT'
answer-open signals.csv
click 1027
click 1001
select 1000 2
dump
answer-save log.csv
click 1011
click 1011
click 1001
click 1027
click 1027
click 1028
click 1027
click 1015
click 1028
tick 100000
dump
click 1090
dump
page 1120 1
sort 1123 9
type 1121 産業
dump
page 1120 2
dump
click OK
click 1015
answer-cancel
click 1011
dump
SCRIPT
count $'MSG\tシミュレーションが実行されていません。' 1
expect $'1017\t2004/01/05'
expect $'1018\t2005/06/30'
expect $'1002\t必要に応じてオプションを変更し実行ボタンを押してください。'
expect $'1000[2]*\t3862 三光産業工業 2004/01/05 126 ？ 9999/99/99 126 判定不可（データ不足）\\r\\n 1000'
expect $'1012\t3862'
expect $'1006\t9999/99/99'
count $'MSG\t実行中です。' 1
count $'MSG\t実行中は変更できません。' 1
count $'MSG\t自動実行中です。' 2
count $'MSG\tすでに自動実行中です。' 1
count $'MSG\tシミュレーション終了！' 1
expect $'1019\t終了'
expect $'1022\t(\\0)'
expect $'MSG\tキャンセルされたのでログの記録は行いません。記録したい場合は再度オプションのログの保存にチェックを入れてください。'
expect $'1019\t購入前待機'
[ "$(grep -c $'^1026\t\\\\2000000$' out.txt)" -ge 2 ] || fail "the second run starts from the capital"

# 運用成績: disabled after loading and again in the second run before its first day has closed;
# after the first run it opens on the run's 164 days.
count $'1090 [disabled]\t運用成績' 2
count $'1090\t運用成績' 1
expect $'1101\t総資産とドローダウン（日ごと）'
expect $'1101(0)\t総資産\t164\t2004/01/05\t1988030\t2005/06/30\t1529229'
expect $'1101(1)\tドローダウン率\t164\t2004/01/05\t-0.5985\t2005/06/30\t-23.53855'
expect $'1102[1]\t最終資産\t\\1,529,229'
expect $'1102[8]\t取引数\t32'
expect $'1102[14]\tプロフィットファクター\t0.23'
expect $'1103[0]\t2004/01\t\\1,711,460\t-\\288,540\t-14.43%\t3\t0'
expect $'1104[1]\t2005\t\\1,529,229\t-\\127,366\t-7.69%\t5\t0'
count $'1120[0]*\t概要' 1
# Its page 取引一覧: the 32 sales sorted by 差引益, then those whose code or name holds 産業.
expect $'1120[1]*\t取引一覧'
expect $'1121\t産業'
expect $'1122\t2 件を表示（全 32 件）'
expect $'1123[h]\tコード\t銘柄名\t購入日\t売却日\t保有日数\t株数\t購入金額\t売却金額\t手数料\t差引益 ▲\t税引き益\t利益率\t決済'
expect $'1123[0]\t3862\t三光産業工業\t2004/01/05\t2005/06/30\t542\t13,000\t\\1,638,000\t\\1,586,000\t\\3,990\t-\\52,000\t-\\52,000\t-3.17%\t期末決済'
expect $'1123[1]\t4117\t昭栄産業販売\t2004/01/27\t2004/01/28\t1\t10\t\\444,500\t\\436,500\t\\3,990\t-\\8,000\t-\\8,000\t-1.80%\t売却'
# A position of a 判定不可 row: sold by the final liquidation on the run's last day (above); 概要 says
# what such positions took of the buying power.
expect $'1109\t判定不可のシグナルから買った 5 銘柄（取得額 \\4,071,200）は期末まで保有され、期間中は平均で買付余力の 92.3% を占めました。'
expect $'1124\t合計　株数 13,010　購入金額 \\2,082,500　売却金額 \\2,022,500　手数料 \\7,980　差引益 -\\60,000　税引き益 -\\60,000'
[ "$(grep -c '^1123\[[0-9]' out.txt)" = 2 ] || fail "the filtered trade list shows 2 rows"
# Its page 月別: the returns of 18 months in two years, coloured; the months after June 2005 empty.
expect $'1125[h]\t1月\t2月\t3月\t4月\t5月\t6月\t7月\t8月\t9月\t10月\t11月\t12月\t年間'
expect $'1125[0]\t2004\t-14.43% #D73027\t-1.78% #FAE5E4\t-2.26% #F9DFDD\t-0.36% #FEFAFA\t2.73% #D4EBDE\t-0.65% #FDF6F5\t0.16% #FCFEFD\t0.00% #FFFFFF\t1.34% #EAF5EF\t-2.18% #F9E0DE\t0.23% #FBFDFC\t-0.38% #FEFAF9\t-17.17% #D73027'
expect $'1125[1]\t2005\t0.00% #FFFFFF\t0.00% #FFFFFF\t0.00% #FFFFFF\t0.00% #FFFFFF\t0.00% #FFFFFF\t-7.69% #EA918C\t.\t.\t.\t.\t.\t.\t-7.69% #EDA29E'

# The trade log of the first run: a header, then 13 fields on every line, CR LF ends.
[ -s log.csv ] || fail "no trade log"
awk -F, '{ if (NF != 13) bad = 1 } END { exit bad }' log.csv || fail "a log line without 13 fields"
[ "$(grep -c $'\r$' log.csv)" = "$(wc -l < log.csv)" ] || fail "log lines must end in CR LF"
# Ending the program. Enter presses no button of the main window. Without a run 終了 ends it at
# once; during one 終了 and Esc ask, and いいえ leaves everything as it was, AUTO stepping on.
question=$'MSG\tシミュレーション実行中です。終了しますか？'
printf 'enter\ndump\nclick 1\ndump\n' | "$scenario" signals.csv > out.txt
count $'1\t終了' 1
count "$question" 0
printf 'answer-cancel\nclick 1011\nclick 1027\nclick 1028\ntick 7\ndump\n' | "$scenario" signals.csv > kept.txt
printf 'answer-cancel\nclick 1011\nclick 1027\nanswer-no\nclick 1\nclick 1028\nanswer-no\nclose\ntick 7\ndump\nclick 1\ndump\n' |
  "$scenario" signals.csv > out.txt
count "$question" 3
grep -vxF "$question" out.txt | cmp -s - kept.txt || fail "いいえ must leave the run as it was"

echo "scenario on the sample: ok"
