#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Regenerates the frost and tray pictures in docs/screenshots on a private Xvfb, with
# trayer as the tray. Usage: tests/ui/take-screenshots.sh [build-dir]
set -euo pipefail
build_dir="${1:-build}"
cd "$(dirname "$0")/../.."
tour="$build_dir/tests/ui/ui_screenshot_tour"
[ -x "$tour" ] || { echo "build $tour first" >&2; exit 1; }
mkdir -p docs/screenshots

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -nolisten tcp -noreset -screen 0 1920x1080x24 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" ${tray:-} 2>/dev/null || true' EXIT
read -r -u "$fd" number
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb

for strength in 0 0.6 1; do
  "$tour" frost "$strength" "docs/screenshots/frost-strength-$strength.png"
done
trayer --edge top --align right --widthtype request --height 26 --tint 0x202024 --transparent true \
  --alpha 0 >/dev/null 2>&1 &
tray=$!
sleep 1
"$tour" tray docs/screenshots/tray-menu.png
# The frost card and the menu in every language.
for language in en de fr es; do
  mkdir -p "docs/screenshots/$language"
  LANGUAGE="$language" LANG=C.UTF-8 LC_ALL= "$tour" frost 0.6 "docs/screenshots/$language/frost.png"
  LANGUAGE="$language" LANG=C.UTF-8 LC_ALL= "$tour" tray "docs/screenshots/$language/tray-menu.png"
done
echo "wrote docs/screenshots/frost-strength-{0,0.6,1}.png, docs/screenshots/tray-menu.png" \
  "and docs/screenshots/LANGUAGE/{frost,tray-menu}.png"
