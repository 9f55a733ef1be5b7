#!/usr/bin/env bash
# Remakes the README's pictures: the skinned main window and the instructions window, each cropped
# to the window, from the 32-bit program under Wine in a private Xvfb. Writes docs/main-window.png
# and docs/instructions-window.png.
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
echo "$MORVANE_ROOT/docs/main-window.png $MORVANE_ROOT/docs/instructions-window.png"
