# SPDX-License-Identifier: MIT
# Shared by the whole-app scripts (soak, hostile input, faults); sourced, not run.
# A fresh user in a private folder, a private X server and session bus, the
# quelmo program and the virtual headphones, and TAP-like ok/not ok lines.
#
#   harness_init BUILD_FOLDER      sets up; without a tool it needs (here or in start_x)
#                                  it prints SKIP and exits 0
#   need_tools TOOL:PACKAGE...     prints SKIP and exits 0 unless every tool is there
#   fresh_user                     a new home with settings that keep the log
#   start_x [WxH] / start_bus      a private Xvfb / session bus for this script
#   start_sway [CONFIG LINES...]   a headless sway (as user "wltest" under root);
#                                  sets $socket and $swaysock
#   start_quelmo [ARGS]            quelmo in the background; its pid is in $quelmo_pid
#   wait_for SECONDS PATTERN       polls the log for a line matching PATTERN
#   wait_until SECONDS COMMAND...  polls COMMAND until it succeeds
#   send WORD                      quelmo --send WORD
#   finish                         prints the tally and exits with its verdict

need_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "${tool%%:*}" >/dev/null; then
      echo "SKIP: ${tool%%:*} is not installed (apt-get install ${tool#*:})"
      exit 0
    fi
  done
}

harness_init() {
  build="$(cd "${1:?build folder}" && pwd)"
  quelmo="$build/program/quelmo"
  sim="$build/tools/sim/quelmo-sim"
  if ! command -v dbus-daemon >/dev/null; then
    echo "SKIP: dbus-daemon is not installed (package dbus)"
    exit 0
  fi
  work="$(mktemp -d)"
  pids=()
  passed=0
  failed=0
  trap harness_cleanup EXIT
  export TZ=UTC QT_QPA_PLATFORM=xcb
  # The test command words (turn:N, fake:on, drop...) act only with this.
  export QUELMO_TEST_HOOKS=1
}

harness_cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; kill -CONT "$pid" 2>/dev/null; done
  wait 2>/dev/null
  [ -n "${KEEP_E2E:-}" ] && echo "kept $work" || rm -rf "$work"
}

ok() { echo "ok - $1"; passed=$((passed + 1)); }
not_ok() { echo "not ok - $1"; failed=$((failed + 1)); }
check() { # check DESCRIPTION COMMAND...: ok when COMMAND succeeds
  local what="$1"
  shift
  if "$@"; then ok "$what"; else not_ok "$what"; fi
}

fresh_user() { # fresh_user [NAME]: a new home; settings skip the guide and keep the log
  local home="$work/${1:-user}"
  rm -rf "$home"
  export HOME="$home/home" XDG_CONFIG_HOME="$home/config" XDG_STATE_HOME="$home/state"
  export XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run"
  mkdir -p "$HOME" "$XDG_CONFIG_HOME/Quelmo" "$XDG_STATE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  conf="$XDG_CONFIG_HOME/Quelmo/Quelmo.conf"
  printf '[General]\nonboardingDone=true\ndiagnostics=true\nfrostWhenFar=false\n' >"$conf"
  echo authorized >"$XDG_CONFIG_HOME/Quelmo/motion-access"
  log="$XDG_STATE_HOME/Quelmo/quelmo.log"
}

start_x() { # start_x [WIDTHxHEIGHT]: an X11 session, even inside a Wayland one
  local tool
  for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (packages xvfb, xdotool)"
      exit 0
    fi
  done
  rm -f "$work/display"
  unset WAYLAND_DISPLAY XDG_SESSION_TYPE
  Xvfb -displayfd 3 -screen 0 "${1:-1024x700}x24" -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
  x_pid=$!
  pids+=("$x_pid")
  wait_until 10 test -s "$work/display" || { echo "not ok - Xvfb did not start"; exit 1; }
  export DISPLAY=":$(head -1 "$work/display")"
}

