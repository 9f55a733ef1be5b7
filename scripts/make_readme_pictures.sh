#!/usr/bin/env bash
# Remakes the README's pictures: the skinned main window and the instructions window, each taken
# from the screen and cropped to the window as scripts/run.sh takes its picture (the pointer parked
# in a corner, the window settled; scripts/window_shot.sh), from the 32-bit program under Wine in a
# private Xvfb, and the main window at 200 % beside the one at 100 %. Writes docs/main-window.png, docs/instructions-window.png and
# docs/main-window-scales.png.
set -euo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/window_shot.sh"

ensure_packages
build_arch i686

unset DISPLAY
trap stop_wine EXIT
ensure_display
ensure_prefix
wine "$MORVANE_BUILD/i686/Morvane.exe" &
pid=$!

main="$(wait_for_window Morvane)"
shoot_window "$main" "$MORVANE_ROOT/docs/main-window.png"

# Click the middle of the instructions button ("说明").
read -r _ _ width height < <(window_rectangle "$main")
read -r client_x client_y < <(main_client_origin "$width" "$height")
read -r x y w h < <(main_button_box 说明)
xdotool mousemove --window "$main" $((client_x + x + w / 2)) $((client_y + y + h / 2)) click 1
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
scaled="$(mktemp --suffix=.png)"
shoot_window "$(wait_for_window Morvane)" "$scaled"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
restore_log_pixels
# Side by side, bottoms aligned, 24 white pixels apart.
convert "$MORVANE_ROOT/docs/main-window.png" -size 24x1 xc:white "$scaled" -background white \
  -gravity south +append +repage -define png:exclude-chunks=date,time \
  "$MORVANE_ROOT/docs/main-window-scales.png"
rm -f "$scaled"
echo "$MORVANE_ROOT/docs/main-window.png $MORVANE_ROOT/docs/instructions-window.png" \
  "$MORVANE_ROOT/docs/main-window-scales.png"
