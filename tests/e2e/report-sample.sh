#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kirvane-batch --report on a copy of sample/, rendered by a real browser (headless chromium):
# the rendered page holds what the batch tool computed (check-report.py), a screenshot is not
# blank, and printing gives a PDF. A stock master whose name is markup shows it as text and runs
# nothing. The benchmark file's report (when the sample data generator is given) stays under
# 1 MB, the sample's under 300 KB. Without chromium the test is skipped (status 77).
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

"$batch" --json --trades trades.csv --report report.html signals.csv > result.json 2> messages.txt
size=$(stat -c %s report.html)
[ "$size" -lt 300000 ] || { echo "sample report: $size bytes"; exit 1; }
render dom dom.html "$work/report.html"
python3 "$here/check-report.py" dom.html report.html result.json trades.csv signals.csv index.txt
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

# Markup in a stock name and in the file name is text on the page, never an element.
mkdir hostile
hostile='<script>alert(1)</script>'
traded=$(printf '九州繊維' | iconv -f UTF-8 -t CP932)  # bought on the first day
sed "s|$traded|$hostile|" index.txt > hostile/index.txt
sed "s|$traded|$hostile|" signals.csv > "hostile/<img src=x onerror=alert(2)>.csv"
(cd hostile && "$batch" --report report.html "<img src=x onerror=alert(2)>.csv" > /dev/null 2>&1)
! grep -qF "$hostile" hostile/report.html || { echo "the name stands unescaped in the page"; exit 1; }
render dom hostile/dom.html "$work/hostile/report.html"
python3 -c "
import sys
sys.path.insert(0, '$here')
exec(open('$here/check-report.py').read().split('def fail')[0])
tree = Tree()
tree.feed(open('hostile/dom.html', encoding='utf-8').read())
scripts = list(tree.root.all('script'))
names = [td.text() for td in tree.root.all('td')]
assert len(scripts) == 2 and all(s.attrs.get('id') == 'kirvane-data' or not s.attrs for s in scripts), scripts
assert not list(tree.root.all('img')), 'an img element from the file name'
assert '$hostile' in names, 'the name is not shown as text'
assert '<img src=x onerror=alert(2)>.csv' in next(tree.root.all('h1')).text()
# This index.txt leaves 62 bytes in its last 64-byte block: the digest's padding needs a block more.
import hashlib
digest = next(n for n in tree.root.all('dd') if n.attrs.get('id') == 'index-sha256').text()
assert digest == hashlib.sha256(open('hostile/index.txt', 'rb').read()).hexdigest(), digest
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
