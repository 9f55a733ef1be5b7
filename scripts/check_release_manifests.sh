#!/usr/bin/env bash
# Checks the package managers' manifests of a release: scripts/release.sh, fed the program of BUILD
# (a Release build of the 32-bit program) and writing into two folders of its own (never dist/),
#   - writes winget and Scoop manifests that parse, hold their required fields and carry the
#     archive's version, address and SHA-256 (scripts/check_manifests.py);
#   - writes the same manifests, byte for byte, on its second run from the same commit;
# and the check itself catches a manifest whose hash, version or required field is wrong.
# Exits non-zero when anything fails.
# Usage: check_release_manifests.sh BUILD
set -euo pipefail
source "$(dirname "$0")/common.sh"
from="$1"
unset MORVANE_SIGN_PFX MORVANE_SIGN_PASSWORD_FILE MORVANE_SIGN_TIMESTAMP_URL MORVANE_DIST

work="$(mktemp -d /tmp/morvane-manifests.XXXXXX)"
trap 'rm -rf "$work"' EXIT
failures=0
failed() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

for run in first second; do
  mkdir -p "$work/$run"
  MORVANE_DIST="$work/$run" MORVANE_RELEASE_FROM="$from" \
    bash "$MORVANE_ROOT/scripts/release.sh" >"$work/$run.log" 2>&1 ||
    failed "the $run release: $(tail -1 "$work/$run.log")"
done
python3 "$MORVANE_ROOT/scripts/check_manifests.py" "$work/first" || failed "the manifests"
diff -r "$work/first/winget" "$work/second/winget" >&2 &&
  cmp "$work/first/morvane.json" "$work/second/morvane.json" >&2 ||
  failed "two releases from the same commit wrote different manifests"

# Each fault, made in a copy of the first release, must be caught: FILE, sed EXPRESSION, what.
tampered() {
  local file="$1" expression="$2" what="$3"
  rm -rf "$work/tampered"
  cp -r "$work/first" "$work/tampered"
  sed -i "$expression" "$work/tampered/$file"
  if python3 "$MORVANE_ROOT/scripts/check_manifests.py" "$work/tampered" >/dev/null 2>&1; then
    failed "the check accepts $what"
  fi
}
tampered winget/Morvane.Morvane.installer.yaml 's/InstallerSha256: "/InstallerSha256: "0/' \
  "a winget hash that is not the archive's"
tampered morvane.json 's/"hash": "/"hash": "0/' "a Scoop hash that is not the archive's"
tampered winget/Morvane.Morvane.locale.en-US.yaml '/^License:/d' "a default locale without a licence"
tampered winget/Morvane.Morvane.yaml 's/^PackageVersion: .*/PackageVersion: "0.0.1"/' \
  "a version file of another version"
tampered morvane.json '/"bin":/d' "a Scoop manifest without bin"
tampered winget/Morvane.Morvane.locale.zh-CN.yaml 's/^PackageLocale: .*/PackageLocale: [/' \
  "a locale file that is not YAML"

if [ "$failures" -ne 0 ]; then
  echo "release manifests: $failures checks failed" >&2
  exit 1
fi
echo "release manifests: right, the same on a second run, and a wrong one is caught"
