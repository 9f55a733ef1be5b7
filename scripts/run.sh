#!/usr/bin/env bash
# Installs what is missing, builds the 32-bit program and starts it under Wine.
# With a display the program runs until the user closes it. Without one it runs under Xvfb:
# the script waits for the main window, saves a screenshot as PNG, prints its path and closes it.
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages
build_arch i686
exe="$MORVANE_BUILD/i686/Morvane.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  ensure_prefix
  wine "$exe"
  wineserver -w
  exit 0
fi

trap stop_wine EXIT
ensure_display
ensure_prefix
wine "$exe" &
pid=$!
for _ in $(seq 1 300); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Morvane"' && break
  sleep 0.1
done
sleep 1   # let the first paint finish
shot="$MORVANE_BUILD/screenshot.png"
import -window root "$shot"
echo "$shot"
kill "$pid" 2>/dev/null || true
