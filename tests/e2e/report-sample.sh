#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kirvane-batch --report on a copy of sample/, rendered by a real browser (headless chromium):
# the rendered page holds what the batch tool computed (check-report.py), a screenshot is not
# blank, and printing gives a PDF; the trade list sorts when its headings are clicked. A stock
# master whose names are markup shows them as text and runs nothing. The benchmark file's report
# (when the sample data generator is given) stays under 1 MB, the sample's under 300 KB. Without
# chromium the test is skipped (status 77).
set -euo pipefail
batch=$1
sample=$2
sample_data=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ] || ! command -v pdfinfo > /dev/null; then
  echo "chromium or pdfinfo missing (scripts/install-deps.sh installs them)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$sample/index.txt" "$sample/signals.csv" "$work/"
cd "$work"
export HOME="$work"  # the browser's profile and caches stay in the temporary folder

render() {  # render MODE OUTPUT PAGE: one headless browser run, bounded in time
  local flags=(--headless --no-sandbox --disable-gpu --hide-scrollbars --no-first-run
    --user-data-dir="$work/profile" --window-size=1200,1800)
  case $1 in
  dom) timeout 60 "$browser" "${flags[@]}" --dump-dom "file://$3" > "$2" 2> browser.log ;;
  png) timeout 60 "$browser" "${flags[@]}" --screenshot="$2" "file://$3" > /dev/null 2> browser.log ;;
  pdf) timeout 60 "$browser" "${flags[@]}" --no-pdf-header-footer --print-to-pdf="$2" "file://$3" > /dev/null 2> browser.log ;;
  esac || { cat browser.log; exit 1; }
}

"$batch" --json --trades trades.csv --equity days.csv --report report.html signals.csv > result.json 2> messages.txt
size=$(stat -c %s report.html)
[ "$size" -lt 300000 ] || { echo "sample report: $size bytes"; exit 1; }
render dom dom.html "$work/report.html"
python3 "$here/check-report.py" dom.html report.html result.json trades.csv signals.csv index.txt days.csv
# Rates read in percent among the settings.
for rate in '"taxRate"><dt>税率</dt><dd>10%' '"marginMaintenanceRate"><dt>追証最低保障率</dt><dd>20%'; do
  grep -qF "<div data-setting=$rate</dd>" report.html || { echo "setting $rate"; exit 1; }
done
# The trade list sorted by clicks on 購入日, 売却日 and 差引益, each twice: ascending with ▲ first,
# then descending with ▼; dates as dates, amounts as numbers.
sed 's|</body>|<script>(function(){var t=document.getElementById("trade-list"),h=t.tHead.rows[0].cells,out=[];[2,2,3,3,9,9].forEach(function(i){h[i].click();out.push([i,h[i].getAttribute("aria-sort"),getComputedStyle(h[i],"::after").content,Array.prototype.map.call(t.tBodies[0].rows,function(r){return r.cells[i].textContent;})]);});var p=document.createElement("pre");p.id="probe";p.textContent=JSON.stringify(out);document.body.appendChild(p);})();</script></body>|' report.html > sorted.html
render dom sorted-dom.html "$work/sorted.html"
python3 - sorted-dom.html <<'CHECK'
import html, json, re, sys
out = json.loads(html.unescape(re.search(r'<pre id="probe">(.*?)</pre>', open(sys.argv[1], encoding="utf-8").read()).group(1)))
for k, (column, order, arrow, cells) in enumerate(out):
    down = k % 2 == 1
    assert (order, arrow) == (("descending", '" ▼"') if down else ("ascending", '" ▲"')), (column, order, arrow)
    keys = cells if column != 9 else [int(c.replace(",", "")) for c in cells]
    assert keys == sorted(keys, reverse=down), (column, order, cells)
