#!/usr/bin/env bash
# Builds the 64-bit edition and starts the manager under Wine from build/run/,
# with our own setup programs beside it under the catalogue's setup and update
# file names: the manager copies those instead of downloading, so installing,
# starting, updating and removing work without any server.
# On a display it simply runs; without one it runs under Xvfb, where the
# scenario driver starts it, saves screenshots of the main window, the About
# box and the disclaimer into build/run/, says where, and ends it.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
bash tools/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target demo e2e_driver

run=$root/build/run
mkdir -p "$run"
cp build/win64/demo/*.exe "$run/"

export WINEPREFIX=${WINEPREFIX:-$root/build/run-wineprefix}
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
. tests/wine/utf8-locale.sh
# The stand-in programs show how they were started.
export VANDREL_TEST_BEHAVIOUR=${VANDREL_TEST_BEHAVIOUR:-window}
bash tests/wine/make-prefix.sh
# Wine has no "timeout" command, which the self-removal's batch file uses.
for system in "$WINEPREFIX/drive_c/windows/system32" "$WINEPREFIX/drive_c/windows/syswow64"; do
  if [ -d "$system" ]; then cp build/win64/tests/programs/test_timeout.exe "$system/timeout.exe"; fi
done

# The prefix's Wine session ends first: one started above without a display
# would otherwise serve the manager too, and show its windows nowhere.
/usr/lib/wine/wineserver -w

if [ -n "${DISPLAY:-}" ]; then
  cd "$run" && exec /usr/lib/wine/wine64 vandrel.exe "$@"
fi

# No display: the three windows, through the scenario driver, which starts
# its own copy of the manager (without arguments) in build/run/screens/.
if ! tests/e2e/run-scenario.sh build/win64/tests/e2e/e2e_driver.exe "$run/vandrel.exe" \
    "$root/tools/screenshots.txt" "$run/screens" >"$run/screens.log" 2>&1; then
  echo "The screenshots could not be taken; see $run/screens.log" >&2
  exit 1
fi
for name in main-window about-box disclaimer; do
  for shot in "$run/screens/shots/$name".*; do cp "$shot" "$run/"; done
done
echo "No display: the manager ran under Xvfb; its three windows are in $run/: main-window.png, about-box.png, disclaimer.png"
