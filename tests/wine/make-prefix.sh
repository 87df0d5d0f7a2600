#!/usr/bin/env bash
# Creates the test run's Wine prefix once; later starts reuse it.
#   make-prefix.sh [--32-bit]
# With --32-bit the run starts 32-bit programs: a prefix made before Wine's
# 32-bit loader was installed has no 32-bit part (drive_c/windows/syswow64),
# never gains one, and is made anew.
set -eu
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix of this test run}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
. "$(dirname "$0")/utf8-locale.sh"
if [ "${1:-}" = --32-bit ] && [ -f "$WINEPREFIX/system.reg" ] && [ -x /usr/lib/wine/wine ] &&
   [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
  echo "$WINEPREFIX has no 32-bit part: making it anew"
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  /usr/lib/wine/wine64 wineboot -i
  /usr/lib/wine/wineserver -w
fi
test -d "$WINEPREFIX/drive_c/windows"
# A new prefix's profile folders (Desktop, Documents, Downloads, Music,
# Pictures, Videos) are symbolic links to the host's home folder. The manager
# deletes folders when it removes a program: here they become plain folders
# of the prefix, so that no fault of its guard, nor of a test, can ever reach
# the host's own files.
for link in "$WINEPREFIX"/drive_c/users/*/{Desktop,Documents,Downloads,Music,Pictures,Videos}; do
  if [ -L "$link" ]; then rm -f "$link" && mkdir "$link"; fi
done
# "Segoe UI" is not on Linux. Its stand-in is chosen by measuring (docs/looks.md,
# "Fonts under Wine"): Cantarell (fonts-cantarell) breaks the main window's
# two bold labels where Segoe UI does, its bold and regular widths lie within
# a few pixels of Segoe UI's, its 15-pixel lines put exactly two lines into
# the 30-pixel labels, and its bold comes from a real bold file. Liberation
# Sans, the fallback, wraps the second label onto a third line and its bold
# barely shows at 12 pixels.
segoe_ui_stand_in=""
for face in "Cantarell" "Liberation Sans"; do
  if fc-list : family 2>/dev/null | grep -qx "$face"; then segoe_ui_stand_in=$face; break; fi
done
if [ -n "$segoe_ui_stand_in" ]; then
  /usr/lib/wine/wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v "Segoe UI" /t REG_SZ /d "$segoe_ui_stand_in" /f >/dev/null
fi
# Wine's own bitmap "MS Sans Serif" (fonts-wine) is registered in every prefix
# as windows\Fonts\sserife.fon, but Debian's Wine does not put the file there,
# so the face falls back to a TrueType one with 12-pixel lines instead of 13.
wine_fonts=/usr/share/wine/fonts
if [ -f "$wine_fonts/sserife.fon" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/sserife.fon" ]; then
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp "$wine_fonts/sserife.fon" "$WINEPREFIX/drive_c/windows/Fonts/"
fi
