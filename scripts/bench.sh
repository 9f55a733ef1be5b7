#!/usr/bin/env bash
# Installs what is missing, builds the 32-bit program and its benchmark, and runs the benchmark
# under Wine in Xvfb, once at 96 DPI (100 %) and once at 192 DPI (200 %). Prints one table per
# run with each goal marked met or missed; exits non-zero when a goal was missed in either run.
# With --markdown it also writes both runs' figures into docs/performance.md and the start-up
# ratio into README.md (scripts/write_bench_tables.py), with the commit and the day; any other
# argument goes to the benchmark ("startup" measures the start-up alone, "memory" the memory alone).
# Usage: bench.sh [--markdown] [startup|memory]
set -euo pipefail
source "$(dirname "$0")/common.sh"

markdown=0
bench_args=()
for arg in "$@"; do
  if [ "$arg" = --markdown ]; then markdown=1; else bench_args+=("$arg"); fi
done

ensure_packages
build_arch i686

trap stop_wine EXIT
ensure_display
ensure_prefix
# The system DPI is LogPixels under HKCU\Control Panel\Desktop, read as a program starts. Each
# run sets it in the prefix; the prefix gets its own value back at the end, also after a failure.
desktop='HKCU\Control Panel\Desktop'
saved_dpi="$(wine reg query "$desktop" /v LogPixels </dev/null 2>/dev/null |
  awk '$1 == "LogPixels" { print $3 }' || true)"
restore_dpi() {
  if [ -n "$saved_dpi" ]; then
    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$((saved_dpi))" /f </dev/null >/dev/null 2>&1
  else
    wine reg delete "$desktop" /v LogPixels /f </dev/null >/dev/null 2>&1
  fi
}
trap 'restore_dpi || true; stop_wine; rm -rf "${outputs:-}"' EXIT

# Under Wine the Wine server and the X server work for the program; the benchmark adds their CPU
# time to its own where that matters. Ours are the server of this prefix and our own Xvfb.
helpers=""
for pid in $(pgrep -x wineserver64; pgrep -x wineserver); do
  # A server that ended since pgrep saw it has no environment left to read.
  if { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
    helpers="$helpers $pid"
  fi
done
[ -n "${MORVANE_XVFB_PID:-}" ] && helpers="$helpers $MORVANE_XVFB_PID"
export MORVANE_BENCH_HELPER_PIDS="$helpers"

# Each run's output, for --markdown; and the machine's load as the runs begin (the build's own
# load included, when the build had anything to do), which the written tables name.
outputs="$(mktemp -d)"
load="$(cut -d' ' -f1 /proc/loadavg)"
status=0
for dpi in 96 192; do
  wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
  # The benchmark prints one table; Wine's own messages stay out of it.
  WINEDLLOVERRIDES="mscoree,mshtml=" wine "$MORVANE_BUILD/i686/morvane_bench.exe" \
    ${bench_args[@]+"${bench_args[@]}"} 2>/dev/null | tee "$outputs/$dpi.txt" || status=1
  echo
done
if [ "$markdown" = 1 ]; then
  python3 "$MORVANE_ROOT/scripts/write_bench_tables.py" "$MORVANE_ROOT" "$load" \
    "$outputs/96.txt" "$outputs/192.txt"
fi
exit $status
