#!/usr/bin/env bash
# Builds the download: the shipping 32-bit program in Release, in a build folder of its own made
# afresh, stripped of its symbols and debugging sections. Writes
#   dist/Morvane-<version>-win32.zip   the program and a short text for its users (Chinese)
#   dist/Morvane.exe                   the program as the archive holds it
#   dist/SHA256SUMS                    the SHA-256 of both, for `sha256sum -c`
# The version is the project version in CMakeLists.txt. The same commit gives the same bytes in
# any folder on any day: the build writes no time and no path, and the archive's entries come in
# a fixed order with fixed permissions, stamped with the commit's time.
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages
root="$MORVANE_ROOT"
build="${MORVANE_RELEASE_BUILD:-$MORVANE_BUILD/release}"
dist="$root/dist"

if ! epoch="$(git -C "$root" log -1 --format=%ct 2>/dev/null)"; then
  epoch="${SOURCE_DATE_EPOCH:?not a git checkout: set SOURCE_DATE_EPOCH to the time of the sources}"
fi
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no 2>/dev/null)" ]; then
  log "warning: the working tree differs from its commit; this build is not that commit's"
fi

rm -rf "$build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release >&2
cmake --build "$build" --target Morvane >&2
version="$(sed -n 's/^#define MORVANE_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/morvane_version.h")"
[ -n "$version" ] || { log "no version in $build/generated/morvane_version.h"; exit 1; }

archive="Morvane-$version-win32.zip"
rm -rf "$dist"
mkdir -p "$dist"
# strip writes a new PE header, with the current time unless told another.
SOURCE_DATE_EPOCH=0 i686-w64-mingw32-strip --strip-all -o "$dist/Morvane.exe" "$build/Morvane.exe"
python3 "$root/scripts/make_release_zip.py" "$dist/$archive" "$epoch" "$version" \
  "Morvane.exe=$dist/Morvane.exe" "README.txt=$root/docs/release-readme.txt"
(cd "$dist" && sha256sum "$archive" Morvane.exe >SHA256SUMS)
log "wrote $dist/$archive ($(stat -c %s "$dist/$archive") bytes)"
cat "$dist/SHA256SUMS"
