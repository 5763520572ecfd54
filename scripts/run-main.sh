#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The main job: start Quelmo together with the virtual headphones playing the
# demo (calibrate, turn away and back, a glance, walk off, take the earbuds
# out), so the frost can be seen coming and going without any hardware. The
# virtual headphones act as earbuds on the earbuds test socket, so Quelmo
# reads them with the same code that reads real AirPods.
#
# On a desktop (DISPLAY set) Quelmo starts in your tray with your own settings
# and the demo loops until Ctrl+C. Without a display it runs on a private
# virtual screen with a throw-away profile, plays the demo once, prints what
# Quelmo decided and keeps screenshots.
set -euo pipefail
build_dir="$(cd "${1:-build}" && pwd)"
cd "$(dirname "$0")/.."
quelmo="$build_dir/program/quelmo"
sim="$build_dir/tools/sim/quelmo-sim"
export QUELMO_BLUETOOTH_REPORT="$sim --report"
earbuds_socket() { # a private place for the fake earbuds' socket
  if [ -n "${XDG_RUNTIME_DIR:-}" ]; then
    mkdir -p -m 700 "$XDG_RUNTIME_DIR/quelmo"
    echo "$XDG_RUNTIME_DIR/quelmo/earbuds-demo.sock"
  else
    echo "$(mktemp -d)/earbuds-demo.sock"
  fi
}

if [ -n "${DISPLAY:-}" ]; then
  if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    exec dbus-run-session -- "$0" "$build_dir"
  fi
  QUELMO_EARBUDS_SOCKET="$(earbuds_socket)"
  export QUELMO_EARBUDS_SOCKET
  "$quelmo" &
  cat <<TEXT
Quelmo is starting in your tray (a first start opens its welcome guide: allow
head motion there). The virtual headphones now play the demo in a loop: face
the screen, turn away (the screen frosts), look back (it clears), walk off (it
frosts until you touch the mouse) ... Press Ctrl+C to stop them; quit Quelmo
from its tray menu. See docs/hardware.md for real earbuds and opentrack.
TEXT
  exec "$sim" --earbuds demo --loop
fi

# No display: a private X server, session bus and profile.
work="$(mktemp -d)"
shots="$build_dir/demo"
mkdir -p "$shots"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Quelmo" "$XDG_STATE_HOME/Quelmo" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
QUELMO_EARBUDS_SOCKET="$(earbuds_socket)"
export QUELMO_EARBUDS_SOCKET
printf '[General]\nonboardingDone=true\ndiagnostics=true\n' > "$XDG_CONFIG_HOME/Quelmo/Quelmo.conf"
echo authorized > "$XDG_CONFIG_HOME/Quelmo/motion-access"

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
convert -size 1280x800 gradient:'#dfe7f2'-'#9fb2cc' "$work/desktop.png" &&
  display -window root "$work/desktop.png" 2>/dev/null || true
eval "$(dbus-launch --sh-syntax)"
pids+=("$DBUS_SESSION_BUS_PID")

echo "No display found: running Quelmo on a virtual screen ($DISPLAY) with a fresh profile."
echo "What Quelmo decides, as the virtual headphones play the demo:"
: > "$XDG_STATE_HOME/Quelmo/quelmo.log"
tail -n +1 -F "$XDG_STATE_HOME/Quelmo/quelmo.log" 2>/dev/null | grep --line-buffered -v '^.\{24\}angle ' &
pids+=($!)
"$quelmo" >"$work/quelmo.out" 2>&1 &
pids+=($!)
"$sim" --earbuds demo 2>/dev/null &
sim_pid=$!
pids+=("$sim_pid")
n=0
while kill -0 "$sim_pid" 2>/dev/null; do
  sleep 2
  n=$((n + 1))
  import -window root "$shots/demo-$(printf %02d $n).png" 2>/dev/null || true
done
sleep 1
echo "Done. Screenshots of the virtual screen, every 2 s: $shots/"
