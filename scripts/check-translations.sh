#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the catalogues ui/i18n/quelmo_LANG.ts: each holds every text of the
# code (none missing, none left over) with a finished translation; then, with
# a build directory given, walks every window and menu in every language.
#   scripts/check-translations.sh [BUILD_DIR [--catalogues-only]]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-}"
walk=yes
[ "${2:-}" != "--catalogues-only" ] || walk=no
lupdate=/usr/lib/qt6/bin/lupdate
if [ ! -x "$lupdate" ]; then
  echo "SKIP: lupdate is missing (Debian package qt6-l10n-tools)"
  exit 0
fi

# The project file lupdate reads lists every source with texts; the build
# writes it (cmake --build BUILD --target update_translations does).
project=""
for dir in "$build" "$root/build"; do
  if [ -n "$dir" ] && [ -f "$dir/ui/i18n/.lupdate/quelmo_i18n_project.json" ]; then
    project="$dir/ui/i18n/.lupdate/quelmo_i18n_project.json"
    break
  fi
done
if [ -z "$project" ] && [ -n "$build" ]; then
  cmake --build "$build" --target update_translations >/dev/null
  project="$build/ui/i18n/.lupdate/quelmo_i18n_project.json"
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
status=0
for ts in "$root"/ui/i18n/quelmo_*.ts; do
  name="$(basename "$ts")"
  cp "$ts" "$scratch/$name"
  if [ -n "$project" ]; then
    # Brought up to date in a copy: texts new in the code come in unfinished,
    # texts gone from the code are marked vanished.
    "$lupdate" -project "$project" -ts "$scratch/$name" -locations none >/dev/null 2>&1
  fi
  unfinished=$(grep -c 'type="unfinished"' "$scratch/$name" || true)
  gone=$(grep -c 'type="vanished"\|type="obsolete"' "$scratch/$name" || true)
  if [ "$unfinished" -ne 0 ] || [ "$gone" -ne 0 ]; then
    echo "FAIL: $name has $unfinished untranslated and $gone unused texts" \
         "(make translations, then translate)"
    status=1
  else
    echo "ok: $name complete"
  fi
done
[ "$status" -eq 0 ] || exit "$status"

if [ -n "$build" ] && [ "$walk" = yes ]; then
  cmake --build "$build" --target ui_texts_tests
  ctest --test-dir "$build" -R 'EveryLanguage|LinuxWords|Languages\.' --output-on-failure
fi
