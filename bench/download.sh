#!/usr/bin/env bash
# The manager's download path against curl, both fetching the same file from
# the same loopback server in this run, over http and over https (the
# server's test authority trusted by both, in the bench prefix for the
# manager):   bash bench/download.sh [MEGABYTES] [RUNS]
# Prints each median and the manager's throughput as a ratio of curl's and as
# a ratio of the limit under it: the same address read bare through the same
# WinHTTP functions in one process, the bytes dropped
# (bench/download_phases.cpp).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
size_mb=${1:-200}
runs=${2:-3}
bash tools/setup.sh
command -v curl >/dev/null || { echo "curl is needed" >&2; exit 1; }
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target bench_download_timer bench_download_phases test_trust_authority >/dev/null
export WINEPREFIX=${WINEPREFIX:-$root/build/bench-wineprefix}
export WINEDEBUG=-all
bash tests/wine/make-prefix.sh

work=$(mktemp -d)
state=$work/http
trap 'python3 tests/servers/http_server.py stop "$state" >/dev/null 2>&1 || true; /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
python3 tests/servers/http_server.py start "$state"
head -c "$((size_mb * 1024 * 1024))" /dev/urandom > "$state/root/big.bin"
url="http://127.0.0.1:$(cat "$state/port")/big.bin"
https_url="https://localhost:$(cat "$state/https_port")/big.bin"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
tests/wine/wine-run.sh build/win64/tests/programs/test_trust_authority.exe "$(winpath "$state/tls/authority.der")" >/dev/null

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# curl, the manager and the bare limit fetch ADDRESS one after the other;
# their times go to NAME.curl, NAME.manager and the phases file. One round per
# run and address, the three side by side, so that a change in the machine's
# load touches all alike. Every timed program starts after the writes of the
# one before it reached the disk (sync): the copies of 100 MB that curl and
# the manager leave would otherwise be written out during the next one.
: >"$work/phases"
round() {
  local name=$1 address=$2
  sync
  curl -s --cacert "$state/tls/authority.pem" -o "$work/curl.bin" -w '%{time_total}\n' "$address" |
    awk '{printf "%.0f\n", $1 * 1000}' >>"$work/$name.curl"
  rm -f "$work/manager.bin"
  sync
  tests/wine/wine-run.sh build/win64/bench/bench_download_timer.exe "$address" "$(winpath "$work/manager.bin")" |
    tr -d '\r' >>"$work/$name.manager"
  cmp -s "$state/root/big.bin" "$work/manager.bin" || { echo "the manager's copy differs from the file served" >&2; exit 1; }
  sync
  tests/wine/wine-run.sh build/win64/bench/bench_download_phases.exe "$address" | tr -d '\r' |
    sed "s/^/$name-/" >>"$work/phases"
}
for _ in $(seq "$runs"); do
  round http "$url"
  round https "$https_url"
done
phase() { awk -v name="$1" '$1 == name {print $2}' "$work/phases" | median; }
echo "download of $size_mb MB from loopback, median of $runs:"
for name in http https; do
  curl_ms=$(median <"$work/$name.curl")
  manager_ms=$(median <"$work/$name.manager")
  bare_ms=$(phase "$name-winhttp-arrived")
  awk -v n="$name" -v c="$curl_ms" -v m="$manager_ms" -v b="$bare_ms" -v w="$(phase "$name-winhttp-1m")" \
    -v p="$(phase "$name-winhttp-pieces")" \
    'BEGIN { printf "  %-6s curl %6d ms, manager %6d ms, WinHTTP bare %6d ms (the manager'"'"'s reads %d ms, 1 MiB reads %d ms)\n", n, c, m, b, p, w;
             printf "         manager throughput / curl %.2f, / WinHTTP bare %.2f\n", c / m, b / m }'
done
