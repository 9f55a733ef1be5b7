#!/usr/bin/env bash
# Builds the download: the shipping 32-bit program in Release, in a build folder of its own made
# afresh, stripped of its symbols and debugging sections, and signed when a certificate is given.
# Writes
#   dist/Morvane-<version>-win32.zip   the program and a short text for its users (Chinese), whose
#                                      switch lines are the program's usage lines
#   dist/Morvane.exe                   the program as the archive holds it
#   dist/SHA256SUMS                    the SHA-256 of both, for `sha256sum -c`
#   dist/winget/                       the winget manifest set for the archive (version,
#                                      installer, en-US and zh-CN locale files)
#   dist/morvane.json                  a Scoop manifest for the archive
# Both manifests carry the archive's SHA-256 and its address, the project's download address
# (MORVANE_DOWNLOAD_ADDRESS in CMakeLists.txt), a folder for the version, the archive's name
# (scripts/write_manifests.py). The version is the project version in CMakeLists.txt. The same commit gives the same bytes in
# any folder on any day: the build writes no time and no path, and the archive's entries come in
# a fixed order with fixed permissions, stamped with the commit's time.
#
# Signing (Authenticode, SHA-256), when MORVANE_SIGN_PFX is set:
#   MORVANE_SIGN_PFX             the certificate and its key, a PKCS#12 (.pfx) file
#   MORVANE_SIGN_PASSWORD_FILE   a file whose first line is the PFX's password; the password never
#                                goes on a command line or into the environment, where other users
#                                of the machine can read it
#   MORVANE_SIGN_TIMESTAMP_URL   optional: an RFC 3161 timestamp server
# The unsigned program is finished as a removed signature leaves it (scripts/finish_program.py),
# so the signed program less its signature is byte for byte what anyone rebuilds.
#
# Other settings: MORVANE_DIST, the output folder (dist/ of the tree); MORVANE_RELEASE_BUILD, the
# build folder (build/release, made afresh); MORVANE_RELEASE_FROM, a Release build of the 32-bit
# program already made from these sources, used instead of building one (the tests sign the
# program they have built).
#
# dist/ holds this run's release or none: the script removes the files it writes before it
# starts, makes everything in a temporary folder and moves it into dist/ only when all is done.
# Bad signing input stops it with one line and a non-zero exit.
set -euo pipefail
source "$(dirname "$0")/common.sh"

# What a signature names: the program, and the address of the community the program links to.
readonly kSignedDescription="Morvane - shows or hides the pictures in Internet Explorer's web pages"
readonly kSignedAddress="http://bbs.example.com"

fail() {
  log "release stopped: $*"
  exit 1
}

# Checks what a signature needs before anything is built: the files, the password, and a
# certificate that is for code signing, still valid and holds an RSA key. osslsigncode itself
# checks none of the certificate's uses, dates or key type.
#
# RSA only: Smart App Control lets a program that its cloud service cannot judge run only when it
# carries a valid signature, and counts RSA signatures only, not elliptic-curve (ECDSA) ones, as
# App Control's signer rules do (Microsoft's "Code signing for Smart App Control" and App
# Control's known issues). Field reports agree: a winget updater's publisher re-signed with RSA
# after App Control could not use its ECDSA signature (the tracker of
# Weatherlights/Winget-AutoUpdate-Intune), and users of a cloud key service asked for RSA signing
# keys after ECC signatures failed App Control (GoogleCloudPlatform/kms-integrations). A program
# signed with another key would pass every other check here and still be blocked there.
check_signing_input() {
  local pfx="$MORVANE_SIGN_PFX" password="${MORVANE_SIGN_PASSWORD_FILE:-}" certificate
  [ -f "$pfx" ] && [ -r "$pfx" ] || fail "cannot read the certificate file $pfx"
  [ -n "$password" ] || fail "MORVANE_SIGN_PASSWORD_FILE is not set: it names the file with the PFX's password"
  [ -f "$password" ] && [ -r "$password" ] || fail "cannot read the password file $password"
  # -legacy reads PFX files encrypted the older way (RC2) as well as the newer.
  certificate="$(openssl pkcs12 -legacy -in "$pfx" -passin "file:$password" -clcerts -nokeys \
    2>/dev/null)" || fail "cannot open $pfx: wrong password, or not a PKCS#12 file"
  [ -n "$certificate" ] || fail "$pfx holds no certificate with its key"
  openssl x509 -noout -ext extendedKeyUsage <<<"$certificate" 2>/dev/null | grep -q 'Code Signing' ||
    fail "the certificate in $pfx is not for code signing (no Code Signing extended key usage)"
  openssl x509 -noout -checkend 0 <<<"$certificate" >/dev/null ||
    fail "the certificate in $pfx has expired ($(openssl x509 -noout -enddate <<<"$certificate"))"
  local key
  key="$(openssl x509 -noout -text <<<"$certificate" 2>/dev/null |
    sed -n 's/^ *Public Key Algorithm: *//p' | head -1)"
  case "$key" in
    rsaEncryption) ;;
    id-ecPublicKey) fail "the certificate in $pfx has an elliptic-curve key: Smart App Control accepts only RSA signatures" ;;
    *) fail "the certificate in $pfx has a ${key:-unknown} key, not RSA: Smart App Control accepts only RSA signatures" ;;
  esac
}

