#!/usr/bin/env bash
# Saves the settings window and each page of the welcome guide as PNGs in
# docs/screenshots, drawn on a private Xvfb display.
#   tests/ui_windows/take_screenshots.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build}"
out="$root/docs/screenshots"

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x900x24 -nolisten tcp 2>/dev/null)
read -r display <&3
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT

DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$build/tests/ui_windows/ui_screenshots" "$out"
