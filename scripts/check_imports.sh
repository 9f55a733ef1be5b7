#!/usr/bin/env bash
# Checks that each program's import table names only DLLs of the list: DLLs that Windows always
# takes from its system directory, so that none left beside the program is loaded in their place.
# Usage: check_imports.sh OBJDUMP "dll;dll;..." PROGRAM...   (names without ".dll", any case)
set -euo pipefail
objdump="$1"
allowed=";${2,,};"
shift 2
status=0
for program in "$@"; do
  names="$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: *//p')"
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
done
exit "$status"
