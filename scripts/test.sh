#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything with -Wall -Wextra, runs every test, then runs
# the tests of the program's logic once more under AddressSanitizer and
# UndefinedBehaviorSanitizer (the Qt widget tests included), and every fuzz target for a short
# while.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$top/scripts/install-deps.sh"

cmake -S "$top" -B "$top/build-test" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build-test" -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$top/build-test" -j"$jobs" --output-on-failure

if [ "${KV_SKIP_SANITIZERS:-0}" != 1 ]; then
  cmake -S "$top" -B "$top/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON -DKV_BUILD_QT=OFF >/dev/null
  cmake --build "$top/build-asan" -j"$jobs"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$top/build-asan" -j"$jobs" --output-on-failure
  # The Qt widget tests under the same sanitizers, offscreen (Qt's own libraries are not
  # instrumented, but every call into them from the program is). Leak detection is off here:
  # Qt Charts and the platform plugin keep process-lifetime allocations that it reports.
  cmake -S "$top" -B "$top/build-asan-qt" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON >/dev/null
  cmake --build "$top/build-asan-qt" -j"$jobs" --target qt_tests
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    QT_QPA_PLATFORM=offscreen "$top/build-asan-qt/tests/qt_tests"
fi
# Every fuzz target for 30 s (KV_FUZZ_SECONDS to change it, 0 to skip).
fuzz_seconds=${KV_FUZZ_SECONDS:-30}
if [ "$fuzz_seconds" != 0 ]; then
  "$top/scripts/fuzz.sh" "$fuzz_seconds"
fi
echo "All tests passed."
