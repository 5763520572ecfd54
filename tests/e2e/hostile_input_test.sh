#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Hostile and broken input to the whole app, one case after another on a
# private X server and session bus: damaged settings files, odd consent
# records, log and runtime folders that cannot be used, a lock file that is a
# folder, malformed and flooding motion datagrams, odd command words and
# report tools that misbehave. Every case must end with Quelmo running and
# answering (or, where it cannot start, a clear message), the user's settings
# kept and the frost still working.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/harness.sh"
harness_init "$1"
sender="$build/tests/e2e/hostile-sender"
start_x
start_bus

stop_quelmo() {
  kill "$quelmo_pid" 2>/dev/null
  wait_until 10 gone || kill -9 "$quelmo_pid" 2>/dev/null
  wait "$quelmo_pid" 2>/dev/null
  [ -n "${sim_pid:-}" ] && { kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null; sim_pid=""; }
}
a_window() { xdotool search --name "Quelmo Settings|Welcome to Quelmo" >/dev/null 2>&1; }
# Up without its log: a second start brings a window of the running one forward.
answers_reopen() {
  wait_until 20 test -S "$(instance_folder)/instance.sock" || return 1
  "$quelmo" >/dev/null 2>&1
  wait_until 10 a_window
}
instance_folder() { echo "${XDG_RUNTIME_DIR:-/tmp/none}/quelmo"; }
up() { wait_for 20 "launched; motion authorization"; }
# Head motion facing the screen, and the frost by an injected turn.
face_screen() {
  printf '2 face\n600 hold\n' >"$work/face.sim"
  "$sim" "$work/face.sim" >/dev/null 2>&1 &
  sim_pid=$!
  pids+=("$sim_pid")
  wait_for 15 "head tracking live" && wait_for 15 "status: Watching"
}
frosts_and_clears() { frost_now 15 && clear_frost 10; }

# --- Settings files ---------------------------------------------------------
fresh_user settings-binary
head -c 4096 /dev/urandom >"$conf"
cp "$conf" "$work/binary.orig"
start_quelmo
check "a binary settings file: Quelmo starts on the defaults" answers_reopen
check "... and the bytes are kept (in the file or Quelmo.conf.corrupt)" \
  bash -c "cmp -s '$conf' '$work/binary.orig' || cmp -s '$conf.corrupt' '$work/binary.orig'"
stop_quelmo

fresh_user settings-huge
{ cat "$conf"; head -c 50000000 /dev/zero | tr '\0' '#'; echo; } >"$conf.big" && mv "$conf.big" "$conf"
start_quelmo
check "a 50 MB settings file: Quelmo starts and reads it" up
check "... and stays responsive" send_and_see 10 recenter
stop_quelmo

fresh_user settings-folder
rm "$conf" && mkdir "$conf"
start_quelmo
check "a folder in the settings file's place: Quelmo starts on the defaults" answers_reopen
check "... and leaves the folder alone" test -d "$conf"
stop_quelmo

for values in "triggerAngle=nan frostStrength=inf" "triggerAngle=1e400 frostStrength=-0" \
  "triggerAngle=50abc frostStrength=0x1p-2"; do
  fresh_user settings-values
  for v in $values; do echo "$v" >>"$conf"; done
  start_quelmo
  if up && face_screen; then
    ok "settings $values: Quelmo starts"
    check "... the frost works with them" frost_now 15
    check "... and the texts are kept as written" bash -c "grep -q '^${values%% *}\$' '$conf'"
  else
    not_ok "settings $values: Quelmo starts"
  fi
  stop_quelmo
done

# Unreadable files: root reads everything, so the unit tests for them run as
# an ordinary user (they are skipped when run as root).
if [ "$(id -u)" = 0 ]; then
  if command -v runuser >/dev/null && id nobody >/dev/null 2>&1 &&
    runuser -u nobody -- test -x "$build/tests/platform/settings/platform_settings_tests"; then
    check "an unreadable settings file is never written over (as user nobody)" \
      runuser -u nobody -- "$build/tests/platform/settings/platform_settings_tests" \
      --gtest_filter='*Unreadable*' --gtest_brief=1
    check "an unwritable log folder or file leaves the log closed (as user nobody)" \
      runuser -u nobody -- "$build/tests/platform/log/platform_log_tests" \
      --gtest_filter='*CannotBe*:*WithoutWritePermission*' --gtest_brief=1
  else
    echo "# skipped: unreadable files as another user (needs runuser, user nobody and a build folder nobody can read)"
  fi
