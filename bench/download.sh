#!/usr/bin/env bash
# The manager's download path against curl, both fetching the same file from
# the same loopback server in this run:   bash bench/download.sh [MEGABYTES] [RUNS]
# Prints each median and the manager's throughput as a ratio of curl's.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
size_mb=${1:-200}
runs=${2:-3}
bash tools/setup.sh
command -v curl >/dev/null || { echo "curl is needed" >&2; exit 1; }
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target bench_download_timer >/dev/null
export WINEPREFIX=${WINEPREFIX:-$root/build/bench-wineprefix}
export WINEDEBUG=-all
bash tests/wine/make-prefix.sh

work=$(mktemp -d)
state=$work/http
trap 'python3 tests/win32/http_server.py stop "$state" >/dev/null 2>&1 || true; /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
python3 tests/win32/http_server.py start "$state"
head -c "$((size_mb * 1024 * 1024))" /dev/urandom > "$state/root/big.bin"
url="http://127.0.0.1:$(cat "$state/port")/big.bin"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
curl_ms=$(for _ in $(seq "$runs"); do
  curl -s -o "$work/curl.bin" -w '%{time_total}\n' "$url" | awk '{printf "%.0f\n", $1 * 1000}'
done | median)
manager_ms=$(for _ in $(seq "$runs"); do
  rm -f "$work/manager.bin"
  tests/wine/wine-run.sh build/win64/bench/bench_download_timer.exe "$url" "$(winpath "$work/manager.bin")" | tr -d '\r'
done | median)
cmp -s "$state/root/big.bin" "$work/manager.bin" || { echo "the manager's copy differs from the file served" >&2; exit 1; }
echo "download of $size_mb MB from loopback, median of $runs:"
echo "  curl:    $curl_ms ms"
echo "  manager: $manager_ms ms"
awk -v c="$curl_ms" -v m="$manager_ms" 'BEGIN { printf "  manager throughput / curl throughput: %.2f\n", c / m }'
