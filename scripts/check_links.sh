#!/usr/bin/env bash
# Checks that every relative link and picture in the project's documents (README.md and
# docs/*.md) leads somewhere: to a file or folder of the source tree that a fresh clone has (not
# one under the ignored build/ or dist/), and, where it names a section (#anchor) of a Markdown
# file, to a heading of that file as GitHub names it. Links with a scheme (https:, mailto:) are
# left alone, and nothing inside code blocks or code spans is read. Prints every broken link as
# file:line: target; exits 1 when there is any.
# Usage: check_links.sh [SOURCE_ROOT]
set -euo pipefail
export LC_ALL=C.UTF-8
cd "${1:-$(dirname "$0")/..}"

in_git=false
git rev-parse --is-inside-work-tree >/dev/null 2>&1 && in_git=true

# The anchor GitHub gives a heading's text: links and code marks reduced to their text, lower
# case, every character but letters, digits, spaces, hyphens and underscores dropped, and each
# space a hyphen.
slug() {
  sed -e 's/\[\([^]]*\)\]([^)]*)/\1/g' -e 's/`//g' -e 's/.*/\L&/' -e 's/[^[:alnum:] _-]//g' \
    -e 's/ /-/g' <<<"$1"
}

# Prints the lines of a Markdown file outside fenced code blocks as "number<TAB>text"; with a
# second argument "spans", code spans are kept in the text, else taken out.
prose_lines() {
  awk -v spans="${2:-}" '/^ ? ? ?(```|~~~)/ { fenced = !fenced; next }
       !fenced { if (spans != "spans") gsub(/`[^`]*`/, ""); print NR "\t" $0 }' "$1"
}

# The anchors of a Markdown file, one a line: each heading's (a heading whose anchor came before
# gets -1, -2, ... as GitHub gives it) and the id or name of every HTML element that has one.
anchors() {
  local number text anchor rest
  declare -A seen=()
  while IFS=$'\t' read -r number text; do
    if [[ "$text" =~ ^\ {0,3}#{1,6}[[:space:]]+(.*)$ ]]; then
      text="${BASH_REMATCH[1]}"
      text="$(sed -e 's/[[:space:]]\+#*[[:space:]]*$//' <<<"$text")"
      anchor="$(slug "$text")"
      if [ -n "${seen[$anchor]+x}" ]; then
        seen[$anchor]=$((seen[$anchor] + 1))
        echo "$anchor-${seen[$anchor]}"
      else
        seen[$anchor]=0
        echo "$anchor"
      fi
    fi
    rest="$text"
    while [[ "$rest" =~ (id|name)=\"([^\"]+)\"(.*)$ ]]; do
      echo "${BASH_REMATCH[2]}"
      rest="${BASH_REMATCH[3]}"
    done
  done < <(prose_lines "$1" spans)
}

# The targets of a Markdown file's links and pictures, one a line as "number<TAB>target": inline
# links and pictures [text](target "title"), reference definitions [label]: target, and the src
# and href of HTML elements.
link_targets() {
  local number text rest
  while IFS=$'\t' read -r number text; do
    rest="$text"
    while [[ "$rest" =~ \]\(\<?([^\)\<\>[:space:]]+)\>?([[:space:]]+\"[^\"]*\")?\)(.*)$ ]]; do
      printf '%s\t%s\n' "$number" "${BASH_REMATCH[1]}"
      rest="${BASH_REMATCH[3]}"
    done
    if [[ "$text" =~ ^\ {0,3}\[[^]]+\]:[[:space:]]+\<?([^\>[:space:]]+) ]]; then
      printf '%s\t%s\n' "$number" "${BASH_REMATCH[1]}"
    fi
    rest="$text"
    while [[ "$rest" =~ (src|href)=\"([^\"]+)\"(.*)$ ]]; do
      printf '%s\t%s\n' "$number" "${BASH_REMATCH[2]}"
      rest="${BASH_REMATCH[3]}"
    done
  done < <(prose_lines "$1")
}

# Why a target of the Markdown file does not resolve; nothing when it does.
broken() {
  local file="$1" target="$2" path anchor resolved
  [[ "$target" =~ ^[A-Za-z][A-Za-z0-9+.-]*: ]] && return 0
  path="${target%%#*}"
  anchor=""
  [[ "$target" == *"#"* ]] && anchor="${target#*#}"
  path="${path//%20/ }"
  if [ -z "$path" ]; then
    resolved="$file"
  elif [[ "$path" == /* ]]; then
    resolved="${path#/}"
  else
    resolved="$(dirname "$file")/$path"
  fi
  resolved="$(realpath -m --relative-to=. "$resolved")"
  if [[ "$resolved" == ../* || "$resolved" == .. ]]; then
    echo "leads out of the source tree"
  elif [ ! -e "$resolved" ]; then
    echo "no such file"
  elif $in_git && git check-ignore -q "$resolved"; then
    echo "lies in an ignored folder, which a fresh clone lacks"
  elif [ -n "$anchor" ] && [[ "$resolved" == *.md ]] &&
    ! grep -xF -- "$anchor" <<<"$(anchors_of "$resolved")" >/dev/null; then
    echo "no heading with the anchor #$anchor in $resolved"
  fi
}

# The anchors of a Markdown file, worked out once.
declare -A anchor_lists=()
anchors_of() {
  [ -n "${anchor_lists[$1]+x}" ] || anchor_lists[$1]="$(anchors "$1")"
  printf '%s\n' "${anchor_lists[$1]}"
}

shopt -s nullglob
reasons="$(mktemp)"
trap 'rm -f "$reasons"' EXIT
status=0
documents=(README.md docs/*.md)
for file in "${documents[@]}"; do
  anchor_lists[$file]="$(anchors "$file")"
done
for file in "${documents[@]}"; do
  while IFS=$'\t' read -r number target; do
    broken "$file" "$target" >"$reasons"
    if [ -s "$reasons" ]; then
      echo "$file:$number: $target: $(cat "$reasons")"
      status=1
    fi
  done < <(link_targets "$file")
done
exit $status
