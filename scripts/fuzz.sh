#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of fuzz/ with clang and the sanitizers, then runs each of them
# for SECONDS (default 60) on a copy of its seed corpus. Inputs that add coverage are kept in
# build-fuzz/corpus/<target> between runs; a finding is written to build-fuzz/findings/ and
# makes the script fail.
#   scripts/fuzz.sh [SECONDS] [TARGET...]      e.g. scripts/fuzz.sh 600 signal_file backtest
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build="$top/build-fuzz"

CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_FUZZ=ON \
  -DKV_BUILD_QT=OFF -DKV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(stock_master signal_file settings row_reader batch_arguments backtest)

mkdir -p "$build/findings"
failed=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus"
  log="$build/fuzz-$t.log"
  # New inputs go to the first folder; the committed seeds are only read.
  if "$build/fuzz/fuzz_$t" "$corpus" "$top/fuzz/corpus/$t" -max_total_time="$seconds" -timeout=20 \
      -artifact_prefix="$build/findings/$t-" -print_final_stats=1 >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$t: $runs runs in ${seconds} s, no finding"
  else
    failed=1
    echo "fuzz_$t: FINDING (see $log and $build/findings/)"
    grep -E 'ERROR|runtime error|SUMMARY' "$log" | head -5
  fi
done
exit $failed