# Signs IN into OUT; on failure OUT does not exist and the script stops with osslsigncode's reason.
sign_program() {
  local in="$1" out="$2" output timestamp=()
  [ -n "${MORVANE_SIGN_TIMESTAMP_URL:-}" ] && timestamp=(-ts "$MORVANE_SIGN_TIMESTAMP_URL")
  if ! output="$(osslsigncode sign -pkcs12 "$MORVANE_SIGN_PFX" \
    -readpass "$MORVANE_SIGN_PASSWORD_FILE" -h sha256 -n "$kSignedDescription" \
    -i "$kSignedAddress" "${timestamp[@]}" -in "$in" -out "$out" 2>&1)"; then
    rm -f "$out"
    if grep -q -i 'timestamping failed' <<<"$output"; then
      fail "the timestamp server $MORVANE_SIGN_TIMESTAMP_URL did not answer with a timestamp"
    fi
    fail "osslsigncode could not sign: $(grep -v '^[0-9A-F]*:error:' <<<"$output" | head -1)"
  fi
}

ensure_packages
root="$MORVANE_ROOT"
dist="${MORVANE_DIST:-$root/dist}"
mkdir -p "$dist"
rm -f "$dist"/Morvane-*-win32.zip "$dist/Morvane.exe" "$dist/SHA256SUMS" "$dist/morvane.json"
rm -rf "$dist/winget"

if [ -n "${MORVANE_SIGN_PFX:-}" ]; then
  check_signing_input
elif [ -n "${MORVANE_SIGN_PASSWORD_FILE:-}${MORVANE_SIGN_TIMESTAMP_URL:-}" ]; then
  fail "signing settings are given but no certificate: set MORVANE_SIGN_PFX too"
fi

if ! epoch="$(git -C "$root" log -1 --format=%ct 2>/dev/null)"; then
  epoch="${SOURCE_DATE_EPOCH:?not a git checkout: set SOURCE_DATE_EPOCH to the time of the sources}"
fi
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no 2>/dev/null)" ]; then
  log "warning: the working tree differs from its commit; this build is not that commit's"
fi

if [ -n "${MORVANE_RELEASE_FROM:-}" ]; then
  build="$MORVANE_RELEASE_FROM"
else
  build="${MORVANE_RELEASE_BUILD:-$MORVANE_BUILD/release}"
  rm -rf "$build"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release >&2
  cmake --build "$build" --target Morvane >&2
fi
version="$(sed -n 's/^#define MORVANE_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/morvane_version.h")"
[ -n "$version" ] || fail "no version in $build/generated/morvane_version.h"
download="$(sed -n 's/^#define MORVANE_DOWNLOAD_ADDRESS "\(.*\)"$/\1/p' "$build/generated/morvane_version.h")"
[ -n "$download" ] || fail "no download address in $build/generated/morvane_version.h"

staging="$(mktemp -d "${TMPDIR:-/tmp}/morvane-release.XXXXXX")"
trap 'rm -rf "$staging"' EXIT
archive="Morvane-$version-win32.zip"
# strip writes a new PE header, with the current time unless told another.
SOURCE_DATE_EPOCH=0 i686-w64-mingw32-strip --strip-all -o "$staging/unsigned.exe" "$build/Morvane.exe"
python3 "$root/scripts/finish_program.py" "$staging/unsigned.exe"
if [ -n "${MORVANE_SIGN_PFX:-}" ]; then
  sign_program "$staging/unsigned.exe" "$staging/Morvane.exe"
  python3 "$root/scripts/check_signed_program.py" "$staging/Morvane.exe" "$staging/unsigned.exe" >&2 ||
    fail "the signed program is not the unsigned one plus its signature"
  log "signed with $(openssl pkcs12 -legacy -in "$MORVANE_SIGN_PFX" \
    -passin "file:$MORVANE_SIGN_PASSWORD_FILE" -clcerts -nokeys 2>/dev/null |
    openssl x509 -noout -subject -nameopt utf8,sep_comma_plus)"
else
  mv "$staging/unsigned.exe" "$staging/Morvane.exe"
  log "unsigned (no MORVANE_SIGN_PFX given)"
fi
# The README's switch lines are the program's own usage lines, read from its source.
python3 "$root/scripts/release_readme.py" "$root/docs/release-readme.txt" \
  "$root/app/switches/command_line.cpp" "$staging/README.txt" || fail "cannot fill in README.txt's switches"
python3 "$root/scripts/make_release_zip.py" "$staging/$archive" "$epoch" "$version" \
  "Morvane.exe=$staging/Morvane.exe" "README.txt=$staging/README.txt"
(cd "$staging" && sha256sum "$archive" Morvane.exe >SHA256SUMS)
python3 "$root/scripts/write_manifests.py" "$staging/$archive" "$version" "$download" "$staging" ||
  fail "cannot write the package managers' manifests"

# SHA256SUMS last: once it is there, so is what it covers.
mv "$staging/$archive" "$staging/Morvane.exe" "$staging/winget" "$staging/morvane.json" "$dist/"
mv "$staging/SHA256SUMS" "$dist/"
log "wrote $dist/$archive ($(stat -c %s "$dist/$archive") bytes)"
cat "$dist/SHA256SUMS"
