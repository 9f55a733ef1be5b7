#!/usr/bin/env bash
# Checks that the picture of the main window scripts/run.sh takes shows what a person sees:
# nothing black across the client area, the 说明 ("instructions") button's caption on its light
# face, and the four buttons in their normal state.
#  1. The program is started with the pointer where a new display leaves it (the screen's centre,
#     over the window as it opens), and its picture taken as run.sh takes it.
#  2. Then the pointer rests on a button until the button is hot and its tooltip lies over 说明;
#     the picture taken then must show neither.
# Usage: check_start_picture.sh PREFIX PROGRAM FOLDER (the two pictures are saved there). Needs
# DISPLAY (test.sh provides one); MORVANE_TEST_WINEPREFIX, when set, names the prefix instead, as
# for wine-run.sh.
set -euo pipefail
source "$(dirname "$0")/common.sh"
source "$MORVANE_ROOT/scripts/window_shot.sh"
prefix="$1" exe="$2" folder="$3"

# A pixel is black when no channel exceeds this; a run of this many in a row is no glyph's stroke
# (a character of the 9-point font is 12 pixels wide) but a hole in the picture.
BLACK_LEVEL=24
BLACK_RUN_LIMIT=16
# Caption pixels are at most this light, the button's face at least this light (luminance).
TEXT_LEVEL=96
FACE_LEVEL=160
# "说明" is two characters of the 9-point font: its dark pixels stay within this width, centred
# in the button to this many pixels, and the face is at least this share of the button (percent).
CAPTION_MAX_WIDTH=32
CAPTION_CENTRE_SLACK=3
CAPTION_MIN_PIXELS=20
FACE_MIN_PERCENT=60
# The buttons' left edges, two pixels wide below the rounded corner: the hot state draws them in
# a stronger blue. (The first button's focus rectangle starts at the third column.)
EDGE_WIDTH=2
EDGE_TOP=2
# The button the pointer rests on in the second case, and how long it may take to turn hot and
# open its tooltip.
RESTING_BUTTON=关闭内嵌图片
HOVER_LIMIT_S=10

# Writes the picture $1 as text to the file $2: its width and height on the first line, then one
# "r g b" line a pixel, row by row.
dump_pixels() {
  { identify -format '%w %h\n' "$1"
    convert "$1" -depth 8 rgb:- | od -An -v -tu1 -w3; } >"$2"
}

# Prints the pixels of the box "x y width height" of the dumped picture $1, one "r g b" line each,
# row by row.
box_pixels() {
  awk -v bx="$2" -v by="$3" -v bw="$4" -v bh="$5" '
    NR == 1 { w = $1; next }
    { i = NR - 2; x = i % w; y = (i - x) / w
      if (x >= bx && x < bx + bw && y >= by && y < by + bh) print $1, $2, $3 }' "$1"
}

# The longest run of black pixels along a row of the box.
longest_black_run() {
  box_pixels "$@" | awk -v w="$4" -v level="$BLACK_LEVEL" '
    { if ((NR - 1) % w == 0) run = 0
      run = ($1 <= level && $2 <= level && $3 <= level) ? run + 1 : 0
      if (run > best) best = run }
    END { print best + 0 }'
}

# "pixels face_pixels text_pixels text_left text_right" of the box: the text's columns are
# counted from the box's left edge.
face_and_text() {
  box_pixels "$@" | awk -v w="$4" -v text="$TEXT_LEVEL" -v face="$FACE_LEVEL" '
    { x = (NR - 1) % w; light = 0.299 * $1 + 0.587 * $2 + 0.114 * $3
      if (light >= face) faces++
      if (light <= text) { texts++; if (left == "" || x < left) left = x; if (x > right) right = x } }
    END { print NR, faces + 0, texts + 0, (left == "" ? -1 : left), right + 0 }'
}

# The left edge of the main window's button with caption $2 in the dumped picture $1, whose client
# area starts at ($3, $4), as one line.
button_edge() {
  local x y h
  read -r x y _ h < <(main_button_box "$2")
  box_pixels "$1" $(($3 + x)) $(($4 + y + EDGE_TOP)) "$EDGE_WIDTH" $((h - 2 * EDGE_TOP)) |
    tr -s ' \n' ' '
}

