#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Earbuds as the field knows them, with the whole app: the probe talks to fake
# earbuds and captures the channel; that capture played back to Quelmo by
# quelmo-sim --earbuds --play gives the decisions the fake gave live; rude
# earbuds (property lists, random bodies, empty messages, flapping ears) in a
# still stream frost nothing; earbuds that answer but never stream are named.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/harness.sh"
harness_init "$1"
fresh_user
start_x
start_bus

cat >"$work/scene.sim" <<'SCENE'
3 face
1 turn 80
4 hold
1 turn 0
30 hold
SCENE

# Each part on a socket of its own: a fake that ends removes its socket file.
phase() { export QUELMO_EARBUDS_SOCKET="$XDG_RUNTIME_DIR/earbuds-$1.sock"; }
stop_sim() { kill "$1" 2>/dev/null; wait_until 10 gone "$1"; }
stop_quelmo() {
  kill "$quelmo_pid" 2>/dev/null
  wait_until 10 gone "$quelmo_pid"
}
decisions() { # the frost decisions in the log: "FROST 68" and "clear", one a line
  grep -oE 'FROST at -?[0-9]+|  clear$| clear$' "$log" | sed -E 's/FROST at /FROST /; s/ +clear/clear/'
}
same_decisions() { # same_decisions A B: the same words, angles within 3 degrees
  awk 'NR==FNR { a[FNR]=$0; n=FNR; next }
       { if (FNR > n) exit 1; split(a[FNR], x, " "); split($0, y, " ");
         if (x[1] != y[1]) exit 1; d = x[2] - y[2]; if (d > 3 || d < -3) exit 1; m = FNR }
       END { exit (m == n && n > 0) ? 0 : 1 }' "$1" "$2"
}

# 1. The probe against the fake, capturing every frame.
phase probe
"$sim" --earbuds "$work/scene.sim" >"$work/sim1.out" 2>&1 &
sim_pid=$!
pids+=($sim_pid)
"$quelmo" --probe-headphones --seconds 12 --capture "$work/capture.txt" >"$work/probe.out" 2>&1
stop_sim $sim_pid
check "the probe names the start frame that streamed" grep -q "start frame that streamed: service 14" "$work/probe.out"
check "the probe shows every step of the conversation" \
  grep -q "notification request answered after" "$work/probe.out"
check "the capture holds the frames both ways" \
  bash -c "grep -q '^[0-9.]* > 00 00 04 00 01 00' '$work/capture.txt' && grep -q '^[0-9.]* < 04 00 04 00 17 00' '$work/capture.txt'"
check "the capture holds nothing but frames" \
  bash -c "! grep -vE '^(#.*|[0-9]+\.[0-9]{3} [<>]( [0-9A-F]{2})*)$' '$work/capture.txt'"

# 2. Quelmo fed live by the fake.
phase live
"$sim" --earbuds "$work/scene.sim" >"$work/sim2.out" 2>&1 &
sim_pid=$!
pids+=($sim_pid)
start_quelmo
check "head motion arrives from the earbuds" wait_for 20 "head tracking live"
wait_for 20 " clear$"
decisions >"$work/live.txt"
stop_quelmo
stop_sim $sim_pid
check "turning 80 degrees frosts and turning back clears (live)" grep -q FROST "$work/live.txt"

# 3. The capture played back: the same decisions.
rm -f "$log"
phase played
"$sim" --earbuds --play "$work/capture.txt" >"$work/play.out" 2>&1 &
pids+=($!)
start_quelmo
wait_for 25 " clear$"
decisions >"$work/played.txt"
stop_quelmo
if same_decisions "$work/live.txt" "$work/played.txt"; then
  ok "the played capture gives the live decisions ($(tr '\n' ',' <"$work/played.txt"))"
else
  not_ok "the played capture gives the live decisions"
  echo "live:"; cat "$work/live.txt"; echo "played:"; cat "$work/played.txt"; cat "$work/play.out"
fi

# 4. Rude earbuds, the head still: nothing frosts, the channel stays.
rm -f "$log"
phase rude
printf '60 face\n' >"$work/still.sim"
"$sim" --earbuds --quirk plist,random,empty,flap "$work/still.sim" >"$work/sim4.out" 2>&1 &
rude=$!
pids+=($rude)
start_quelmo
check "rude earbuds: head tracking live" wait_for 20 "head tracking live"
sleep_until=$((SECONDS + 8))
wait_until 10 bash -c "[ \$SECONDS -ge $sleep_until ]"
check "rude earbuds: no frost in a still stream" bash -c "! grep -q FROST '$log'"
check "rude earbuds: the channel stays" bash -c "! grep -q 'headphones disconnected' '$log'"
stop_quelmo
stop_sim $rude

# 5. Earbuds that answer but never stream: said once, by name.
rm -f "$log"
phase silent
"$sim" --earbuds --quirk no-stream "$work/still.sim" >"$work/sim5.out" 2>&1 &
pids+=($!)
start_quelmo
check "earbuds that share no head motion are named" \
  wait_for 25 "no head motion from earbuds on the test socket: connected, but sharing none"
check "... in one line" test "$(grep -c 'no head motion from' "$log")" -eq 1
check "... after both start frames" bash -c "grep -q 'service 16' '$work/sim5.out'"

if [ $failed -gt 0 ]; then
  echo "--- probe"; cat "$work/probe.out"
fi
finish