print("trade list: sorted by dates and amounts, both ways")
CHECK
render png shot.png "$work/report.html"
deviation=$(convert shot.png -format '%[fx:standard_deviation]' info:)
python3 -c "import sys; sys.exit(0 if float('$deviation') > 0.05 else 1)" || { echo "blank screenshot: $deviation"; exit 1; }
render pdf report.pdf "$work/report.html"
# On paper there is no pointer: the print style leaves out the hint about resting it on a point.
grep -q '<p class="note hint">点にマウス' report.html && grep -q '^ \.hint{display:none}' report.html
pages=$(pdfinfo report.pdf | awk '/^Pages:/ { print $2 }')
[ "${pages:-0}" -ge 1 ] || { pdfinfo report.pdf; exit 1; }
echo "sample report: $size bytes, $pages A4 pages"

# A report is an output like the others: refused onto an input, and a failed write is said
# after the result, with status 3.
if "$batch" --report index.txt signals.csv > out.txt 2> messages.txt; then exit 1; else [ $? = 2 ]; fi
grep -q 'the report index.txt would overwrite the input' messages.txt || { cat messages.txt; exit 1; }
if "$batch" --report /dev/full signals.csv > out.txt 2> messages.txt; then exit 1; else [ $? = 3 ]; fi
grep -q '/dev/full cannot be written' messages.txt && grep -q '^最終資産: ' out.txt || { cat messages.txt; exit 1; }

# Markup in a stock name and in the file name is text on the page, never an element: a name that
# reads R&amp;D keeps its "&amp;", and one that would close a script leaves the data block whole.
mkdir hostile
traded=$(printf '九州繊維' | iconv -f UTF-8 -t CP932)  # bought on the first day
other=$(printf '東邦商事' | iconv -f UTF-8 -t CP932)
sed "s|$traded|</script/x><b>bold</b>|; s|$other|R\&amp;D-100|" index.txt > hostile/index.txt
sed "s|$traded|</script/x><b>bold</b>|; s|$other|R\&amp;D-100|" signals.csv > "hostile/<img src=x onerror=alert(2)>.csv"
(cd hostile && "$batch" --report report.html "<img src=x onerror=alert(2)>.csv" > /dev/null 2>&1)
! grep -qF "</script/x><b>" hostile/report.html || { echo "the name stands unescaped in the page"; exit 1; }
render dom hostile/dom.html "$work/hostile/report.html"
python3 -c "
import json, sys
sys.path.insert(0, '$here')
exec(open('$here/check-report.py').read().split('def fail')[0])
tree = Tree()
tree.feed(open('hostile/dom.html', encoding='utf-8').read())
scripts = list(tree.root.all('script'))
names = [td.text() for td in tree.root.all('td')]
assert len(scripts) == 2 and all(s.attrs.get('id') == 'kirvane-data' or not s.attrs for s in scripts), scripts
assert not list(tree.root.all('img')), 'an img element from the file name'
assert '</script/x><b>bold</b>' in names and 'R&amp;D-100' in names and 'R&D-100' not in names, 'the names are not shown as text'
data = json.dumps(json.loads(scripts[0].text())['statistics']['rankings'], ensure_ascii=False)
assert '</script/x><b>bold</b>' in data and 'R&amp;D-100' in data, 'the names are not in the data block'
assert not list(tree.root.all('b')), 'a b element from a name'
assert '<img src=x onerror=alert(2)>.csv' in next(tree.root.all('h1')).text()
# This index.txt leaves 62 bytes in its last 64-byte block: the digest's padding needs a block more.
import hashlib
digest = next(n for n in tree.root.all('dd') if n.attrs.get('id') == 'index-sha256').text()
assert digest == hashlib.sha256(open('hostile/index.txt', 'rb').read()).hexdigest(), digest
assert len(open('hostile/index.txt', 'rb').read()) % 64 == 62
print('hostile names: shown as text; index.txt', len(open('hostile/index.txt', 'rb').read()) % 64, 'bytes in its last block')
"

if [ -n "$sample_data" ]; then
  "$sample_data" --bench bench > /dev/null
  (cd bench && "$batch" --report report.html signals.csv > /dev/null 2> messages.txt) || { cat bench/messages.txt; exit 1; }
  size=$(stat -c %s bench/report.html)
  [ "$size" -lt 1000000 ] || { echo "benchmark report: $size bytes"; exit 1; }
  echo "benchmark report: $size bytes"
fi
echo "report on the sample: ok"
