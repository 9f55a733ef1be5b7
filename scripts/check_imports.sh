#!/usr/bin/env bash
# Checks each program's PE header and import table, as `objdump -p` prints them:
#  - it names only DLLs of the list: DLLs that Windows always takes from its system directory, so
#    that none left beside the program is loaded in their place;
#  - from advapi32 it imports registry functions only, and never SystemFunction036 (RtlGenRandom);
#  - its DllCharacteristics ask for a randomised base, no-execute data and terminal-server
#    awareness, and on x86_64 for high-entropy addresses.
# Usage: check_imports.sh OBJDUMP "dll;dll;..." PROGRAM...   (names without ".dll", any case)
set -euo pipefail
objdump="$1"
allowed=";${2,,};"
shift 2

# DllCharacteristics flags every program must carry, and those a 64-bit one must carry too.
readonly DYNAMIC_BASE=0x0040 HIGH_ENTROPY_VA=0x0020 NX_COMPAT=0x0100 TERMINAL_SERVER_AWARE=0x8000

# One "DLL function" line per imported function (by name or ordinal), the DLL in lower case.
imported_functions() {
  awk '/^[[:space:]]*DLL Name:/ { dll = tolower($3); sub(/\.dll$/, "", dll); next }
       /^[[:space:]]*$/ { dll = "" }
       dll != "" && /^\t[0-9a-fA-F]+\t/ { print dll, $NF }'
}

# Prints what the program's flags lack; nothing when it has them all.
missing_flags() {
  local dump="$1" value magic
  value="$(awk '$1 == "DllCharacteristics" { print $2 }' <<<"$dump")"
  magic="$(awk '$1 == "Magic" { print $2 }' <<<"$dump")"
  [ -n "$value" ] || { echo "no DllCharacteristics"; return; }
  value=$((16#$value))
  ((value & DYNAMIC_BASE)) || echo "no dynamic base"
  ((value & NX_COMPAT)) || echo "no NX compatibility"
  ((value & TERMINAL_SERVER_AWARE)) || echo "not terminal-server aware"
  if [ "$magic" = 020b ] && ! ((value & HIGH_ENTROPY_VA)); then echo "no high-entropy VA"; fi
}

status=0
for program in "$@"; do
  dump="$("$objdump" -p "$program")"
  names="$(sed -n 's/^[[:space:]]*DLL Name: *//p' <<<"$dump")"
  # Every program imports kernel32: without it the table was not read, and nothing was checked.
  if ! grep -qix 'kernel32\.dll' <<<"$names"; then
    echo "$program: no import table read" >&2
    status=1
    continue
  fi
  while read -r name; do
    base="${name,,}"
    base="${base%.dll}"
    if [[ "$allowed" != *";$base;"* ]]; then
      echo "$program imports $name, which Windows may load from the program's folder" >&2
      status=1
    fi
  done <<<"$names"
  while read -r dll function; do
    # advapi32 forwards exports to DLLs outside the known ones (RtlGenRandom to cryptbase.dll), and
    # the loader resolves an import's forward before the program can restrict its DLL search.
    if [ "$function" = SystemFunction036 ] || { [ "$dll" = advapi32 ] && [[ "$function" != Reg* ]]; }; then
      echo "$program imports $function from $dll, which may be forwarded to a planted DLL" >&2
      status=1
    fi
  done < <(imported_functions <<<"$dump")
  while read -r missing; do
    [ -n "$missing" ] || continue
    echo "$program: $missing in its PE header" >&2
    status=1
  done <<<"$(missing_flags "$dump")"
done
exit "$status"
