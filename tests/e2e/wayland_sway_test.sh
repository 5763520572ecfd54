#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Quelmo end to end in a Wayland session: a headless sway (run as the
# unprivileged user "wltest" when the tests run as root: sway refuses root), a
# private session bus, the virtual headphones. Keys typed with wtype clear an
# "away" frost, and `quelmo --recenter` clears a turn frost through the running
# Quelmo. The frost is judged from the diagnostics log.
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/harness.sh"
need_tools sway:sway wtype:wtype dbus-daemon:dbus ss:iproute2
harness_init "$1"
# sway on a runtime folder of its own.
start_sway

fresh_user
start_bus

# A Wayland session as Quelmo sees it from its environment.
unset DISPLAY
export WAYLAND_DISPLAY="$socket" XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=sway
# No window is needed from Qt here: the frost is judged from the log.
export QT_QPA_PLATFORM=offscreen

"$quelmo" --recenter 2>"$work/recenter.err"
status=$?
[ $status -eq 1 ] && grep -q "not running" "$work/recenter.err" &&
  ok "quelmo --recenter without a running Quelmo exits 1 and says so" ||
  not_ok "quelmo --recenter without a running Quelmo exits 1 and says so (status $status)"

start_quelmo
wait_for 20 "launched; motion authorization authorized" && ok "Quelmo starts" || not_ok "Quelmo starts"
# Qt runs offscreen here, so every connection to sway is Quelmo's own: the
# frost, the idle monitor and the output power monitor share one.
wayland_connections() { # how many of Quelmo's sockets lead to sway's
  ss -xpH state established | awk -v s="$socket" -v me="pid=$quelmo_pid," '
    $4 == s { server[$7] = 1 }
    index($0, me) { mine[$5] = 1 }
    END { n = 0; for (i in mine) if (i in server) n++; print n }'
}
connections=$(wayland_connections)
[ "$connections" = 1 ] && ok "Quelmo holds one Wayland connection" ||
  not_ok "Quelmo holds one Wayland connection ($connections)"
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

finish
