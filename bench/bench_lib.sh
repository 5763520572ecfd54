# SPDX-License-Identifier: MIT
# Helpers for the benchmark scripts (sourced, not run).

# record FIGURE GOAL MEASURED pass|fail: one row of `make bench`'s table,
# appended to the file named by QUELMO_BENCH_RESULTS when the runner set it.
record() {
  [ -n "${QUELMO_BENCH_RESULTS:-}" ] || return 0
  printf '%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "$4" >> "$QUELMO_BENCH_RESULTS"
}

# median NUMBER...: the middle value (the upper one of an even count).
median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int(NR / 2) + 1] }'
}

# passes EXPRESSION: "pass" when awk finds EXPRESSION true, else "fail".
passes() {
  awk "BEGIN { exit !($1) }" && echo pass || echo fail
}