fi

# --- The motion consent record ---------------------------------------------
record_case() { # record_case NAME: $record is prepared by the caller
  start_quelmo
  check "a consent record that is $1: Quelmo starts without blocking and asks" \
    wait_for 20 "launched; motion authorization notDetermined"
  stop_quelmo
}
fresh_user record-fifo
record="$XDG_CONFIG_HOME/Quelmo/motion-access"
rm "$record" && mkfifo "$record"
record_case "a FIFO"
fresh_user record-zero
record="$XDG_CONFIG_HOME/Quelmo/motion-access"
rm "$record" && ln -s /dev/zero "$record"
record_case "a link to /dev/zero"
fresh_user record-huge
record="$XDG_CONFIG_HOME/Quelmo/motion-access"
{ echo authorized; } >"$record" && truncate -s 2G "$record"
record_case "2 GB long"

# --- The log folder ----------------------------------------------------------
fresh_user log-file
mkdir -p "$XDG_STATE_HOME" && echo "not a folder" >"$XDG_STATE_HOME/Quelmo"
start_quelmo
check "a file in the log folder's place: Quelmo runs without its log" answers_reopen
check "... and leaves the file alone" grep -q "not a folder" "$XDG_STATE_HOME/Quelmo"
stop_quelmo

fresh_user log-full
mkdir -p "$XDG_STATE_HOME/Quelmo"
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=64k quelmo-full "$XDG_STATE_HOME/Quelmo" 2>/dev/null; then
  head -c 1M /dev/zero >"$XDG_STATE_HOME/Quelmo/filler" 2>/dev/null
  start_quelmo
  check "a full file system under the log: Quelmo runs" answers_reopen
  rm "$XDG_STATE_HOME/Quelmo/filler"
  check "... and the log goes on once there is room" send_and_see 10 recenter
  stop_quelmo
  umount "$XDG_STATE_HOME/Quelmo"
else
  # Without the right to mount, /dev/full stands in: every write fails with ENOSPC.
  ln -s /dev/full "$log"
  start_quelmo
  check "a log on a full device (/dev/full; no tmpfs could be mounted): Quelmo runs" answers_reopen
  stop_quelmo
fi

# --- The runtime folder and the instance lock --------------------------------
fresh_user runtime-open
chmod 1777 "$XDG_RUNTIME_DIR"
start_quelmo
if up && face_screen; then
  ok "a world-writable runtime folder: Quelmo starts and receives motion"
  check "... in a private folder of its own" test "$(stat -c %a "$XDG_RUNTIME_DIR/quelmo")" = 700
else
  not_ok "a world-writable runtime folder: Quelmo starts and receives motion"
fi
stop_quelmo

if [ "$(id -u)" = 0 ] && id nobody >/dev/null 2>&1; then
  fresh_user runtime-foreign
  mkdir -p "$XDG_RUNTIME_DIR/quelmo" && chown nobody "$XDG_RUNTIME_DIR/quelmo"
  start_quelmo
  check "a runtime folder of another user: Quelmo starts anyway" up
  check "... and says why it cannot check for a running copy" \
    wait_until 5 grep -q "belongs to another user; starting without the check" "$work/quelmo.out"
  stop_quelmo
else
  echo "# skipped: a runtime folder of another user (needs root to give a folder away)"
fi

fresh_user runtime-missing
export XDG_RUNTIME_DIR="$work/runtime-missing/nowhere/run"
start_quelmo
check "a runtime folder that does not exist: Quelmo starts" up
check "... and reports that motion cannot be received" \
  wait_until 5 grep -q "head motion cannot be received: cannot create $XDG_RUNTIME_DIR" "$work/quelmo.out"
stop_quelmo

fresh_user lock-folder
mkdir -p "$XDG_RUNTIME_DIR/quelmo/instance.lock"
start_quelmo
check "a folder in the lock file's place: Quelmo starts" up
check "... and says it cannot take the lock" \
  wait_until 5 grep -q "cannot take the lock" "$work/quelmo.out"
stop_quelmo

# --- Motion datagrams --------------------------------------------------------
fresh_user datagrams
start_quelmo
up || not_ok "Quelmo starts for the datagram cases"
socket="$XDG_RUNTIME_DIR/quelmo/motion.sock"
wait_until 10 test -S "$socket"
for kind in truncated big magic nan denormal; do
  for _ in 1 2 3 4 5; do "$sender" datagram "$socket" "$kind" >/dev/null; done
