#!/usr/bin/env bash
# Builds the 64-bit edition and starts the manager under Wine from build/run/,
# with our own setup programs beside it under the catalogue's setup and update
# file names: the manager copies those instead of downloading, so installing,
# starting, updating and removing work without any server.
# On a display it simply runs; without one it runs under Xvfb, saves a
# screenshot of the main window, says where, and ends the manager.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
bash tools/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target demo

run=$root/build/run
mkdir -p "$run"
cp build/win64/demo/*.exe "$run/"

export WINEPREFIX=${WINEPREFIX:-$root/build/run-wineprefix}
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# The stand-in programs show how they were started.
export VANDREL_TEST_BEHAVIOUR=${VANDREL_TEST_BEHAVIOUR:-window}
bash tests/wine/make-prefix.sh
# Wine has no "timeout" command, which the self-removal's batch file uses.
for system in "$WINEPREFIX/drive_c/windows/system32" "$WINEPREFIX/drive_c/windows/syswow64"; do
  if [ -d "$system" ]; then cp build/win64/tests/programs/test_timeout.exe "$system/timeout.exe"; fi
done

if [ -n "${DISPLAY:-}" ]; then
  cd "$run" && exec /usr/lib/wine/wine64 vandrel.exe "$@"
fi

shot=$run/main-window.png
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  cd "$1" && /usr/lib/wine/wine64 vandrel.exe "${@:3}" &
  for _ in $(seq 1 100); do
    xwininfo -root -tree | grep -q "\"Download, install, execute or remove software ...\"" && break
    sleep 0.2
  done
  sleep 1
  import -window root "$2"
  /usr/lib/wine/wineserver -k
' _ "$run" "$shot" "$@"
echo "No display: the manager ran under Xvfb; its window is in $shot"
