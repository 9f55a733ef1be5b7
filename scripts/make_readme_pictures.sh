#!/usr/bin/env bash
# Remakes the README's pictures: the skinned main window and the instructions window, each cropped
# to the window, from the 32-bit program under Wine in a private Xvfb, and the main window at 200 %
# beside the one at 100 %. Writes docs/main-window.png, docs/instructions-window.png and
# docs/main-window-scales.png.
set -euo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/window_shot.sh"

ensure_packages
command -v xdotool >/dev/null || as_root env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y --no-install-recommends xdotool >&2
build_arch i686

unset DISPLAY
trap stop_wine EXIT
ensure_display
ensure_prefix
wine "$MORVANE_BUILD/i686/Morvane.exe" &
pid=$!

# The pointer starts in the middle of the screen, over the centred window: keep it off the buttons.
xdotool mousemove 0 0
main="$(wait_for_window Morvane)"
shoot_window "$main" "$MORVANE_ROOT/docs/main-window.png"

# Click the instructions button ("说明"): it sits at (136, 80) in the frame at (8, 8) of the
# client area and is 129 x 25; the client area is 290 x 153 under the caption and border.
eval "$(xwininfo -id "$main" | awk '/Width:/ { print "width=" $2 } /Height:/ { print "height=" $2 }')"
border=$(( (width - 290) / 2 ))
caption=$(( height - 153 - border ))
xdotool mousemove --window "$main" $(( border + 8 + 136 + 64 )) $(( caption + 8 + 80 + 12 )) click 1
xdotool mousemove 0 0
shoot_window "$(wait_for_window 使用说明)" "$MORVANE_ROOT/docs/instructions-window.png"

kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true

# The main window at 200 %: the system DPI of the prefix (LogPixels, which a program reads as it
# starts) is 192 for one start of the program, then what it was before.
desktop='HKCU\Control Panel\Desktop'
previous="$( (wine reg query "$desktop" /v LogPixels 2>/dev/null || true) | awk '/LogPixels/ { print $3 }')"
restore_log_pixels() {
  if [ -n "$previous" ]; then
    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$((previous))" /f
  else
    wine reg delete "$desktop" /v LogPixels /f
  fi >/dev/null 2>&1 || true
}
trap 'restore_log_pixels; stop_wine' EXIT
wine reg add "$desktop" /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
wine "$MORVANE_BUILD/i686/Morvane.exe" &
pid=$!
xdotool mousemove 0 0
scaled="$(mktemp --suffix=.png)"
shoot_window "$(wait_for_window Morvane)" "$scaled"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
restore_log_pixels
# Side by side, bottoms aligned, 24 white pixels apart.
convert "$MORVANE_ROOT/docs/main-window.png" -size 24x1 xc:white "$scaled" -background white \
  -gravity south +append "$MORVANE_ROOT/docs/main-window-scales.png"
rm -f "$scaled"
echo "$MORVANE_ROOT/docs/main-window.png $MORVANE_ROOT/docs/instructions-window.png" \
  "$MORVANE_ROOT/docs/main-window-scales.png"
