#!/usr/bin/env bash
# Checks that the layers point one way. From the bottom: win (the handle owner and small exact
# helpers) <- accessible (the accessible objects' table and base) <- skin/graphics <- skin/core
# (store, kinds, states) <- skin/painters <- skin/messages <- skin/engine (the skin's entry
# points) <- app/system (starting system programs, the shell, the link, the session's users) <-
# app/repair (the value's repair) <- app/windows (the two windows) and app/switches (the
# switches), which know nothing of each other <- app/main.cpp. A file includes headers of its own
# folder and of the layers below; app includes only the entry points of the skin. Where a layer
# below calls one above (the window procedure attaches and detaches windows as messages announce
# them), the one above hands it the functions to call, and no include goes up.
#
# It also checks two things a reader relies on: no source file outside tests/ is over 400 lines,
# and the project's own files include each other in one direction only. For the latter a header
# and the source file of the same name count as one unit, as a reader takes them: a cycle through
# any units, however long, is reported with the units on it.
# Prints every break of these rules; exits 1 when there is any.
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

# The length of every source file outside tests/: the C++ sources and headers, the resource
# scripts, the build files and the scripts.
readonly kMaxLines=400
while IFS= read -r file; do
  lines=$(wc -l <"$file")
  if [ "$lines" -gt "$kMaxLines" ]; then
    echo "$file has $lines lines, more than $kMaxLines"
    status=1
  fi
done < <(find win accessible skin app bench scripts cmake resources CMakeLists.txt -type f \
  \( -name '*.cpp' -o -name '*.h' -o -name '*.rc' -o -name '*.def' -o -name '*.sh' \
  -o -name '*.py' -o -name '*.cmake' -o -name CMakeLists.txt \) | sort)

# The include graph between units (a file's path without its extension). An include names a file
# from the source root or, failing that, from the including file's folder; anything else (the
# platform's headers) is not the project's own. tsort names the units of each cycle it finds.
unit() { echo "${1%.*}"; }
edges=$(
  while IFS= read -r file; do
    while IFS= read -r included; do
      if [ -f "$included" ]; then
        target="$included"
      elif [ -f "$(dirname "$file")/$included" ]; then
        target="$(dirname "$file")/$included"
      else
        continue
      fi
      if [ "$(unit "$file")" != "$(unit "$target")" ]; then
        echo "$(unit "$file") $(unit "$target")"
      fi
    done < <(sed -n 's/^#include "\(.*\)"/\1/p' "$file")
  done < <(find win accessible skin app bench tests resources -type f \
    \( -name '*.cpp' -o -name '*.h' -o -name '*.rc' \) | sort)
)
if ! cycles=$(tsort <<<"$edges" 2>&1 >/dev/null); then
  echo "the includes go round in a cycle through these units:"
  sed -n 's/^tsort: \([^-:][^:]*\)$/  \1/p' <<<"$cycles"
  status=1
fi
exit $status
