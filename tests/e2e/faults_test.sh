#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Faults around the whole app while the screen is frosted: the process is
# stopped for 15 s and continued, it is asked to end by SIGTERM or SIGINT,
# the session bus restarts, the X server dies; and two copies start in the
# same instant.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/harness.sh"
harness_init "$1"

start_bus_at() { # a session bus at a fixed address, so it can be restarted there
  dbus-daemon --session --nofork --address="unix:path=$work/bus" >/dev/null 2>&1 &
  bus_pid=$!
  pids+=("$bus_pid")
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
  wait_until 10 test -S "$work/bus"
}
frosted_app() { # frosted_app NAME: a fresh user's Quelmo, watching and frosted
  fresh_user "$1"
  start_quelmo
  wait_for 20 "launched; motion authorization authorized" || return 1
  printf '2 face\n900 hold\n' >"$work/face.sim"
  "$sim" "$work/face.sim" >/dev/null 2>&1 &
  sim_pid=$!
  pids+=("$sim_pid")
  wait_for 15 "head tracking live" && wait_for 15 "status: Watching" && frost_now 15
}
stop_sim() { kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null; }
exit_status() { wait "$quelmo_pid"; echo $?; }
last_line_whole() { # the log ends with a whole, time-stamped line
  [ "$(tail -c1 "$log" | od -An -c | tr -d ' ')" = '\n' ] &&
    tail -1 "$log" | grep -Eq '^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9:]{8}\.[0-9]{3} '
}

start_x
start_bus_at

# SIGSTOP for 15 s while frosted: longer than the watchdog's 10 s, yet no hang.
if frosted_app stopped; then
  kill -STOP "$quelmo_pid"
  resume_at=$((SECONDS + 15))
  fifteen_seconds_passed() { [ $SECONDS -ge $resume_at ]; }
  wait_until 20 fifteen_seconds_passed
  kill -CONT "$quelmo_pid"
  check "stopped 15 s while frosted and continued: Quelmo answers" send_and_see 10 walk:off
  check "... still frosted" bash -c "! grep -q ' clear$' '$log'"
  check "... the watchdog did not end it (it was stopped, not hung)" alive
  clear_frost 10 && frost_now 15 && ok "... and then clears and frosts as before" ||
    not_ok "... and then clears and frosts as before"
else
  not_ok "a frosted Quelmo for the stop"
fi
stop_sim
kill "$quelmo_pid" 2>/dev/null
wait_until 10 gone

for sig in TERM INT; do
  if frosted_app "sig$sig"; then
    socket="$XDG_RUNTIME_DIR/quelmo/motion.sock"
    kill -"$sig" "$quelmo_pid"
    check "SIG$sig while frosted: Quelmo ends within 5 s" wait_until 5 gone
    status=$(exit_status)
    check "... with exit status 0 (got $status)" test "$status" = 0
    check "... its log ends with a whole line" last_line_whole
    check "... and its motion socket is removed" test ! -e "$socket"
  else
    not_ok "a frosted Quelmo for SIG$sig"
  fi
  stop_sim
done

# The session bus restarts: the frost keeps working from the head motion;
# command words and screen-lock news need a bus, and are heard again only
# after Quelmo restarts.
if frosted_app busrestart; then
  clear_frost 10
  kill "$bus_pid"
  wait "$bus_pid" 2>/dev/null
  rm -f "$work/bus"
  start_bus_at
  printf '6 face\n2 turn 80\n30 hold\n' >"$work/turn.sim"
  t0="$(now_stamp)"
  stop_sim
  "$sim" "$work/turn.sim" >/dev/null 2>&1 &
  sim_pid=$!
  pids+=("$sim_pid")
  check "the session bus restarted: Quelmo keeps running" alive
  check "... and turning away still frosts" wait_until 20 log_since_has "$t0" "FROST at"
  stop_sim
  kill "$quelmo_pid" 2>/dev/null
  wait_until 10 gone
else
  not_ok "a frosted Quelmo for the bus restart"
fi

# Two starts in the same instant: exactly one stays.
fresh_user twins
"$quelmo" >"$work/twin1.out" 2>&1 &
twin1=$!
"$quelmo" >"$work/twin2.out" 2>&1 &
twin2=$!
pids+=("$twin1" "$twin2")
wait_for 20 "launched; motion authorization"
one_left() { [ $((!$(kill -0 $twin1 2>/dev/null; echo $?) + !$(kill -0 $twin2 2>/dev/null; echo $?))) -eq 1 ]; }
check "two starts in the same instant: exactly one stays" wait_until 10 one_left
check "... and it logged one launch" test "$(grep -c 'launched; motion' "$log")" -eq 1
kill "$twin1" "$twin2" 2>/dev/null
wait "$twin1" "$twin2" 2>/dev/null

# The X server dies while frosted: Quelmo cannot go on without its display.
if frosted_app xdies; then
  kill -9 "$x_pid"
  check "the X server died while frosted: Quelmo ends within 10 s" wait_until 10 gone
  status=$(exit_status)
  echo "# exit status $status; it said: $(grep -i -m1 'x11\|xcb\|display' "$work/quelmo.out")"
  start_x
  stop_sim
  : >"$work/quelmo.out"
  t0="$(now_stamp)"
  start_quelmo
  check "... and starts again on a new X server (the stale lock taken over)" \
    wait_until 20 log_since_has "$t0" "launched; motion"
else
  not_ok "a frosted Quelmo for the X server's death"
fi
finish
