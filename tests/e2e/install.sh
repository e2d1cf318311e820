#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary root, as the Debian package does (prefix /usr under
# DESTDIR), and checks what a desktop user gets: the programs, each with a man page, a valid
# menu entry whose command and icon are installed, icons of the sizes their folders name, and
# an installed kirvane-batch that runs on the installed example folder. Every installed program
# and man page names the project's version. The Debian package has that version too, and
# lintian finds no fault in it: the only tags it may give are the two it is told to override.
# Usage: install.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

fail() { echo "FAIL: $1"; exit 1; }

DESTDIR="$root" cmake --install "$build" --prefix /usr > "$root/install.log" || { cat "$root/install.log"; fail "cmake --install"; }
usr=$root/usr
share=$usr/share

for program in kirvane kirvane-batch; do
  [ -x "$usr/bin/$program" ] || fail "$program is not installed in bin/"
done
for program in "$usr"/bin/*; do
  name=$(basename "$program")
  [ -f "$share/man/man1/$name.1.gz" ] || fail "no man page for $name"
  "$program" --version | head -n 1 | grep -qxE "$name \(Kirvane\) ${version//./\\.}(\+g[0-9a-f]+)?" ||
    fail "$name --version: $("$program" --version)"
  # A program must not find its libraries through the build tree.
  if readelf -d "$program" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
    fail "$name keeps a run path into the build folder"
  fi
done

for page in "$share"/man/man1/*.1.gz "$share"/man/*/man1/*.1.gz; do
  warnings=$(gzip -dc "$page" | LC_ALL=C.UTF-8 groff -k -man -Tutf8 -wmac -z 2>&1)
  [ -z "$warnings" ] || fail "man page $page: $warnings"
  gzip -dc "$page" | head -n 5 | grep -q "^\.TH .* \"Kirvane $version\"" || fail "man page $page: not version $version"
done

entry=$share/applications/kirvane.desktop
[ -f "$entry" ] || fail "no desktop entry"
command -v desktop-file-validate > /dev/null ||
  fail "desktop-file-validate is missing (scripts/install-deps.sh installs desktop-file-utils)"
desktop-file-validate "$entry" || fail "desktop-file-validate refused the entry"
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -n "$command" ] && [ -x "$usr/bin/$command" ] || fail "the entry starts a program that is not installed: $command"
grep -qxF 'MimeType=text/csv;' "$entry" || fail "the entry does not open CSV files"
grep -q '^Name\[ja\]=' "$entry" || fail "the entry has no Japanese name"

icon=$(grep '^Icon=' "$entry" | cut -d= -f2)
icons=$share/icons/hicolor
head -c 200 "$icons/scalable/apps/$icon.svg" | grep -q '<svg' || fail "no scalable icon"
sizes=0
for png in "$icons"/*x*/apps/"$icon".png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$png")
  width=$(( (w0 << 24) | (w1 << 16) | (w2 << 8) | w3 ))
  height=$(( (h0 << 24) | (h1 << 16) | (h2 << 8) | h3 ))
  [ "${width}x${height}" = "$size" ] || fail "$png is ${width}x${height}"
  sizes=$((sizes + 1))
done
[ "$sizes" -ge 5 ] || fail "only $sizes icon sizes"
for size in 16x16 32x32 48x48 256x256; do
  [ -f "$icons/$size/apps/$icon.png" ] || fail "no $size icon"
done

# The installed batch tool on a copy of the installed example folder.
work=$root/work
mkdir "$work"
cp "$share/doc/kirvane/examples/index.txt" "$share/doc/kirvane/examples/signals.csv" "$work/"
(cd "$work" && "$usr/bin/kirvane-batch" --json signals.csv > result.json 2> messages.txt) ||
  { cat "$work/messages.txt"; fail "installed kirvane-batch"; }
grep -q '^{"rows":371,' "$work/result.json" || fail "installed kirvane-batch: $(cat "$work/result.json")"

command -v lintian > /dev/null || fail "lintian is missing (scripts/install-deps.sh installs it)"
cpack -G DEB -B "$root/package" --config "$build/CPackConfig.cmake" > "$root/cpack.log" 2>&1 ||
  { cat "$root/cpack.log"; fail "cpack"; }
deb=$(echo "$root"/package/kirvane_*.deb)
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version $(dpkg-deb -f "$deb" Version)"
report=$(lintian --fail-on none --show-overrides "$deb" 2>&1) || { echo "$report"; fail "lintian"; }
unexpected=$(grep -E '^[EWO]: ' <<< "$report" |
  grep -vxE 'O: kirvane: national-encoding \[usr/share/doc/kirvane/examples/(index\.txt|signals\.csv)\]' || true)
[ -z "$unexpected" ] || fail "lintian: $unexpected"
echo "install: ok"
