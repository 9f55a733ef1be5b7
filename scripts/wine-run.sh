#!/usr/bin/env bash
# Runs one Windows program under Wine in the build tree's prefix (CTest's cross-compiling
# emulator). Usage: wine-run.sh PREFIX PROGRAM [ARGS...]. Needs DISPLAY (test.sh provides one).
# MORVANE_TEST_WINEPREFIX, when set, names the prefix instead (test.sh gives each architecture's
# suite a prefix of its own).
set -euo pipefail
prefix="${MORVANE_TEST_WINEPREFIX:-$1}"; shift
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run.sh: no DISPLAY; run the tests through scripts/test.sh" >&2
  exit 2
fi
"$(dirname "$0")/wine-prefix.sh" "$prefix"
# A test may add DLL overrides of its own through MORVANE_DLLOVERRIDES.
export WINEPREFIX="$prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=${MORVANE_DLLOVERRIDES:+;$MORVANE_DLLOVERRIDES}"
exec wine "$@"
