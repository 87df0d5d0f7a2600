#!/usr/bin/env bash
# Runs a Windows program under the 64-bit Wine loader, quietly, in the
# prefix named by WINEPREFIX (each test run has its own).
set -u
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix of this test run}"
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers: the tests need neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec /usr/lib/wine/wine64 "$@"
