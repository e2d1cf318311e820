#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Adds the licence line to the top of every source file that lacks it (after a #! line), so a
# second run changes nothing. Icons and fuzz seeds are data and are left alone; a file of a kind
# it does not know stops it, so that a new kind gets its comment form here first.
# Usage: scripts/add-spdx.sh
set -euo pipefail
cd "$(dirname "$0")/.."

id='SPDX-License-Identifier: GPL-3.0-or-later'
status=0
while IFS= read -r -d '' file; do
  grep -q 'SPDX-License-Identifier' "$file" && continue
  case $file in
    *.cpp | *.h) line="// $id" ;;
    *.sh | *.cmake | */CMakeLists.txt | CMakeLists.txt | fuzz/ignorelist.txt) line="# $id" ;;
    *) echo "add-spdx: no comment form for $file" >&2; status=1; continue ;;
  esac
  if [ ! -s "$file" ]; then
    printf '%s\n' "$line" > "$file"
  elif head -n 1 "$file" | grep -q '^#!'; then
    sed -i "1a $line" "$file"
  else
    sed -i "1i $line" "$file"
  fi
  echo "$file"
done < <(find src tools tests fuzz scripts cmake CMakeLists.txt -type f \
  ! -name '*.png' ! -name '*.svg' ! -path 'fuzz/corpus/*' -print0 | sort -z)
exit "$status"
