#!/usr/bin/env bash
# Creates a 64-bit Wine prefix at $1 if it does not exist yet, with CJK fonts standing in for
# the Chinese fonts the program asks for. Safe to call from parallel processes.
set -euo pipefail
prefix="$1"
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.morvane-ready" ] && exit 0

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1

# "宋体" (SimSun) and "黑体" (SimHei) are not installed; map them, their English names and the
# dialog fonts to WenQuanYi Micro Hei so Chinese and Latin text draws as glyphs, not boxes.
cjk="WenQuanYi Micro Hei"
reg="$(mktemp --suffix=.reg)"
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for name in "宋体" "黑体" "新宋体" "SimSun" "SimHei" "NSimSun"; do
    printf '"%s"="%s"\r\n' "$name" "$cjk"
  done
  printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
  for name in "Tahoma" "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2"; do
    printf '"%s"=hex(7):%s\r\n' "$name" \
      "$(printf 'wqy-microhei.ttc,%s\0\0' "$cjk" | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//;s/,$//')"
  done
  # Wine draws the caption bars itself, so they show under Xvfb, where no window manager runs.
  printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Decorated"="N"\r\n'
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
wine regedit /s "$(winepath -w "$reg")" >/dev/null 2>&1
rm -f "$reg"

# Wine draws the caption's close box with a glyph of the Marlett font, which no installed package
# provides without also bringing Wine's other fonts into fontconfig. Take marlett.ttf alone out of
# Debian's fonts-wine package and put it into this prefix's Fonts folder.
# The package is fetched once beside the prefixes; prefixes made at the same time wait for it.
fonts="$(dirname "$prefix")/fonts-wine"
mkdir -p "$fonts"
(
  flock 8
  if [ ! -f "$fonts/usr/share/wine/fonts/marlett.ttf" ]; then
    (cd "$fonts" && apt-get download fonts-wine >/dev/null 2>&1 && dpkg-deb -x fonts-wine_*.deb .) || true
  fi
) 8>"$fonts.lock"
if [ -f "$fonts/usr/share/wine/fonts/marlett.ttf" ]; then
  cp "$fonts/usr/share/wine/fonts/marlett.ttf" "$prefix/drive_c/windows/Fonts/"
else
  echo "wine-prefix.sh: could not fetch marlett.ttf; close boxes will show a letter" >&2
fi
wineserver -w
touch "$prefix/.morvane-ready"
