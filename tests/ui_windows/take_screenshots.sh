#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Saves the settings window and each page of the welcome guide as PNGs in
# docs/screenshots/<language>/ for every language Quelmo speaks, drawn on a
# private Xvfb display.
#   tests/ui_windows/take_screenshots.sh [BUILD_DIR] [LANGUAGE...]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build}"
shift || true
languages=("$@")
[ ${#languages[@]} -gt 0 ] || languages=(en de fr es)

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x900x24 -nolisten tcp 2>/dev/null)
read -r display <&3
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT

for language in "${languages[@]}"; do
  DISPLAY=":$display" QT_QPA_PLATFORM=xcb LANGUAGE="$language" LANG=C.UTF-8 LC_ALL= \
    "$build/tests/ui_windows/ui_screenshots" "$root/docs/screenshots/$language"
done
