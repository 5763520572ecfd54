#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Quelmo fed only by a fake head tracker on the open HID standard
# (quelmo-sim --hid-tracker on the QUELMO_HID_TRACKER test door): head motion
# comes from it, an 80-degree turn frosts and turning back clears, the
# tracker resetting its reference frame frosts nothing, taking it away is a
# disconnect, and quitting switches it off.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/harness.sh"
harness_init "$1"
fresh_user
start_x
start_bus

scene() { # scene NAME [SIM OPTIONS...] < script
  cat >"$work/$1.sim"
  local name="$1"
  shift
  export QUELMO_HID_TRACKER="$XDG_RUNTIME_DIR/$name.sock"
  "$sim" --hid-tracker "$@" "$work/$name.sim" >"$work/$name.out" 2>&1 &
  sim_pid=$!
  pids+=($sim_pid)
}
stop_quelmo() {
  kill "$quelmo_pid" 2>/dev/null
  wait_until 10 gone "$quelmo_pid"
}

# 1. The standard descriptor: turn away and back, then the reference resets.
scene turn --reset-at 12 <<'SCENE'
3 face
1 turn 80
3 hold
1 turn 0
20 hold
SCENE
start_quelmo
check "head tracking live from the tracker" wait_for 20 "head tracking live"
check "the log names the tracker" wait_for 5 "head motion from the head tracker on the test socket"
check "turning 80 degrees frosts" wait_for 20 "FROST at"
check "looking back clears" wait_for 10 " clear$"
check "the tracker resets its reference" wait_until 20 grep -q "reference reset" "$work/turn.out"
stamp="$(now_stamp)"
wait_until 4 false
check "the reset frosts nothing" bash -c "! grep -q FROST <(awk -v t='$stamp' 'substr(\$0, 1, 23) >= t' '$log')"
stop_quelmo
check "quitting switches the tracker off" wait_until 5 grep -q "switched off" "$work/turn.out"

# 2. The firmware variant's descriptor, then the tracker taken away.
rm -f "$log"
scene gone --variant <<'SCENE'
4 face
0.1 disconnect
30 hold
SCENE
start_quelmo
check "the variant's descriptor is read" wait_for 20 "head tracking live"
check "taking the tracker away is a disconnect" wait_for 15 "headphones disconnected"
kill "$quelmo_pid" 2>/dev/null
wait_until 10 gone "$quelmo_pid"

# 3. The probe lists the tracker and listens to it.
scene probe <<'SCENE'
1 face
1 turn 40
30 hold
SCENE
"$quelmo" --probe-headphones --seconds 4 >"$work/probe.txt" 2>&1
check "the probe hears the tracker's reports" grep -qE "reports per second: 2[0-9]" "$work/probe.txt"
check "the probe gives the heading's range" grep -q "heading 0.0 to 40.0 degrees" "$work/probe.txt"
check "the probe switches the tracker off again" wait_until 5 grep -q "switched off" "$work/probe.out"
[ $failed -gt 0 ] && cat "$work/probe.txt"

finish
