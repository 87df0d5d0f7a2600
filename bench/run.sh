#!/usr/bin/env bash
# Builds both editions with the start-up benchmark and runs it under Wine and
# Xvfb, for the x86_64 manager and then for the i686 one (each against the
# baseline window program of its own width):   bash bench/run.sh [RUNS]
# Every figure is printed as a ratio of the manager's against the baseline's,
# with both values; then the same for a program with the manager's windows
# made with plain calls (bench_same_windows), against the baseline and the
# manager against it.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
runs=${1:-15}
bash tools/setup.sh
export WINEPREFIX=${WINEPREFIX:-$root/build/bench-wineprefix}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# The i686 figures need a kernel that runs 32-bit code: ask the loader itself.
runs_32_bit=false
if /usr/lib/wine/wine --version >/dev/null 2>&1; then runs_32_bit=true; fi
widths=(win64)
if $runs_32_bit; then widths+=(win32); fi
for width in "${widths[@]}"; do
  cmake --preset "$width" >/dev/null
  cmake --build --preset "$width" -j"$(nproc)" --target vandrel bench_baseline_window bench_same_windows bench_startup_timer >/dev/null
  mkdir -p "$work/$width"
  cp "build/$width/vandrel.exe" "build/$width/bench/bench_baseline_window.exe" \
    "build/$width/bench/bench_same_windows.exe" "$work/$width/"
done
cp build/win64/bench/bench_startup_timer.exe "$work/"
if ! $runs_32_bit; then
  echo "This machine does not run 32-bit Windows programs under Wine: only the x86_64 figures follow."
fi
bash tests/wine/make-prefix.sh $($runs_32_bit && echo --32-bit)
# Its Wine session, started without a display, must end before the programs
# start on the benchmark's display.
/usr/lib/wine/wineserver -w
for width in "${widths[@]}"; do
  case $width in win64) echo "== x86_64 edition" ;; win32) echo "== i686 edition (the product)" ;; esac
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '"$0" "$@"; /usr/lib/wine/wineserver -k' \
    tests/wine/wine-run.sh "$work/bench_startup_timer.exe" \
    "$(winpath "$work/$width/vandrel.exe")" "$(winpath "$work/$width/bench_baseline_window.exe")" "$runs" \
    "$(winpath "$work/$width/bench_same_windows.exe")"
done
