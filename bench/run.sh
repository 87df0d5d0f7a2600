#!/usr/bin/env bash
# Builds the 64-bit edition with the benchmarks and runs them under Wine and
# Xvfb:   bash bench/run.sh [RUNS]
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
bash tools/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target vandrel bench_baseline_window bench_startup_timer
export WINEPREFIX=${WINEPREFIX:-$root/build/bench-wineprefix}
bash tests/wine/make-prefix.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp build/win64/vandrel.exe build/win64/bench/bench_baseline_window.exe build/win64/bench/bench_startup_timer.exe "$work/"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '"$0" "$@"; /usr/lib/wine/wineserver -k' \
  tests/wine/wine-run.sh "$work/bench_startup_timer.exe" \
  "$(winpath "$work/vandrel.exe")" "$(winpath "$work/bench_baseline_window.exe")" "${1:-9}"
