#!/usr/bin/env bash
# Creates the test run's Wine prefix once; later starts reuse it.
#   make-prefix.sh [--32-bit]
# With --32-bit the run starts 32-bit programs: a prefix made before Wine's
# 32-bit loader was installed has no 32-bit part (drive_c/windows/syswow64),
# never gains one, and is made anew.
set -eu
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix of this test run}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
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
# "Segoe UI" is not on Linux; Wine's stand-in may be a wider face (DejaVu
# Sans), cutting the main window's two-line labels. Liberation Sans
# (fonts-liberation) comes closest in width and keeps two lines within 30
# pixels: see "Looks" in the README for the measurement.
if fc-list 2>/dev/null | grep -q "Liberation Sans"; then
  /usr/lib/wine/wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v "Segoe UI" /t REG_SZ /d "Liberation Sans" /f >/dev/null
fi
