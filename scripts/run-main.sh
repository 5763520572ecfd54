#!/usr/bin/env bash
# The main job: replay the bundled example trace through the detection core
# and print every decision it takes.
set -euo pipefail
build_dir="${1:-build}"
cd "$(dirname "$0")/.."
exec "$build_dir/tools/replay/quelmo-replay" examples/turn-away-and-back.trace
