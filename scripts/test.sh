#!/usr/bin/env bash
# Installs what is missing, builds both architectures, checks that the shipping program builds to
# the same bytes in another folder (scripts/check_reproducible.sh) and that a release of it signs
# with a throwaway certificate and less its signature is that program again
# (scripts/check_release_signing.sh), that its winget and Scoop manifests are right and the same
# on a second run (scripts/check_release_manifests.sh), and runs every test under Wine in Xvfb.
# The two architectures' suites run at the same time, each with its own Xvfb display and its own
# fresh Wine prefix (and so its own wineserver): a test that needs the foreground, moves the
# pointer or changes the prefix's registry or system files never meets a test of the other
# suite. Within one suite the test programs run one after another. Each suite's output goes to
# build/test-<arch>.log and is shown when the suite ends. Exits non-zero when anything fails.
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages
for arch in i686 x86_64; do
  log "building $arch"
  build_arch "$arch"
done

# Before the suites, while the machine has nothing else to do: the same sources built in another
# folder give the same program.
log "building the 32-bit program again in another folder"
status=0
if bash "$MORVANE_ROOT/scripts/check_reproducible.sh" "$MORVANE_BUILD/i686/Morvane.exe"; then
  reproducible=passed
else
  reproducible=FAILED
  status=1
fi
# The release signed and refused, from the program just built (no second build).
log "signing a release with a throwaway certificate"
if bash "$MORVANE_ROOT/scripts/check_release_signing.sh" "$MORVANE_BUILD/i686"; then
  signing=passed
else
  signing=FAILED
  status=1
fi

# The package managers' manifests of a release of the same program: right, and the same twice.
log "writing the package managers' manifests"
if bash "$MORVANE_ROOT/scripts/check_release_manifests.sh" "$MORVANE_BUILD/i686"; then
  manifests=passed
else
  manifests=FAILED
  status=1
fi

# One architecture's suite, in a subshell with a display and a prefix of its own.
run_suite() {
  local arch="$1"
  (
    MORVANE_WINEPREFIX="$MORVANE_BUILD/wineprefix-$arch"
    unset DISPLAY MORVANE_OWN_XVFB
    trap stop_wine EXIT
    ensure_display
    ensure_prefix fresh
    # wine-run.sh, CTest's emulator, runs each test program in this suite's prefix.
    export MORVANE_TEST_WINEPREFIX="$MORVANE_WINEPREFIX"
    ctest --test-dir "$MORVANE_BUILD/$arch" --output-on-failure --timeout 1800
  ) >"$MORVANE_BUILD/test-$arch.log" 2>&1
}

log "testing i686 and x86_64 at the same time"
declare -A suites
for arch in i686 x86_64; do
  run_suite "$arch" &
  suites[$arch]=$!
done

for arch in i686 x86_64; do
  if wait "${suites[$arch]}"; then result=passed; else result=FAILED; status=1; fi
  log "$arch: $result (build/test-$arch.log)"
  cat "$MORVANE_BUILD/test-$arch.log"
done
log "reproducible program: $reproducible"
log "release signing: $signing"
log "release manifests: $manifests"
exit $status
