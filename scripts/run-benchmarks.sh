#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs every benchmark of the build, then prints one table (figure, goal,
# measured, pass/fail) and writes it as JSON to BUILD/bench/results.json.
# Each benchmark's own output is shown as it runs and kept in BUILD/bench/logs/.
set -uo pipefail
build_dir="${1:-build}"
cd "$(dirname "$0")/.."
build="$(cd "$build_dir" && pwd)"
out="$build/bench"
mkdir -p "$out/logs"
results="$out/results.tsv"
: > "$results"
export QUELMO_BENCH_RESULTS="$results"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

run() {
  local name=$1
  shift
  echo "== $name"
  "$@" 2>&1 | grep -v '^QStandardPaths:' | tee "$out/logs/$name.log"
}
for bench in "$out"/*_bench; do
  [ -x "$bench" ] || continue
  run "$(basename "$bench")" "$bench" --benchmark_min_time=0.5
done
for script in bench/*.sh; do
  [ -x "$script" ] || continue
  run "$(basename "$script" .sh)" "$script" "$build"
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

echo
echo "Machine: $(nproc) cores; load average $load_before before, $load_after after"
awk -F '\t' '
  { rows[NR] = $0; for (i = 1; i <= 4; i++) if (length($i) > w[i]) w[i] = length($i) }
  END {
    split("figure\tgoal\tmeasured\tresult", head, "\t")
    for (i = 1; i <= 4; i++) if (length(head[i]) > w[i]) w[i] = length(head[i])
    fmt = "%-" w[1] "s  %-" w[2] "s  %-" w[3] "s  %s\n"
    printf fmt, head[1], head[2], head[3], head[4]
    for (r = 1; r <= NR; r++) { split(rows[r], f, "\t"); printf fmt, f[1], f[2], f[3], f[4] }
  }' "$results"

json_string() { printf '"%s"' "$(printf '%s' "$1" | sed 's/\\/\\\\/g; s/"/\\"/g')"; }
{
  printf '{\n  "date": %s,\n' "$(json_string "$(date -u +%Y-%m-%dT%H:%M:%SZ)")"
  printf '  "cores": %s,\n' "$(nproc)"
  printf '  "load_average_before": %s,\n' "$(json_string "$load_before")"
  printf '  "load_average_after": %s,\n' "$(json_string "$load_after")"
  printf '  "figures": ['
  separator=""
  while IFS=$'\t' read -r figure goal measured verdict; do
    printf '%s\n    {"figure": %s, "goal": %s, "measured": %s, "pass": %s}' "$separator" \
      "$(json_string "$figure")" "$(json_string "$goal")" "$(json_string "$measured")" \
      "$([ "$verdict" = pass ] && echo true || echo false)"
    separator=","
  done < "$results"
  printf '\n  ]\n}\n'
} > "$out/results.json"
echo "(also in $out/results.json)"
