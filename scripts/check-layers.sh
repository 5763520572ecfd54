#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when an include points the wrong way between the layers:
#   core <- app <- platform <- ui <- program
# core is the standard library only; app is the model and its ports; platform
# serves the ports and knows nothing of the interface; ui draws; program wires.
# tools/ may use core, app and platform, never ui or program.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
check() { # check FOLDER FORBIDDEN-INCLUDE-PATTERN
  local hits
  hits=$(grep -rn -E "^#include \"($2)/" "$1" --include='*.cpp' --include='*.h' --include='*.c' || true)
  if [ -n "$hits" ]; then
    echo "$1/ must not include $2/:" >&2
    echo "$hits" | sed 's/^/  /' >&2
    status=1
  fi
}
check core 'app|platform|ui|program|tools'
check app 'platform|ui|program|tools'
check platform 'ui|program|tools'
check ui 'program|tools'
check tools 'ui|program'
if grep -rn -E '^#include <Q' core --include='*.cpp' --include='*.h' >/dev/null; then
  echo "core/ must not include Qt" >&2
  status=1
fi
[ $status -eq 0 ] && echo "layer check: every include points down (core <- app <- platform <- ui <- program)"
exit $status
