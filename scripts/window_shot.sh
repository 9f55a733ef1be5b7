# Pictures of one top-level window of a program running under Wine in Xvfb, as a person sees it
# on the screen. Source it after common.sh; needs DISPLAY and xdotool.

# The main window's client area at 100 % (4350 x 2295 twips), and its command buttons, each
# "caption x y width height" in the client area: the frame sits at (8, 8) and they in it
# (app/windows/main_window_layout.h).
MAIN_CLIENT_WIDTH=290
MAIN_CLIENT_HEIGHT=153
MAIN_BUTTONS=(
  "显示内嵌图片 16 24 257 25"    # show inline images
  "关闭内嵌图片 16 56 257 25"    # turn inline images off
  "刷新后马上生效 16 88 121 25"  # refresh, takes effect at once
  "说明 144 88 129 25"           # instructions
)

# Prints "x y width height" of the main window's button whose caption is $1.
main_button_box() {
  local button caption rest
  for button in "${MAIN_BUTTONS[@]}"; do
    read -r caption rest <<<"$button"
    [ "$caption" = "$1" ] && { echo "$rest"; return 0; }
  done
  return 1
}

# The time between two grabs of a window while it settles, and how long it may take to settle.
# The skin's hot state fades back in 86 steps of 15 ms; a tooltip that was due to open still opens
# half a second after the pointer's last move over its tool, and closes at its next check.
SHOT_GRAB_INTERVAL=0.25
SHOT_SAME_GRABS=3
SHOT_SETTLE_LIMIT_S=20

# Waits up to 60 s for a top-level X window whose name is $1; prints its id. The first start in a
# new prefix can take half a minute.
wait_for_window() {
  local name="$1" id=""
  for _ in $(seq 1 600); do
    id="$(xwininfo -root -tree 2>/dev/null | awk -v n="\"$name\"" 'index($0, n) { print $1; exit }')"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "window_shot.sh: no window named $name appeared" >&2
  return 1
}

# Prints "x y width height" of the X window $1 on the screen. Wine draws the caption and border
# itself (no window manager runs in Xvfb), so they lie inside the X window.
window_rectangle() {
  xwininfo -id "$1" | awk '
    /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
    /Width:/ { w = $2 } /Height:/ { h = $2 }
    END { print x, y, w, h }'
}

# Moves the pointer to a corner of the screen that lies outside the rectangle "x y width height":
# a window under the pointer shows its hot state and opens its tooltip there.
park_pointer() {
  local x="$1" y="$2" w="$3" h="$4" screen_w screen_h cx cy
  read -r screen_w screen_h < <(xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { h = $2 }
    END { print w, h }')
  for corner in "0 0" "$((screen_w - 1)) $((screen_h - 1))" "$((screen_w - 1)) 0" \
                "0 $((screen_h - 1))"; do
    read -r cx cy <<<"$corner"
    if (( cx < x || cx >= x + w || cy < y || cy >= y + h )); then
      xdotool mousemove "$cx" "$cy"
      return 0
    fi
  done
  echo "window_shot.sh: the window covers every corner of the screen" >&2
  return 1
}

# Grabs the rectangle "x y width height" of the screen, as raw 8-bit RGB, into the file $5. The
# screen holds whatever lies over the window too (its tooltip), as a person would see it; a grab
# of the window itself (import -window ID) leaves what covers it undefined, black under Xvfb
# (XGetImage(3): obscured regions of a window without backing store).
grab_rectangle() {
  import -window root -crop "$3x$4+$1+$2" +repage -depth 8 "rgb:$5"
}

# Saves the window with X id $1 as the PNG $2, as it looks on the screen once it has settled: the
# pointer off it and the same picture in SHOT_SAME_GRABS grabs in a row (its first paint done, its
# place found, any hot state faded and any tooltip closed). When it never settles the last grab is
# saved and a warning printed.
shoot_window() {
  local id="$1" out="$2" dir rect previous_rect="" same=0 settled=""
  dir="$(mktemp -d)"
  local deadline=$((SECONDS + SHOT_SETTLE_LIMIT_S))
  while (( SECONDS < deadline )); do
    rect="$(window_rectangle "$id")"
    if ! [[ "$rect" =~ ^-?[0-9]+\ -?[0-9]+\ [0-9]+\ [0-9]+$ ]]; then
      echo "window_shot.sh: window $id is gone" >&2
      rm -rf "$dir"
      return 1
    fi
    # shellcheck disable=SC2086  # the rectangle is four numbers
    park_pointer $rect
    # shellcheck disable=SC2086
    grab_rectangle $rect "$dir/grab.rgb"
    if [ "$rect" = "$previous_rect" ] && cmp -s "$dir/grab.rgb" "$dir/previous.rgb"; then
      same=$((same + 1))
    else
      same=1
    fi
    mv "$dir/grab.rgb" "$dir/previous.rgb"
    previous_rect="$rect"
    if (( same >= SHOT_SAME_GRABS )); then settled=1; break; fi
    sleep "$SHOT_GRAB_INTERVAL"
  done
  [ -n "$settled" ] ||
    echo "window_shot.sh: the window still changed after ${SHOT_SETTLE_LIMIT_S} s; saving its last look" >&2
  local w h
  read -r _ _ w h <<<"$previous_rect"
  # No date chunks: the same window gives the same file.
  convert -size "${w}x${h}" -depth 8 "rgb:$dir/previous.rgb" -define png:exclude-chunks=date,time \
    "$out"
  rm -rf "$dir"
}

# Prints "x y" of the main window's client area (at 100 %) in a picture of the window that is
# $1 x $2 pixels: the border is as wide on the left as on the right and at the bottom, the
# caption takes the rest of the height.
main_client_origin() {
  local border=$((($1 - MAIN_CLIENT_WIDTH) / 2))
  echo "$border $(($2 - MAIN_CLIENT_HEIGHT - border))"
}

# Starts the program with the command "$@" (it opens the main window, named Morvane), saves a
# picture of that window as the PNG $1 and ends the program.
picture_of_main_window() {
  local out="$1" pid id status=0
  shift
  "$@" &
  pid=$!
  id="$(wait_for_window Morvane)" && shoot_window "$id" "$out" || status=$?
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  return "$status"
}
