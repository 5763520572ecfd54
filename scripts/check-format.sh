#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when a C++ file is not formatted as .clang-format says, a QML file
# fails qmllint, or a source file lacks its licence line.
# Fix formatting and licence lines with: scripts/check-format.sh --fix
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -d .git ] || git rev-parse --git-dir >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
else
  mapfile -t files < <(find core app platform ui tools tests bench fuzz -name '*.cpp' -o -name '*.h' -o -name '*.c')
fi
if [ "${1:-}" = "--fix" ]; then
  python3 scripts/spdx.py --fix
  clang-format -i "${files[@]}"
  exit 0
fi
python3 scripts/spdx.py
if ! clang-format --dry-run -Werror "${files[@]}" 2>/tmp/quelmo-format.$$; then
  grep -E '^[^ ].*: (error|warning):' /tmp/quelmo-format.$$ | cut -d: -f1 | sort -u | sed 's/^/unformatted: /' >&2
  rm -f /tmp/quelmo-format.$$
  echo "Run scripts/check-format.sh --fix" >&2
  exit 1
fi
rm -f /tmp/quelmo-format.$$
echo "format check: ${#files[@]} files formatted"

# QML: syntax and the checks that need no built modules (our modules are
# compiled into the program, so imports and types cannot be resolved here).
qmllint=/usr/lib/qt6/bin/qmllint
if [ -x "$qmllint" ]; then
  mapfile -t qml < <(git ls-files '*.qml' 2>/dev/null || find ui tests -name '*.qml')
  "$qmllint" --import disable --type disable --unqualified disable --property disable \
    --required disable --compiler disable --controls-sanity disable --unused-imports disable \
    "${qml[@]}"
  echo "qml check: ${#qml[@]} files pass qmllint"
else
  echo "qml check skipped: qmllint missing (Debian package qt6-declarative-dev-tools)"
fi
