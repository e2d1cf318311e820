#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Kirvane needs to build, test and run, when they are missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build            # compiler and build
  libgtest-dev                     # unit tests
  python3                          # the independent check of the trade list and its figures
  python3-holidays python3-workalendar # the exchange calendar checked against two holiday lists
  clang libclang-rt-14-dev         # the fuzz targets (libFuzzer and the sanitizers)
  qt6-base-dev qt6-qpa-plugins     # the window (offscreen and xcb platforms)
  qt6-charts-dev libqt6opengl6-dev # the results window's charts (Charts' CMake files need OpenGL's)
  qt6-translations-l10n            # Japanese texts of Qt's own dialogs and buttons
  nlohmann-json3-dev               # JSON output of kirvane-batch
  fonts-noto-cjk                   # Japanese glyphs
  xvfb xauth imagemagick           # a real window and screenshots without a desktop
  desktop-file-utils               # checks the installed menu entry
  lintian                          # checks the Debian package
  parallel                         # the sweep's sharding example, run by the tests
  chromium poppler-utils           # the HTML report rendered, pictured and printed by a real browser
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
