#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs every test under Wine in Xvfb.
# Exits non-zero when anything fails.
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages
for arch in i686 x86_64; do
  log "building $arch"
  build_arch "$arch"
done

trap stop_wine EXIT
ensure_display
log "creating a fresh Wine prefix"
ensure_prefix fresh

status=0
for arch in i686 x86_64; do
  log "testing $arch"
  ctest --test-dir "$MORVANE_BUILD/$arch" --output-on-failure --timeout 1800 || status=1
done
exit $status
