#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The whole app locks the session after a minute of an away frost: logind is
# a stand-in on a private bus (the system bus as Quelmo sees it), and its
# Lock call must come, once, with the log line. Takes a little over a minute.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/harness.sh"
harness_init "$1"
fresh_user
printf 'lockWhenAway=true\nlockAfterMinutes=1\n' >>"$conf"
start_x
start_bus
export DBUS_SYSTEM_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS"
"$build/tests/support/fake-logind" >"$work/logind.out" 2>&1 &
pids+=($!)
wait_until 10 grep -q ready "$work/logind.out" || { echo "not ok - the fake logind did not start"; exit 1; }
locks() { grep -c '^Lock$' "$work/logind.out"; }
locked() { [ "$(locks)" -ge 1 ]; }

start_quelmo
check "Quelmo starts" wait_for 20 "launched; motion authorization authorized"
# The test source, a turn, then the headphones gone: an away frost.
send fake:on
sleep 4
send turn:90
check "turning away frosts" wait_for 10 "FROST at"
sleep 20
[ "$(locks)" -eq 0 ] && ok "a turn frost does not lock" || not_ok "a turn frost does not lock"
t0="$(now_stamp)"
send drop
check "the headphones gone make it an away frost" wait_for 5 "status: Frosted. You stepped away."
sleep 50
[ "$(locks)" -eq 0 ] && ok "no lock before the minute is up" || not_ok "no lock before the minute is up"
check "logind is asked to lock after a minute away" wait_until 20 locked
check "the log says so" wait_for 5 "locked the session after 1 minutes away"
sleep 3
[ "$(locks)" -eq 1 ] && ok "one request for the stretch" || not_ok "one request for the stretch ($(locks))"
finish
