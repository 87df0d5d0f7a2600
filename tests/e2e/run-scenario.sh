#!/usr/bin/env bash
# Runs one scenario: a fresh folder with a copy of the manager, the driver
# under Wine (on an Xvfb display of its own when none is set), screenshots
# turned into PNG files beside it.
#   run-scenario.sh DRIVER_EXE MANAGER_EXE SCENARIO RUN_DIR
set -u
driver=$1 manager=$2 scenario=$3 run=$4
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

[ -f "$manager" ] || { echo "no manager at $manager" >&2; exit 1; }
rm -rf "$run"
mkdir -p "$run/manager" "$run/shots" "$run/bin"
# Pages the manager opens reach the host's xdg-open (through Wine's
# winebrowser): a recording one first on PATH writes them to opened.txt.
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s/opened.txt"\n' "$run" > "$run/bin/xdg-open"
chmod +x "$run/bin/xdg-open"
export PATH="$run/bin:$PATH"
cp "$manager" "$run/manager/vandrel.exe"
# A scenario with the loopback server of the test run reaches it through its
# proxy, whatever address the manager was built with (Wine's WinHTTP takes
# the proxy from http_proxy when none is set in the registry).
if [ -n "${VANDREL_TEST_HTTP:-}" ] && [ -f "$VANDREL_TEST_HTTP/proxy_port" ]; then
  export http_proxy="http://127.0.0.1:$(cat "$VANDREL_TEST_HTTP/proxy_port")"
fi
# Wine has no "timeout" command, which the removal batch file uses: our
# stand-in takes its place in the prefix's system folders.
if [ -n "${VANDREL_TEST_PROGRAMS:-}" ] && [ -f "$VANDREL_TEST_PROGRAMS/test_timeout.exe" ]; then
  for system in "$WINEPREFIX/drive_c/windows/system32" "$WINEPREFIX/drive_c/windows/syswow64"; do
    if [ -d "$system" ]; then cp "$VANDREL_TEST_PROGRAMS/test_timeout.exe" "$system/timeout.exe"; fi
  done
fi
# A server of the prefix that an earlier test left (it outlives its programs
# by seconds) may belong to another display: the scenario starts afresh.
/usr/lib/wine/wineserver -k 2>/dev/null
# A scenario with the line "# display density: N dpi" runs on a display of N
# dpi: the prefix's density (read when its server starts), 96 again after.
set_density() {
  for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
    "$here/../wine/wine-run.sh" reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
  done
  /usr/lib/wine/wineserver -k 2>/dev/null
}
density=$(sed -n 's/^# display density: \([0-9]*\) dpi$/\1/p' "$scenario")
[ -n "$density" ] && set_density "$density"
"$here/../wine/wine-run.sh" "$driver" "$(winpath "$scenario")" "$(winpath "$run/manager/vandrel.exe")" \
  "$(winpath "$run/shots")"
status=$?
# Nothing of the scenario may outlive it in the shared prefix.
/usr/lib/wine/wineserver -k 2>/dev/null
[ -n "$density" ] && set_density 96
if command -v convert >/dev/null; then
  for shot in "$run"/shots/*.bmp; do
    [ -e "$shot" ] || continue
    convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
  done
fi
[ $status -eq 0 ] && ls "$run"/shots/*.png >/dev/null 2>&1 && echo "screenshots: $run/shots"
exit $status
