#!/usr/bin/env bash
# Checks that the layers point one way. From the bottom: win (handle owners) <- skin/graphics <-
# skin/core (store, kinds, states) <- skin/painters <- skin/messages <- skin/engine (the entry
# points) <- app, which uses only the entry points of the skin. A file includes headers of its
# own folder and the folders below. The one edge back up is the window procedure's: it attaches
# and detaches windows as messages announce them. Prints every include that breaks the rule;
# exits 1 when there is any.
# Usage: check_layers.sh [SOURCE_ROOT]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

layer() {
  case "$1" in
    win/*) echo 0 ;;
    skin/graphics/*) echo 1 ;;
    skin/core/*) echo 2 ;;
    skin/painters/*) echo 3 ;;
    skin/messages/*) echo 4 ;;
    skin/engine/*) echo 5 ;;
    app/*) echo 6 ;;
    *) echo 9 ;;
  esac
}

breaks_rule() {
  local file="$1" included="$2"
  [ "$file" = skin/messages/skin_window_proc.cpp ] && [ "$(layer "$included")" -eq 5 ] && return 1
  case "$file:$included" in
    app/*:skin/*) [ "$(layer "$included")" -ne 5 ] && return 0 ;;
  esac
  [ "$(layer "$included")" -gt "$(layer "$file")" ]
}

status=0
while IFS= read -r file; do
  while IFS= read -r included; do
    if breaks_rule "$file" "$included"; then
      echo "$file includes $included, a layer above it"
      status=1
    fi
  done < <(sed -n 's/^#include "\(.*\)"/\1/p' "$file")
done < <(find win skin app \( -name '*.cpp' -o -name '*.h' \) | sort)
exit $status