start_sway() { # start_sway [EXTRA CONFIG LINE...]: one 1280x720 output, no XWayland
  local run="$work/sway-run" line
  chmod 755 "$work" # sway runs as another user when the tests run as root
  mkdir -m 700 "$run"
  printf 'output HEADLESS-1 resolution 1280x720\nxwayland disable\n' >"$run/sway.conf"
  for line in "$@"; do echo "$line" >>"$run/sway.conf"; done
  local as_user=()
  if [ "$(id -u)" -eq 0 ]; then
    id wltest >/dev/null 2>&1 || useradd -m wltest
    chown -R wltest "$run"
    as_user=(runuser -u wltest --)
  fi
  "${as_user[@]}" env -i HOME="$run" PATH=/usr/local/bin:/usr/bin:/bin XDG_RUNTIME_DIR="$run" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$run/sway.conf" >"$work/sway.log" 2>&1 &
  pids+=($!)
  socket=""
  swaysock=""
  for _ in $(seq 150); do
    socket=$(find "$run" -maxdepth 1 -type s -name 'wayland-*' | head -1)
    swaysock=$(find "$run" -maxdepth 1 -type s -name 'sway-ipc.*' | head -1)
    [ -n "$socket" ] && [ -n "$swaysock" ] && return 0
    sleep 0.1
  done
  echo "not ok - sway did not start"
  cat "$work/sway.log"
  exit 1
}

start_bus() {
  local address pid
  { read -r address; read -r pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
  export DBUS_SESSION_BUS_ADDRESS="$address"
  bus_pid="$pid"
  pids+=("$bus_pid")
}

start_quelmo() { # start_quelmo [ARGS]: output goes to $work/quelmo.out
  "$quelmo" "$@" >>"$work/quelmo.out" 2>&1 &
  quelmo_pid=$!
  pids+=("$quelmo_pid")
}

wait_until() { # wait_until SECONDS COMMAND...
  local deadline=$((SECONDS + $1))
  shift
  while :; do
    "$@" && return 0
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}

log_has() { grep -q -- "$1" "$log" 2>/dev/null; }
wait_for() { wait_until "$1" log_has "$2"; }
# Lines written at or after a time stamp (UTC, "yyyy-MM-dd HH:mm:ss.SSS").
log_since() { awk -v t="$1" 'substr($0, 1, 23) >= t' "$log" 2>/dev/null; }
log_since_has() { log_since "$1" | grep -q -- "$2"; }
now_stamp() { date -u '+%Y-%m-%d %H:%M:%S.%3N'; }
alive() { kill -0 "${1:-$quelmo_pid}" 2>/dev/null && [ "$(ps -o stat= -p "${1:-$quelmo_pid}")" != Z ]; }
gone() { ! alive "$@"; }

send() { "$quelmo" --send "$1" >/dev/null 2>&1; }
# Sends WORD and waits until the log shows it arrived: the app is responsive.
send_and_see() { # send_and_see SECONDS WORD
  local t0
  t0="$(now_stamp)"
  send "$2"
  wait_until "$1" log_since_has "$t0" "command: $2"
}

# The frost goes on by turning away (the command channel's injected turn)
# and off again by facing the screen and re-centring.
frost_now() { # frost_now SECONDS: ok when a frost starts within SECONDS
  local t0
  t0="$(now_stamp)"
  send turn:80
  wait_until "$1" log_since_has "$t0" "FROST at"
}
# (the injected turn eases back at 250°/s; re-centring before it is back
# would make the turned-away direction the new forward).
clear_frost() {
  local t0
  t0="$(now_stamp)"
  send turn:0
  wait_until 2 log_since_has "$t0" " clear$"
  send recenter
  wait_until "${1:-5}" log_since_has "$t0" " clear$"
}

finish() {
  if [ $failed -gt 0 ] && [ -f "$work/quelmo.out" ]; then
    echo "--- quelmo's output (last 30 lines)"; tail -30 "$work/quelmo.out"
    [ -f "$log" ] && { echo "--- log"; grep -v '^.\{24\}angle ' "$log" | tail -30; }
  fi
  echo "$passed passed, $failed failed"
  [ $failed -eq 0 ]
  exit
}
