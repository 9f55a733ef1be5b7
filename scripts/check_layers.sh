#!/usr/bin/env bash
# Checks that the layers point one way. From the bottom: win (the handle owner and small exact
# helpers) <- accessible (the accessible objects' table and base) <- skin/graphics <- skin/core
# (store, kinds, states) <- skin/painters <- skin/messages <- skin/engine (the skin's entry
# points) <- app/system (starting system programs, the shell, the link, the session's users) <-
# app/repair (the value's repair) <- app/windows (the two windows) and app/switches (the
# switches), which know nothing of each other <- app/main.cpp. A file includes headers of its own
# folder and of the layers below; app includes only the entry points of the skin. The one edge
# back up is the window procedure's: it attaches and detaches windows as messages announce them.
# Prints every include that breaks the rule; exits 1 when there is any.
# Usage: check_layers.sh [SOURCE_ROOT]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# The layer's rank, and its folder: a file may include its own folder's headers and those of a
# lower rank. Two folders of one rank may not include each other.
layer() {
  case "$1" in
    win/*) echo "0 win" ;;
    accessible/*) echo "1 accessible" ;;
    skin/graphics/*) echo "2 skin/graphics" ;;
    skin/core/*) echo "3 skin/core" ;;
    skin/painters/*) echo "4 skin/painters" ;;
    skin/messages/*) echo "5 skin/messages" ;;
    skin/engine/*) echo "6 skin/engine" ;;
    app/system/*) echo "7 app/system" ;;
    app/repair/*) echo "8 app/repair" ;;
    app/windows/*) echo "9 app/windows" ;;
    app/switches/*) echo "9 app/switches" ;;
    app/*) echo "10 app" ;;
    *) echo "99 other" ;;
  esac
}

breaks_rule() {
  local file="$1" included="$2" fileRank fileFolder rank folder
  read -r fileRank fileFolder <<<"$(layer "$file")"
  read -r rank folder <<<"$(layer "$included")"
  [ "$folder" = "$fileFolder" ] && return 1
  [ "$file" = skin/messages/skin_window_proc.cpp ] && [ "$folder" = skin/engine ] && return 1
  case "$file:$included" in
    app/*:skin/*) [ "$folder" != skin/engine ] && return 0 ;;
  esac
  [ "$rank" -ge "$fileRank" ]
}

status=0
while IFS= read -r file; do
  while IFS= read -r included; do
    if breaks_rule "$file" "$included"; then
      echo "$file includes $included, which is not a layer below it"
      status=1
    fi
  done < <(sed -n 's/^#include "\(.*\)"/\1/p' "$file")
done < <(find win accessible skin app \( -name '*.cpp' -o -name '*.h' \) | sort)
exit $status
