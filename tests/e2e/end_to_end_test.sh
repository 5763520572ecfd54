#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Quelmo end to end, as a user meets it: a fresh home, a real X server (Xvfb)
# and a private session bus; the virtual headphones feed head motion; the
# frost is seen in the log and on a screenshot; the hot key and a mouse move
# clear it; `quelmo --send` steers it; Ctrl+Q in its window quits it.
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/harness.sh"
harness_init "$1"
for tool in import convert display; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (package imagemagick)"; exit 0; }
done
fresh_user
# A private X server with a light desktop to frost, and a private session bus.
start_x 1280x800
convert -size 1280x800 xc:'#f2f2f2' "$work/desktop.png"
display -window root "$work/desktop.png" 2>/dev/null
start_bus

brightness() { # mean brightness of the whole screen, 0 to 1
  import -window root "$work/shot.png" 2>/dev/null
  convert "$work/shot.png" -colorspace Gray -resize 1x1\! -format '%[fx:mean]' info:
}
settled_brightness() { # settled_brightness below|above LIMIT: polls up to 5 s for the fade to end
  local deadline=$((SECONDS + 5)) level
  while :; do
    level=$(brightness)
    if [ "$1" = below ]; then awk -v b="$level" -v l="$2" 'BEGIN { exit !(b < l) }' && break
    else awk -v b="$level" -v l="$2" 'BEGIN { exit !(b > l) }' && break; fi
    [ $SECONDS -lt $deadline ] || break
  done
  echo "$level"
}

start_quelmo
wait_for 20 "launched; motion authorization authorized" && ok "Quelmo starts" || not_ok "Quelmo starts"
wait_for 5 "display session: x11 (.*); frost: x11" && ok "the session's frost is logged" \
  || not_ok "the session's frost is logged"

# Face the screen, turn away (the hot key then makes that the new forward),
# walk off, and stay put while the rest is tried.
cat > "$work/scene.sim" <<'SCENE'
4 face
1 turn 80
12 hold
8 walk
60 hold
SCENE
"$sim" "$work/scene.sim" >/dev/null 2>&1 &
pids+=($!)

wait_for 20 "head tracking live" && ok "head data arrives" || not_ok "head data arrives"
if wait_for 20 "FROST at"; then
  ok "turning away frosts ($(grep -m1 'FROST at' "$log" | cut -d' ' -f3-))"
  level=$(settled_brightness below 0.6)
  cp "$work/shot.png" "$build/e2e-frosted.png" 2>/dev/null
  awk -v b="$level" 'BEGIN { exit !(b < 0.6) }' && ok "the screen is frosted (brightness $level)" ||
    not_ok "the screen is frosted (brightness $level)"
else
  not_ok "turning away frosts"
fi

xdotool key ctrl+alt+super+r
wait_for 5 "manual recenter" && ok "the hot key re-centres" || not_ok "the hot key re-centres"
wait_for 5 " clear$" && ok "the frost clears" || not_ok "the frost clears"
level=$(settled_brightness above 0.85)
awk -v b="$level" 'BEGIN { exit !(b > 0.85) }' && ok "the screen is clear again (brightness $level)" ||
  not_ok "the screen is clear again (brightness $level)"

if wait_for 30 "FROST: stepped away"; then
  ok "walking away frosts"
  xdotool mousemove_relative -- 40 30 mousemove_relative -- 20 10
  wait_for 5 "back at the Mac (keyboard or mouse used)" && ok "a mouse move clears the away frost" ||
    not_ok "a mouse move clears the away frost"
else
  not_ok "walking away frosts"
fi

"$quelmo" --send pause
status=$?
[ $status -eq 0 ] && ok "quelmo --send exits 0" || not_ok "quelmo --send exits 0"
wait_for 5 "command: pause" && wait_for 5 "status: Paused until" && ok "quelmo --send pause pauses" ||
  not_ok "quelmo --send pause pauses"

"$quelmo" >/dev/null 2>&1
second=$?
kill -0 "$quelmo_pid" 2>/dev/null && [ $second -eq 0 ] && ok "a second start gives way" ||
  not_ok "a second start gives way"

# Ctrl+Q in the settings window quits.
"$quelmo" --send settings
window=""
for _ in $(seq 50); do
  window=$(xdotool search --name "Quelmo Settings" 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.2
done
if [ -n "$window" ]; then
  ok "the settings window opens"
  # The guide open too: both views must close before the model goes.
  "$quelmo" --send onboarding
  wait_until 10 xdotool search --name "Welcome to Quelmo" >/dev/null 2>&1
  xdotool windowfocus --sync "$window" 2>/dev/null
  xdotool key ctrl+q
  for _ in $(seq 50); do kill -0 "$quelmo_pid" 2>/dev/null || break; sleep 0.2; done
  kill -0 "$quelmo_pid" 2>/dev/null && not_ok "Ctrl+Q quits" || ok "Ctrl+Q quits"
  grep -q "TypeError\|of null" "$work/quelmo.out" &&
    not_ok "quitting with the settings window and the guide open prints nothing ($(grep -m1 'TypeError\|of null' "$work/quelmo.out"))" ||
    ok "quitting with the settings window and the guide open prints nothing"
else
  not_ok "the settings window opens"
fi

finish
