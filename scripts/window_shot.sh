# Screenshots of one top-level window of a program running under Wine in Xvfb. Source it after
# common.sh; needs DISPLAY.

# Waits up to 30 s for a top-level X window whose name is $1; prints its id.
wait_for_window() {
  local name="$1" id=""
  for _ in $(seq 1 300); do
    id="$(xwininfo -root -tree 2>/dev/null | awk -v n="\"$name\"" 'index($0, n) { print $1; exit }')"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "window_shot.sh: no window named $name appeared" >&2
  return 1
}

# Saves the window with X id $1 (Wine draws its caption and border itself) as the PNG $2.
shoot_window() {
  local id="$1" out="$2"
  sleep 1   # let the first paint and the skin's fade settle
  import -window "$id" "$out"
}
