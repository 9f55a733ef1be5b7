#!/usr/bin/env bash
# Feeds check_layers.sh small source trees, each with one fault or none, and checks what it says:
# a tree without faults passes silently; each fault fails the check and is named.
# Usage: check_layers_test.sh
set -euo pipefail
readonly check="$(cd "$(dirname "$0")" && pwd)/check_layers.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

# A tree with every folder the check reads: win/low.{h,cpp}, and accessible/high.{h,cpp} on top,
# each source file including its own header and the high one the low one.
make_tree() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree"
  cd "$work/tree"
  mkdir -p win accessible skin app bench tests scripts cmake resources
  touch CMakeLists.txt
  printf '#pragma once\n' >win/low.h
  printf '#include "win/low.h"\n' >win/low.cpp
  printf '#pragma once\n#include "win/low.h"\n' >accessible/high.h
  printf '#include "accessible/high.h"\n' >accessible/high.cpp
}

lines() { for ((i = 0; i < $1; i++)); do echo '// a line'; done; }

# expect NAME STATUS PATTERN: the check's exit status, and a line of its output that matches
# PATTERN (an empty PATTERN: no output at all).
expect() {
  local name="$1" want="$2" pattern="$3" got=0 output
  output="$(bash "$check" "$work/tree" 2>&1)" || got=$?
  if [ "$got" -ne "$want" ]; then
    echo "FAIL $name: exit $got, expected $want; output:"
    echo "$output"
    failures=$((failures + 1))
  elif [ -z "$pattern" ] && [ -n "$output" ]; then
    echo "FAIL $name: expected no output, got:"
    echo "$output"
    failures=$((failures + 1))
  elif [ -n "$pattern" ] && ! grep -q -- "$pattern" <<<"$output"; then
    echo "FAIL $name: no line matches '$pattern' in:"
    echo "$output"
    failures=$((failures + 1))
  fi
}

make_tree
expect "a clean tree" 0 ""

make_tree
printf '#include "accessible/high.h"\n' >>win/low.cpp
expect "a source file includes the header of a layer above" 1 \
  "win/low.cpp includes accessible/high.h, which is not a layer below it"

# The window procedure is a file like any other: it reaches the engine above it only through the
# calls the engine hands it, never by an include.
make_tree
mkdir -p skin/messages skin/engine
printf '#pragma once\n' >skin/engine/skin_engine.h
printf '#include "skin/engine/skin_engine.h"\n' >skin/messages/skin_window_proc.cpp
expect "the window procedure includes the engine" 1 \
  "skin/messages/skin_window_proc.cpp includes skin/engine/skin_engine.h, which is not a layer below it"

# Two units of one folder, each source file including the other's header: no file includes a
# file that includes it, but the units go round.
make_tree
printf '#pragma once\n' >accessible/other.h
printf '#include "accessible/other.h"\n#include "accessible/high.h"\n' >accessible/other.cpp
printf '#include "accessible/other.h"\n' >>accessible/high.cpp
expect "two units include each other through their source files" 1 "^  accessible/other$"

make_tree
printf '#pragma once\n' >accessible/a.h
printf '#pragma once\n#include "accessible/a.h"\n' >accessible/b.h
printf '#pragma once\n#include "accessible/b.h"\n' >accessible/c.h
printf '#include "accessible/c.h"\n' >>accessible/a.h
expect "three headers go round" 1 "^  accessible/b$"

make_tree
printf '#include "low.h"\n' >>accessible/high.h
printf '#include "accessible/high.h"\n' >>win/low.h
expect "a cycle through an include named from the file's own folder" 1 "^  win/low$"

make_tree
lines 400 >bench/long.cpp
lines 401 >tests/long_test.cpp
lines 400 >scripts/long.sh
expect "400 lines, and tests of any length" 0 ""

for file in bench/long.cpp app/long.h scripts/long.py cmake/long.cmake resources/long.rc; do
  make_tree
  lines 401 >"$file"
  expect "$file over 400 lines" 1 "^$file has 401 lines, more than 400$"
done

if [ "$failures" -gt 0 ]; then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all cases passed"
