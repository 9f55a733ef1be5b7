#!/usr/bin/env bash
# Checks that the program's icon is what scripts/make_icon.py draws: two runs of the script write
# the same bytes, and those are the bytes of resources/morvane.ico, so the icon in the tree can
# always be made again from its script. Prints what differs; exits 1 when anything does.
# Usage: check_icon.sh [SOURCE_ROOT]
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
work="$(mktemp -d /tmp/morvane-icon.XXXXXX)"
trap 'rm -rf "$work"' EXIT

python3 "$root/scripts/make_icon.py" "$work/first.ico" >/dev/null
python3 "$root/scripts/make_icon.py" "$work/second.ico" >/dev/null
status=0
if ! cmp "$work/first.ico" "$work/second.ico"; then
  echo "scripts/make_icon.py writes other bytes on a second run" >&2
  status=1
fi
if ! cmp "$work/first.ico" "$root/resources/morvane.ico"; then
  echo "resources/morvane.ico is not what scripts/make_icon.py draws: run it again" >&2
  status=1
fi
[ "$status" -ne 0 ] || echo "icon: two runs of scripts/make_icon.py give resources/morvane.ico"
exit $status
