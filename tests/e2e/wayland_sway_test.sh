#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Quelmo end to end in a Wayland session: a headless sway (run as the
# unprivileged user "wltest" when the tests run as root: sway refuses root), a
# private session bus, the virtual headphones. Keys typed with wtype clear an
# "away" frost, and `quelmo --recenter` clears a turn frost through the running
# Quelmo. The frost is judged from the diagnostics log.
set -uo pipefail

build="$(cd "${1:?build folder}" && pwd)"
quelmo="$build/program/quelmo"
sim="$build/tools/sim/quelmo-sim"

for tool in sway:sway wtype:wtype dbus-daemon:dbus; do
  if ! command -v "${tool%%:*}" >/dev/null; then
    echo "SKIP: ${tool%%:*} is not installed (apt-get install ${tool#*:})"
    exit 0
  fi
done

work="$(mktemp -d)"
chmod 755 "$work"
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

# sway on a runtime folder of its own.
sway_run="$work/sway-run"
mkdir -m 700 "$sway_run"
printf 'output HEADLESS-1 resolution 1280x720\nxwayland disable\n' > "$sway_run/sway.conf"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  id wltest >/dev/null 2>&1 || useradd -m wltest
  chown -R wltest "$sway_run"
  as_user=(runuser -u wltest --)
fi
"${as_user[@]}" env -i HOME="$sway_run" PATH=/usr/local/bin:/usr/bin:/bin XDG_RUNTIME_DIR="$sway_run" \
  WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  sway -c "$sway_run/sway.conf" >"$work/sway.log" 2>&1 &
pids+=($!)
socket=""
for _ in $(seq 150); do
  socket=$(find "$sway_run" -maxdepth 1 -type s -name 'wayland-*' | head -1)
  [ -n "$socket" ] && break
  sleep 0.1
done
[ -n "$socket" ] || { echo "not ok - sway did not start"; cat "$work/sway.log"; exit 1; }

# A fresh user: settings that skip the guide and keep the log, motion access given.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Quelmo" "$XDG_STATE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[General]\nonboardingDone=true\ndiagnostics=true\nfrostWhenFar=false\n' \
  > "$XDG_CONFIG_HOME/Quelmo/Quelmo.conf"
echo authorized > "$XDG_CONFIG_HOME/Quelmo/motion-access"
log="$XDG_STATE_HOME/Quelmo/quelmo.log"

eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 |
  { read -r address; read -r pid; echo "export DBUS_SESSION_BUS_ADDRESS='$address'; bus_pid=$pid"; })"
pids+=("$bus_pid")

# A Wayland session as Quelmo sees it from its environment.
unset DISPLAY
export WAYLAND_DISPLAY="$socket" XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=sway

wait_for() { # wait_for SECONDS PATTERN: the log shows a line matching PATTERN
  local deadline=$((SECONDS + $1))
  while [ $SECONDS -lt $deadline ]; do
    grep -q -- "$2" "$log" 2>/dev/null && return 0
    sleep 0.2
  done
  return 1
}

"$quelmo" --recenter 2>"$work/recenter.err"
status=$?
[ $status -eq 1 ] && grep -q "not running" "$work/recenter.err" &&
  ok "quelmo --recenter without a running Quelmo exits 1 and says so" ||
  not_ok "quelmo --recenter without a running Quelmo exits 1 and says so (status $status)"

QT_QPA_PLATFORM=offscreen "$quelmo" >"$work/quelmo.out" 2>&1 &
pids+=($!)
wait_for 20 "launched; motion authorization authorized" && ok "Quelmo starts" || not_ok "Quelmo starts"
grep -q "quelmo --recenter" "$work/quelmo.out" &&
  ok "without a hot key API Quelmo tells how to bind one" ||
  not_ok "without a hot key API Quelmo tells how to bind one"

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
  ok "turning away frosts"
  "$quelmo" --recenter
  status=$?
  [ $status -eq 0 ] && ok "quelmo --recenter exits 0" || not_ok "quelmo --recenter exits 0 (status $status)"
  wait_for 5 "manual recenter" && ok "quelmo --recenter re-centres" ||
    not_ok "quelmo --recenter re-centres"
  wait_for 5 " clear$" && ok "the turn frost clears" || not_ok "the turn frost clears"
else
  not_ok "turning away frosts"
fi

if wait_for 30 "FROST: stepped away"; then
  ok "walking away frosts"
  sleep 1
  grep -q "back at the Mac" "$log" && not_ok "the away frost holds while nobody types" ||
    ok "the away frost holds while nobody types"
  WAYLAND_DISPLAY="$socket" wtype "hello"
  wait_for 5 "back at the Mac (keyboard or mouse used)" &&
    ok "typing in the Wayland session clears the away frost" ||
    not_ok "typing in the Wayland session clears the away frost"
else
  not_ok "walking away frosts"
fi

echo "# $passed passed, $failed failed"
if [ $failed -ne 0 ]; then
  echo "--- quelmo output"; cat "$work/quelmo.out"
  echo "--- log"; cat "$log" 2>/dev/null | tail -40
fi
[ $failed -eq 0 ]
