#!/usr/bin/env bash
# Installs what is missing, builds the 32-bit program and starts it under Wine.
# With a display the program runs until the user closes it. Without one it runs under Xvfb:
# the script waits for the main window, saves a picture of it as PNG (taken from the screen with the
# pointer parked in a corner, once the window has settled; scripts/window_shot.sh), prints its
# path and closes it.
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
source "$MORVANE_ROOT/scripts/window_shot.sh"
shot="$MORVANE_BUILD/screenshot.png"
picture_of_main_window "$shot" wine "$exe"
echo "$shot"
