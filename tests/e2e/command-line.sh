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
# Standard output that is an input or an output is refused before anything is written, and a
# signal ends a sweep with a last line that tells its lines from a finished grid.
for program in "$@"; do
  case $(basename "$program") in kirvane-batch) batch=$program ;; kirvane-sweep) sweep=$program ;; esac
done
if [ -n "${batch:-}" ] && [ -n "${sweep:-}" ]; then
  cp "$source/sample/index.txt" "$source/sample/signals.csv" .
  cp index.txt index.saved && cp signals.csv signals.saved
  clash() {
    local what=$1 status
    shift
    set +e
    timeout 10 "$@"
    status=$?
    set -e
    [ "$status" = 2 ] || fail "$what: status $status, not 2"
  }
  clash "sweep 1<>index.txt" "$sweep" --vary maxStocks=3,5 signals.csv 1<> index.txt 2> err.txt
  clash "batch >> signals.csv" "$batch" signals.csv >> signals.csv 2> err.txt
  cmp -s index.txt index.saved && cmp -s signals.csv signals.saved || fail "an input was written to"
  clash "batch --report out.html > out.html" "$batch" --json --report out.html signals.csv > out.html 2> err.txt
  clash "batch --report /dev/stdout" "$batch" --json --report /dev/stdout signals.csv > out.html 2> err.txt
  [ ! -s out.html ] || fail "the refused run wrote out.html"

  for signal in INT TERM HUP; do
    for form in csv json; do
      flags=(--jobs 1 --vary operatingRate=0.01:1:0.01 --vary maxStocks=1:100:1)
      [ $form = json ] && flags+=(--json)
      rm -f sweep.out
      timeout 10 "$sweep" "${flags[@]}" signals.csv > sweep.out 2> err.txt &
      pid=$!
      # Signalled once lines are out: the run is under way, its signal handling in place.
      for _ in $(seq 200); do [ -f sweep.out ] && [ "$(wc -l < sweep.out)" -gt 2 ] && break; sleep 0.05; done
      kill -$signal $pid
      set +e
      wait $pid
      status=$?
      set -e
      [ "$status" = $((128 + $(kill -l $signal))) ] || fail "sweep on SIG$signal: status $status"
      last=$(tail -n 1 sweep.out)
      if [ $form = csv ]; then
        [[ $last =~ ^#\ 中断:\ [0-9]+\ /\ 10000\ 組合せ$ ]] || fail "sweep on SIG$signal: last line $last"
        done=$(( $(wc -l < sweep.out) - 2 ))
      else
        [[ $last =~ ^\{\"interrupted\":true,\"done\":[0-9]+,\"total\":10000\}$ ]] ||
          fail "sweep --json on SIG$signal: last line $last"
        done=$(( $(wc -l < sweep.out) - 1 ))
      fi
      [[ $last == *"$done"* ]] || fail "sweep on SIG$signal: $done lines, but $last"
    done
  done
  # A walk-forward stopped between windows: the windows finished, no summary, a last line.
  timeout 20 "$sweep" --jobs 1 --walk-forward 3:1 --vary operatingRate=0.01:1:0.01 --vary maxStocks=1:100:1 \
    signals.csv > sweep.out 2> err.txt &
  pid=$!
  sleep 0.5
  kill -INT $pid
  set +e
  wait $pid
  status=$?
  set -e
  [ "$status" = 130 ] || fail "walk-forward on SIGINT: status $status"
  last=$(tail -n 1 sweep.out)
  [[ $last =~ ^#\ 中断:\ [0-9]+\ /\ [0-9]+\ 窓$ ]] || fail "walk-forward on SIGINT: last line $last"
  grep -q '^# windows,' sweep.out && fail "walk-forward on SIGINT: a summary of a part"
fi
echo "command-line manners: ok"
