#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets (clang) and runs each over its corpus in fuzz/corpus.
#
#   fuzz/run.sh [RUNS]     runs per target (default 20000: a quick check)
#
# New inputs found along the way go to a scratch folder, not into the tree;
# a crash leaves its input in build-fuzz/ and fails the script.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-20000}"
out="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
if ! command -v clang++ >/dev/null; then
  echo "SKIP: clang++ is not installed (packages clang, libclang-rt-14-dev)"
  exit 0
fi
cmake -S "$root/fuzz" -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DQUELMO_FUZZ=ON \
  ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
cmake --build "$out" -j "${JOBS:-2}"
# Each corpus folder fuzz/corpus/NAME belongs to the target fuzz_NAME (fuzz/targets.cmake).
for corpus in "$root"/fuzz/corpus/*/; do
  name="$(basename "$corpus")"
  target="fuzz_$name"
  if [ ! -x "$out/$target" ]; then
    echo "FAILED: $target was not built for fuzz/corpus/$name"
    failed=1
    continue
  fi
  scratch="$(mktemp -d)"
  echo "== $target: $runs runs"
  status=0
  (cd "$out" && "./$target" -runs="$runs" -max_len=4096 -timeout=60 -rss_limit_mb=2048 \
    -print_final_stats=1 "$scratch" "$corpus") >"$out/$target.log" 2>&1 ||
    status=$?
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done)' "$out/$target.log" || true
  rm -rf "$scratch"
  if [ $status -ne 0 ]; then
    tail -40 "$out/$target.log"
    echo "FAILED: $target (the input is in $out, the output in $out/$target.log)"
    failed=1
  fi
done
exit "${failed:-0}"
