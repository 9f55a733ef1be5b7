#!/usr/bin/env bash
# Checks the signing of a release, end to end, with a throwaway self-signed certificate made in a
# temporary folder (its key never lands in the tree): scripts/release.sh, fed the program of
# BUILD (a Release build of the 32-bit program) and writing into folders of its own (never dist/),
#   - without a certificate says "unsigned" and writes the archive, the program and SHA256SUMS;
#   - with one writes a program that `osslsigncode verify` accepts against that certificate (and
#     not against another), the same program in the archive, SHA256SUMS that hold, and a program
#     that less its signature is byte for byte the unsigned one;
#   - with a wrong password, a missing certificate file, a certificate that is not for code
#     signing, a code-signing certificate with an elliptic-curve key (Smart App Control counts
#     RSA signatures only) or a timestamp server that does not answer stops with one line and a
#     non-zero exit and leaves its output folder empty, even of the release that was there before.
# Exits non-zero when anything fails.
# Usage: check_release_signing.sh BUILD
set -euo pipefail
source "$(dirname "$0")/common.sh"
from="$1"
unset MORVANE_SIGN_PFX MORVANE_SIGN_PASSWORD_FILE MORVANE_SIGN_TIMESTAMP_URL MORVANE_DIST

work="$(mktemp -d /tmp/morvane-signing.XXXXXX)"
trap 'rm -rf "$work"' EXIT
chmod 700 "$work"
failures=0
failed() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

# A self-signed certificate NAME valid for a day, with extended key usage USAGE and a key made
# as openssl's -newkey KEY says (RSA unless given), as a PFX protected by the password in
# $work/password.txt.
make_certificate() {
  local name="$1" usage="$2" key="${3:-rsa:2048}" options=()
  [ "$key" = ec ] && options=(-pkeyopt ec_paramgen_curve:prime256v1)
  openssl req -x509 -newkey "$key" "${options[@]}" -nodes -keyout "$work/$name.key" \
    -out "$work/$name.pem" -days 1 -subj "/CN=Morvane throwaway $name" \
    -addext "extendedKeyUsage=$usage" -addext "keyUsage=critical,digitalSignature" 2>/dev/null
  openssl pkcs12 -export -inkey "$work/$name.key" -in "$work/$name.pem" -out "$work/$name.pfx" \
    -passout "file:$work/password.txt"
}

# Runs the release into $work/NAME with the settings given as NAME=VALUE; its output goes to
# $work/NAME.log.
release() {
  local name="$1"
  shift
  mkdir -p "$work/$name"
  env MORVANE_DIST="$work/$name" MORVANE_RELEASE_FROM="$from" "$@" \
    bash "$MORVANE_ROOT/scripts/release.sh" >"$work/$name.log" 2>&1
}

released_files() { (cd "$work/$1" && ls -A); }

printf 'throwaway password\n' >"$work/password.txt"
printf 'another password\n' >"$work/wrong-password.txt"
make_certificate signer codeSigning
make_certificate server serverAuth
make_certificate elliptic codeSigning ec

if ! release unsigned; then
  failed "the unsigned release: $(tail -1 "$work/unsigned.log")"
elif ! grep -q '^== unsigned' "$work/unsigned.log"; then
  failed "the unsigned release does not say so"
fi
unsigned="$work/unsigned/Morvane.exe"

sign=(MORVANE_SIGN_PFX="$work/signer.pfx" MORVANE_SIGN_PASSWORD_FILE="$work/password.txt")
if ! release signed "${sign[@]}"; then
  failed "the signed release: $(tail -1 "$work/signed.log")"
else
  signed="$work/signed/Morvane.exe"
  osslsigncode verify -CAfile "$work/signer.pem" -in "$signed" >"$work/verify.log" 2>&1 ||
    failed "osslsigncode does not verify the signed program: $(tail -1 "$work/verify.log")"
  osslsigncode verify -CAfile "$work/server.pem" -in "$signed" >/dev/null 2>&1 &&
    failed "osslsigncode verifies the signed program against a certificate that did not sign it"
  (cd "$work/signed" && sha256sum --quiet -c SHA256SUMS) || failed "the signed release's SHA256SUMS do not hold"
  python3 -c 'import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read("Morvane.exe"))' \
    "$work"/signed/Morvane-*-win32.zip | cmp -s - "$signed" ||
    failed "the archive does not hold the signed program"
  python3 "$MORVANE_ROOT/scripts/check_signed_program.py" "$signed" "$unsigned" ||
    failed "the signed program less its signature is not the unsigned program"
fi

# Each bad input starts from a folder that holds the unsigned release.
refused() {
  local name="$1" what="$2"
  shift 2
  mkdir -p "$work/$name"
  cp -r "$work"/unsigned/* "$work/$name/" 2>/dev/null || true
  if release "$name" "$@"; then
    failed "$what: the release went ahead"
  elif [ -n "$(released_files "$name")" ]; then
    failed "$what: left $(released_files "$name" | tr '\n' ' ')"
  elif ! tail -1 "$work/$name.log" | grep -q '^== release stopped: '; then
    failed "$what: the last line does not say why: $(tail -1 "$work/$name.log")"
  else
    echo "$what: $(tail -1 "$work/$name.log")"
  fi
}
refused wrong-password "a wrong password" \
  MORVANE_SIGN_PFX="$work/signer.pfx" MORVANE_SIGN_PASSWORD_FILE="$work/wrong-password.txt"
refused missing-pfx "a missing certificate file" \
  MORVANE_SIGN_PFX="$work/none.pfx" MORVANE_SIGN_PASSWORD_FILE="$work/password.txt"
refused server-certificate "a certificate not for code signing" \
  MORVANE_SIGN_PFX="$work/server.pfx" MORVANE_SIGN_PASSWORD_FILE="$work/password.txt"
refused elliptic-curve "a code-signing certificate with an elliptic-curve key" \
  MORVANE_SIGN_PFX="$work/elliptic.pfx" MORVANE_SIGN_PASSWORD_FILE="$work/password.txt"
# Port 9 (discard) on the loopback: nothing listens there, so the connection is refused at once.
refused no-timestamp "a timestamp server that does not answer" \
  "${sign[@]}" MORVANE_SIGN_TIMESTAMP_URL="http://127.0.0.1:9/"

if [ "$failures" -ne 0 ]; then
  echo "release signing: $failures checks failed" >&2
  exit 1
fi
echo "release signing: signed, verified, and byte for byte the unsigned program less its signature"