done
# A command word afterwards marks when they have all been read.
dropped() { send_and_see 5 recenter && alive && ! log_has "head tracking live"; }
check "truncated, 64 KiB, wrong-magic, NaN and denormal datagrams are dropped" dropped
"$sender" flood "$socket" 100000 10 0 >"$work/flood.out" &
flood_pid=$!
wait_for 5 "head tracking live"
responsive=0
for _ in 1 2 3; do send_and_see 5 recenter && responsive=$((responsive + 1)); done
wait "$flood_pid"
check "a flood of 100,000 datagrams a second for 10 s: commands still answered ($responsive of 3; $(cat "$work/flood.out"))" \
  test $responsive -eq 3
face_screen
check "... and afterwards the frost still comes and goes" frosts_and_clears
stop_quelmo

# --- Command words -----------------------------------------------------------
fresh_user words
start_quelmo
up || not_ok "Quelmo starts for the command word cases"
t0="$(now_stamp)"
"$sender" word 1048576
check "a 1 MB word: logged cut short with its length" \
  wait_until 10 log_since_has "$t0" "command: a\{200\}\.\.\. (1048576 bytes)$"
t0="$(now_stamp)"
send $'\xff\xfe'
check "a word that is not UTF-8: logged and ignored" wait_until 10 log_since_has "$t0" "command: ..$"
t0="$(now_stamp)"
send $'pause\n2026-01-01 00:00:00.000 FROST at 99.0'
not_forged() {
  wait_until 10 log_since_has "$t0" 'command: pause.x0a2026' &&
    ! log_since "$t0" | grep -q '^2026-01-01' && ! log_since "$t0" | grep -q 'status: Paused'
}
check "a word with a newline: one log line, nothing forged, not obeyed" not_forged
t0="$(now_stamp)"
"$sender" burst 1000
burst_count() { [ "$(log_since "$t0" | grep -c 'command: ')" -ge 1000 ]; }
check "1,000 words in a burst all arrive" wait_until 20 burst_count
check "... and Quelmo answers at once afterwards" send_and_see 5 recenter
stop_quelmo

# Any process of the user can send words: started without the test hooks,
# Quelmo logs the test words and does nothing else (the fake source would make
# head tracking live within 20 ms; the next word marks when they were read).
fresh_user words-without-hooks
QUELMO_TEST_HOOKS= start_quelmo
up || not_ok "Quelmo starts without the test hooks"
t0="$(now_stamp)"
send fake:on
send input:ignore
not_obeyed() {
  send_and_see 5 recenter && log_since_has "$t0" "command: fake:on" &&
    ! log_since "$t0" | grep -q "head tracking live"
}
check "test words without QUELMO_TEST_HOOKS=1: logged, not obeyed" not_obeyed
stop_quelmo

# --- Report tools ------------------------------------------------------------
report_case() { # report_case DESCRIPTION SHELL-LINE
  fresh_user report
  sed -i 's/frostWhenFar=false/frostWhenFar=true/' "$conf"
  : >"$work/runs"
  export QUELMO_BLUETOOTH_REPORT="echo run >>'$work/runs'; $2"
  start_quelmo
  unset QUELMO_BLUETOOTH_REPORT
  if up && face_screen; then
    runs_again() { [ "$(wc -l <"$work/runs")" -ge 3 ]; }
    check "a report tool that $1: Quelmo keeps reading" wait_until 40 runs_again
    check "... stays responsive" send_and_see 5 recenter
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$quelmo_pid/status")
    check "... and small ($rss kB)" test "$rss" -lt 400000
    stop_quelmo
    leftover() { ! pgrep -f "sleep 31[0-9]" >/dev/null; }
    check "... and leaves no process behind" wait_until 15 leftover
  else
    not_ok "a report tool that $1: Quelmo starts"
    stop_quelmo
  fi
}
report_case "prints 100 MB" "head -c 100000000 /dev/zero | tr '\\0' x"
report_case "never exits" "exec sleep 311"
report_case "starts children" "sleep 312 & sleep 313 & echo '{}'"
report_case "nests JSON deeply" "i=0; while [ \$i -lt 20000 ]; do printf '[{\"SPBluetoothDataType\":'; i=\$((i+1)); done"

finish
