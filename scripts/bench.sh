#!/usr/bin/env bash
# Installs what is missing, builds the 32-bit program and its benchmark, and runs the benchmark
# under Wine in Xvfb. Prints one table with each goal marked met or missed; exits non-zero when
# a goal was missed.
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages
build_arch i686

trap stop_wine EXIT
ensure_display
ensure_prefix
# Under Wine the Wine server and the X server work for the program; the benchmark adds their CPU
# time to its own where that matters. Ours are the server of this prefix and our own Xvfb.
helpers=""
for pid in $(pgrep -x wineserver64; pgrep -x wineserver); do
  if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
    helpers="$helpers $pid"
  fi
done
[ -n "${MORVANE_XVFB_PID:-}" ] && helpers="$helpers $MORVANE_XVFB_PID"
export MORVANE_BENCH_HELPER_PIDS="$helpers"
# The benchmark prints one table; Wine's own messages stay out of it.
WINEDLLOVERRIDES="mscoree,mshtml=" wine "$MORVANE_BUILD/i686/morvane_bench.exe" 2>/dev/null
