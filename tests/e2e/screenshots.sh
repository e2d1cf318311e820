#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kirvane-screenshots on a copy of sample/, offscreen: it makes an output folder that is not
# there yet and saves every picture into it; a folder it cannot make is said, with status 1.
set -euo pipefail
shots=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$sample/index.txt" "$sample/signals.csv" "$work/"
cd "$work"
export QT_QPA_PLATFORM=offscreen

timeout 120 "$shots" new/pictures > out.txt 2> err.txt || { cat err.txt; exit 1; }
[ "$(find new/pictures -name '*.png' -size +0 | wc -l)" = 16 ] || { ls -l new/pictures; exit 1; }
[ "$(wc -l < out.txt)" = 16 ]

touch file
if timeout 120 "$shots" file/pictures > out.txt 2> err.txt; then exit 1; else [ $? = 1 ]; fi
grep -q 'cannot be made a folder' err.txt || { cat err.txt; exit 1; }
[ ! -s out.txt ]
echo "screenshots: ok"
