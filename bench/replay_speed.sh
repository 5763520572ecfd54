#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# How long quelmo-replay takes, as a process, for one hour of 50 Hz head data
# with a keyboard/mouse reading and a Bluetooth reading every 2 s (183,600
# events): reading the file, deciding, printing every state line. Median of
# five runs, output to /dev/null. Goal: under 0.12 s.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/bench_lib.sh"
build="$(cd "${1:-build}" && pwd)"
replay="$build/tools/replay/quelmo-replay"
[ -x "$replay" ] || { echo "replay_speed: $replay is not built"; exit 0; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The same made-up hour as core_bench's replay benchmark.
awk 'function heading(t) { return 60 * sin(t / 9) + 25 * sin(t / 2.3) }
     function vertical(t) { return int(t / 30) % 4 == 3 ? 0.3 * sin(11.938 * t) : 0 }
     BEGIN {
       last = 0
       for (i = 0; i < 180000; i++) {
         t = i * 0.02
         printf "m,%.2f,%.3f,%.4f\n", t, heading(t), vertical(t)
         if (i % 100 == 0) {
           if (int(t / 20) % 3 == 0) last = t
           printf "i,%.2f,%.3f\n", t, t - last
         }
         if (i % 100 == 50) printf "p,%.2f,AA-BB=%.0f\n", t, -58 - 30 * (i % 1000 > 800)
       }
     }' > "$work/hour.trace"
events=$(wc -l < "$work/hour.trace")

"$replay" "$work/hour.trace" > /dev/null # warm the page cache
times=()
cpus=()
TIMEFORMAT='%R %U %S'
for _ in 1 2 3 4 5; do
  read -r real user sys < <({ time "$replay" "$work/hour.trace" > /dev/null; } 2>&1)
  times+=("$real")
  cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')")
done
wall=$(median "${times[@]}")
cpu=$(median "${cpus[@]}")
echo "replay of one hour at 50 Hz ($events events): median ${wall} s wall, ${cpu} s CPU (5 runs)"
record "Replay one hour at 50 Hz ($events events)" "< 0.12 s" "${wall} s (CPU ${cpu} s)" \
  "$(passes "$wall < 0.12")"
