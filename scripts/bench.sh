#!/usr/bin/env bash
# Installs what is missing, builds the 32-bit program and its benchmark, and runs the benchmark
# under Wine in Xvfb. Prints one table with each goal marked met or missed; exits non-zero when
# a goal was missed.
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages
build_arch i686

trap stop_wine EXIT
ensure_display
ensure_prefix
# The benchmark prints one table; Wine's own messages stay out of it.
WINEDLLOVERRIDES="mscoree,mshtml=" wine "$MORVANE_BUILD/i686/morvane_bench.exe" 2>/dev/null
