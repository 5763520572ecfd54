#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Quelmo fed only by fake earbuds: quelmo-sim --earbuds speaks the AirPods
# head-tracking frames on the earbuds test socket (QUELMO_EARBUDS_SOCKET), the
# head turns 80 degrees and back; the frost comes and goes, and the log names
# where head motion came from.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/harness.sh"
harness_init "$1"
fresh_user
export QUELMO_EARBUDS_SOCKET="$XDG_RUNTIME_DIR/earbuds.sock"
start_x
start_bus

cat > "$work/scene.sim" <<'SCENE'
4 face
1 turn 80
4 hold
1 turn 0
30 hold
SCENE
"$sim" --earbuds "$work/scene.sim" >"$work/sim.out" 2>&1 &
pids+=($!)
start_quelmo

check "head motion arrives from the earbuds" wait_for 20 "head tracking live"
check "the log names the source" wait_for 5 "head motion from earbuds on the test socket"
if wait_for 20 "FROST at"; then
  ok "turning 80 degrees frosts ($(grep -m1 'FROST at' "$log" | cut -d' ' -f3-))"
else
  not_ok "turning 80 degrees frosts"
fi
check "looking back clears" wait_for 10 " clear$"
check "Quelmo asked the earbuds for head tracking" grep -q "earbuds: head tracking on" "$work/sim.out"

if [ $failed -gt 0 ]; then
  echo "--- the earbuds"; cat "$work/sim.out"
fi
finish
