#!/usr/bin/env bash
# Prints what the running app costs: time from start to its tray icon,
# resident memory while watching with no window open, and CPU while watching
# 50 Hz head data. Runs on a private Xvfb with an XEmbed tray (trayer), a
# private session bus and a throw-away profile.
# Goals: tray icon < 300 ms, memory < 60 MB, CPU < 0.3% of one core.
set -uo pipefail
build="$(cd "${1:-build}" && pwd)"
quelmo="$build/program/quelmo"
sim="$build/tools/sim/quelmo-sim"
for tool in Xvfb trayer xdotool dbus-launch; do
  command -v "$tool" >/dev/null || { echo "app_footprint: $tool is not installed"; exit 0; }
done

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Quelmo" "$XDG_STATE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[General]\nonboardingDone=true\n%s' "${EXTRA_SETTINGS:-}" > "$XDG_CONFIG_HOME/Quelmo/Quelmo.conf"
echo authorized > "$XDG_CONFIG_HOME/Quelmo/motion-access"

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
eval "$(dbus-launch --sh-syntax)"
pids+=("$DBUS_SESSION_BUS_PID")
trayer --edge top --align right --widthtype request --height 26 >/dev/null 2>&1 &
pids+=($!)
sleep 1

now_ms() { echo $(($(date +%s%N) / 1000000)); }
start=$(now_ms)
"$quelmo" >/dev/null 2>&1 &
app=$!
pids+=("$app")
shown=""
for _ in $(seq 1000); do
  if xdotool search --onlyvisible --pid "$app" >/dev/null 2>&1; then
    shown=$(now_ms)
    break
  fi
  sleep 0.005
done
if [ -n "$shown" ]; then
  echo "start to tray icon: $((shown - start)) ms"
else
  echo "start to tray icon: no tray icon within 5 s"
fi

printf '120 hold\n' > "$work/still.sim"
"$sim" "$work/still.sim" >/dev/null 2>&1 &
pids+=($!)
sleep 10
rss=$(awk '/VmRSS/ { print $2 }' "/proc/$app/status")
echo "resident memory while watching, no window open: $((rss / 1024)) MB"

ticks() { awk '{ print $14 + $15 }' "/proc/$app/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks)
s0=$(now_ms)
sleep 30
t1=$(ticks)
s1=$(now_ms)
awk -v t="$((t1 - t0))" -v hz="$hz" -v ms="$((s1 - s0))" \
  'BEGIN { printf "CPU while watching 50 Hz head data: %.2f%% of one core\n", 100 * (t / hz) / (ms / 1000) }'
