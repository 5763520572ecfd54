#!/usr/bin/env bash
# Runs every benchmark of the build and prints its figures.
set -euo pipefail
build_dir="${1:-build}"
cd "$(dirname "$0")/.."
for bench in "$build_dir"/bench/*_bench; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" --benchmark_min_time=0.5
done
for script in bench/*.sh; do
  [ -x "$script" ] || continue
  echo "== $(basename "$script")"
  "$script" "$build_dir"
done