# Prints what is wrong with the picture $1 of the main window, one line each: "black", "face",
# "caption", or "hot" and a button's caption.
picture_faults() {
  local pixels_file width height client_x client_y run bx by bw bh pixels faces texts left right
  local offset
  pixels_file="$(mktemp)"
  dump_pixels "$1" "$pixels_file"
  read -r width height <"$pixels_file"
  read -r client_x client_y < <(main_client_origin "$width" "$height")

  run="$(longest_black_run "$pixels_file" "$client_x" "$client_y" "$MAIN_CLIENT_WIDTH" \
    "$MAIN_CLIENT_HEIGHT")"
  ((run < BLACK_RUN_LIMIT)) || echo "black: a run of $run black pixels across the client area"

  # Inside the 说明 button, less its two-pixel edge.
  read -r bx by bw bh < <(main_button_box 说明)
  read -r pixels faces texts left right < <(face_and_text "$pixels_file" \
    $((client_x + bx + 2)) $((client_y + by + 2)) $((bw - 4)) $((bh - 4)))
  ((faces * 100 >= pixels * FACE_MIN_PERCENT)) ||
    echo "face: the 说明 button's face is light in only $faces of $pixels pixels"
  offset=$(((left + right) - (bw - 4 - 1)))  # twice the caption's offset from the centre
  ((texts >= CAPTION_MIN_PIXELS && right - left + 1 <= CAPTION_MAX_WIDTH &&
    ${offset#-} <= 2 * CAPTION_CENTRE_SLACK)) ||
    echo "caption: the 说明 button shows no caption of its own: $texts dark pixels" \
      "in columns $left to $right"

  # Each button's left edge as 刷新后马上生效 ("refresh") draws it, which the pointer never
  # touches here.
  local normal button name
  normal="$(button_edge "$pixels_file" 刷新后马上生效 "$client_x" "$client_y")"
  for button in "${MAIN_BUTTONS[@]}"; do
    read -r name _ <<<"$button"
    [ "$(button_edge "$pixels_file" "$name" "$client_x" "$client_y")" = "$normal" ] ||
      echo "hot $name"
  done
  rm -f "$pixels_file"
}

failures=0
# Checks the picture $1; counts a failure when anything is wrong with it.
expect_clean() {
  local faults
  faults="$(picture_faults "$1")"
  if [ -n "$faults" ]; then
    echo "FAIL: $1" >&2
    sed 's/^/  /' <<<"$faults" >&2
    failures=$((failures + 1))
  else
    echo "clean: $1"
  fi
}

# Puts the pointer on the middle of the main window's button with caption $2; $1 is the window.
rest_pointer_on() {
  local x y w h client_x client_y bx by bw bh
  read -r x y w h < <(window_rectangle "$1")
  read -r client_x client_y < <(main_client_origin "$w" "$h")
  read -r bx by bw bh < <(main_button_box "$2")
  # Two moves: the second is a move over the button, whatever the window saw of the first.
  xdotool mousemove $((x + client_x + bx + bw / 2 - 1)) $((y + client_y + by + bh / 2))
  xdotool mousemove $((x + client_x + bx + bw / 2)) $((y + client_y + by + bh / 2))
}

# Waits until the window $1 shows the resting button hot and a tooltip over 说明: the state the
# picture must not show.
wait_for_hover() {
  local id="$1" grab faults x y w h deadline=$((SECONDS + HOVER_LIMIT_S))
  grab="$(mktemp --suffix=.png)"
  while ((SECONDS < deadline)); do
    read -r x y w h < <(window_rectangle "$id")
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$grab"
    faults="$(picture_faults "$grab")"
    if grep -q "^hot $RESTING_BUTTON\$" <<<"$faults" && grep -q '^caption' <<<"$faults"; then
      rm -f "$grab"
      return 0
    fi
    sleep 0.1
  done
  rm -f "$grab"
  echo "FAIL: the pointer on $RESTING_BUTTON left it cold or opened no tooltip" >&2
  return 1
}

export WINEPREFIX="${MORVANE_TEST_WINEPREFIX:-$prefix}"
mkdir -p "$folder"

read -r screen_w screen_h < <(xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { h = $2 }
  END { print w, h }')
xdotool mousemove $((screen_w / 2)) $((screen_h / 2))
# The first picture as picture_of_main_window takes it for run.sh; the program stays up for the
# second.
bash "$MORVANE_ROOT/scripts/wine-run.sh" "$WINEPREFIX" "$exe" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT
main="$(wait_for_window Morvane)"
shoot_window "$main" "$folder/start-picture.png"
expect_clean "$folder/start-picture.png"

rest_pointer_on "$main" "$RESTING_BUTTON"
if wait_for_hover "$main"; then
  shoot_window "$main" "$folder/after-hover-picture.png"
  expect_clean "$folder/after-hover-picture.png"
else
  failures=$((failures + 1))
fi
exit $((failures > 0))
