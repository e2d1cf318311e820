#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts Kirvane on the sample data in sample/.
# Without a display it runs the command-line back-test on the sample data instead.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_TESTS=OFF >/dev/null
cmake --build "$top/build" -j"$(nproc)"

cd "$top/sample"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$top/build/kirvane"
fi
echo "No display: running the command-line back-test on sample/signals.csv instead."
echo "(For the window, run this under a desktop, or: xvfb-run -a scripts/run.sh)"
exec "$top/build/kirvane-batch" signals.csv
