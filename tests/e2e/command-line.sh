#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Command-line manners of every program: --help in Japanese with the exit statuses, --version
# with the project's version (and, built from a git checkout, a commit of it) and the licence,
# and a one-line complaint with status 2 for an unknown option or a missing or extra argument.
# The window's --help works without a display.
# Usage: command-line.sh VERSION SOURCE_DIR PROGRAM...
set -euo pipefail
version=$1
source=$2
shift 2
checkout=0
[ "$(git -C "$source" rev-parse --show-toplevel 2> /dev/null)" = "$(cd "$source" && pwd -P)" ] &&
  git -C "$source" rev-parse -q --verify HEAD > /dev/null && checkout=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAIL: $1"; exit 1; }

# Runs the program without a display; sets status, out and err.
call() {
  set +e
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" < /dev/null > out.txt 2> err.txt
  status=$?
  set -e
}

# A command line that must be refused with status 2 and one line on standard error.
refused() {
  local name=$1
  shift
  call "$@"
  [ "$status" = 2 ] || fail "$name ${*:2}: status $status, not 2"
  [ "$(wc -l < err.txt)" = 1 ] || fail "$name ${*:2}: not one line: $(cat err.txt)"
  grep -q "^$name: " err.txt || fail "$name ${*:2}: $(cat err.txt)"
  [ ! -s out.txt ] || fail "$name ${*:2} wrote to standard output"
}

for program in "$@"; do
  name=$(basename "$program")

  call "$program" --help
  [ "$status" = 0 ] || fail "$name --help: status $status"
  grep -q "^使い方: $name" out.txt || fail "$name --help: no usage line"
  grep -q '^終了ステータス' out.txt || fail "$name --help lists no exit statuses"
  grep -qE '^  2  ' out.txt || fail "$name --help does not list status 2"
  [ ! -s err.txt ] || fail "$name --help wrote to standard error"

  call "$program" --version
  read -r first < out.txt || true
  commit=${first#"$name (Kirvane) $version"}
  [ "$status" = 0 ] && [ "$commit" != "$first" ] || fail "$name --version: $(cat out.txt)"
  if [ -n "$commit" ]; then
    [[ $commit =~ ^\+g[0-9a-f]{7,}$ ]] && [ "$checkout" = 1 ] &&
      git -C "$source" cat-file -e "${commit#+g}^{commit}" 2> /dev/null ||
      fail "$name --version names no commit of the source: $first"
  else
    [ "$checkout" = 0 ] || fail "$name --version lacks the commit of the git checkout: $first"
  fi
  grep -qF 'GPL-3.0-or-later' out.txt || fail "$name --version names no licence: $(cat out.txt)"

  refused "$name" "$program" --no-such-option
  case $name in
    kirvane-batch)
      refused "$name" "$program"
      refused "$name" "$program" --log
      refused "$name" "$program" --start-row x signals.csv
      refused "$name" "$program" a.csv b.csv ;;
    kirvane-sweep)
      refused "$name" "$program" --vary maxStocks=1,2
      refused "$name" "$program" signals.csv
      refused "$name" "$program" --vary
      refused "$name" "$program" a.csv b.csv ;;
    kirvane-sample-data)
      refused "$name" "$program"
      refused "$name" "$program" a b ;;
    kirvane | kirvane-scenario)
      refused "$name" "$program" a.csv b.csv ;;
  esac
done
echo "command-line manners: ok"
