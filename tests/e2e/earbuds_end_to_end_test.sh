#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Quelmo fed only by fake earbuds: quelmo-sim --earbuds speaks the AirPods
# head-tracking frames on the earbuds test socket (QUELMO_EARBUDS_SOCKET), the
# head turns 80 degrees and back; the frost comes and goes, and the log names
# where head motion came from.
set -uo pipefail

build="$(cd "${1:?build folder}" && pwd)"
quelmo="$build/program/quelmo"
sim="$build/tools/sim/quelmo-sim"

for tool in Xvfb dbus-daemon; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed"
    exit 0
  fi
done

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  [ -n "${KEEP_E2E:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
ok() { echo "ok - $1"; passed=$((passed + 1)); }
not_ok() { echo "not ok - $1"; failed=$((failed + 1)); }

export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Quelmo" "$XDG_STATE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[General]\nonboardingDone=true\ndiagnostics=true\nfrostWhenFar=false\n' \
  > "$XDG_CONFIG_HOME/Quelmo/Quelmo.conf"
echo authorized > "$XDG_CONFIG_HOME/Quelmo/motion-access"
export QUELMO_EARBUDS_SOCKET="$XDG_RUNTIME_DIR/earbuds.sock"
log="$XDG_STATE_HOME/Quelmo/quelmo.log"

Xvfb -displayfd 3 -screen 0 1024x640x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "not ok - Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -1 "$work/display")"
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 |
  { read -r address; read -r pid; echo "export DBUS_SESSION_BUS_ADDRESS='$address'; bus_pid=$pid"; })"
pids+=("$bus_pid")

wait_for() { # wait_for SECONDS PATTERN: the log shows a line matching PATTERN
  local deadline=$((SECONDS + $1))
  while [ $SECONDS -lt $deadline ]; do
    grep -q -- "$2" "$log" 2>/dev/null && return 0
    sleep 0.2
  done
  return 1
}

cat > "$work/scene.sim" <<'SCENE'
4 face
1 turn 80
4 hold
1 turn 0
30 hold
SCENE
"$sim" --earbuds "$work/scene.sim" >"$work/sim.out" 2>&1 &
pids+=($!)
QT_QPA_PLATFORM=xcb "$quelmo" >"$work/quelmo.out" 2>&1 &
pids+=($!)

wait_for 20 "head tracking live" && ok "head motion arrives from the earbuds" ||
  not_ok "head motion arrives from the earbuds"
wait_for 5 "head motion from earbuds on the test socket" && ok "the log names the source" ||
  not_ok "the log names the source"
wait_for 20 "FROST at" && ok "turning 80 degrees frosts ($(grep -m1 'FROST at' "$log" | cut -d' ' -f3-))" ||
  not_ok "turning 80 degrees frosts"
wait_for 10 " clear$" && ok "looking back clears" || not_ok "looking back clears"
grep -q "earbuds: head tracking on" "$work/sim.out" && ok "Quelmo asked the earbuds for head tracking" ||
  not_ok "Quelmo asked the earbuds for head tracking"

if [ $failed -gt 0 ]; then
  echo "--- quelmo's output"; cat "$work/quelmo.out"
  echo "--- the earbuds"; cat "$work/sim.out"
  echo "--- log"; grep -v '^.\{24\}angle ' "$log" | tail -40
fi
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
