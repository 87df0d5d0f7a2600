#!/usr/bin/env bash
# Creates the test run's Wine prefix once; later starts reuse it.
set -eu
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix of this test run}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  /usr/lib/wine/wine64 wineboot -i
  /usr/lib/wine/wineserver -w
fi
test -d "$WINEPREFIX/drive_c/windows"
