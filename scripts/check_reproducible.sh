#!/usr/bin/env bash
# Checks that the shipping program builds to the same bytes in another folder: copies the
# sources (what git tracks, and new files it does not ignore) to a temporary folder at another
# path, builds the 32-bit program there in Release, and compares it byte for byte with PROGRAM,
# the program of a Release build of this tree. Exits non-zero when they differ.
# Usage: check_reproducible.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/common.sh"
program="$1"

copy="$(mktemp -d /tmp/morvane-reproducible.XXXXXX)"
trap 'rm -rf "$copy"' EXIT
mkdir "$copy/source"
git -C "$MORVANE_ROOT" ls-files -z --cached --others --exclude-standard |
  (cd "$MORVANE_ROOT" && tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null) |
  tar -xf - -C "$copy/source"
cmake -S "$copy/source" -B "$copy/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$copy/source/cmake/toolchain-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
  >"$copy/build.log" 2>&1 && cmake --build "$copy/build" --target Morvane >>"$copy/build.log" 2>&1 ||
  { cat "$copy/build.log" >&2; exit 1; }
if ! cmp "$program" "$copy/build/Morvane.exe" >&2; then
  echo "$program differs from the same sources built at another path" >&2
  exit 1
fi
echo "the program built in another folder is byte for byte the same ($(stat -c %s "$program") bytes)"
