#!/usr/bin/env bash
# The manager's download path against curl, both fetching the same file from
# the same loopback server in this run, over http and over https (the
# server's test authority trusted by both, in the bench prefix for the
# manager):   bash bench/download.sh [MEGABYTES] [RUNS]
# Prints each median and the manager's throughput as a ratio of curl's and as
# a ratio of the limit under it: the same address read bare through the same
# WinHTTP functions in one process, the bytes dropped
# (bench/download_phases.cpp). The ratios are the medians of each round's
# own: this machine's speed drifts by a tenth within minutes, which a ratio
# of medians taken over the whole run would count as the manager's. In a
# round the manager and the bare limit run twice each, mirrored (manager,
# bare, bare, manager, or the other way about), so that a drift within the
# round touches both alike.
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

# The server on one processor, the clients (curl, the manager, the bare
# limit, and Wine's server, started anew here so that it inherits this) on
# another. Left to the scheduler, the same program's time varied by a tenth
# from one run to the next on two virtual processors, with the client and
# Wine's server on the same processor in some runs and not in others.
server_cpu=0 client_cpu=0
[ "$(nproc)" -ge 2 ] && server_cpu=1
client() { taskset -c "$client_cpu" "$@"; }
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w 2>/dev/null || true
# Wine's server stays for the whole run: on its own it ends three seconds
# after the last program, and the next program would then start a new Wine
# session, whose services start beside it on its processor while it is timed.
client /usr/lib/wine/wineserver -p

work=$(mktemp -d)
state=$work/http
trap 'python3 tests/servers/http_server.py stop "$state" >/dev/null 2>&1 || true; /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
taskset -c "$server_cpu" python3 tests/servers/http_server.py start "$state"
head -c "$((size_mb * 1024 * 1024))" /dev/urandom > "$state/root/big.bin"
url="http://127.0.0.1:$(cat "$state/port")/big.bin"
https_url="https://localhost:$(cat "$state/https_port")/big.bin"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
client tests/wine/wine-run.sh build/win64/tests/programs/test_trust_authority.exe "$(winpath "$state/tls/authority.der")" >/dev/null

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# curl, then the manager and the bare limit twice each, mirrored, fetch
# ADDRESS back to back; a line "NAME CURL MANAGER BARE" (milliseconds, the
# manager's and the bare limit's the means of their two) goes to the rounds
# file, the bare limit's other figures to the phases file. Every
# timed program starts after the writes of the one before it reached the disk
# (sync): the copies of 100 MB that curl and the manager leave would
# otherwise be written out during the next one.
: >"$work/rounds"
: >"$work/phases"
manager() {
  rm -f "$work/manager.bin"
  sync
  manager_ms=$(client tests/wine/wine-run.sh build/win64/bench/bench_download_timer.exe "$1" "$(winpath "$work/manager.bin")" | tr -d '\r')
  cmp -s "$state/root/big.bin" "$work/manager.bin" || { echo "the manager's copy differs from the file served" >&2; exit 1; }
}
bare() {
  sync
  client tests/wine/wine-run.sh build/win64/bench/bench_download_phases.exe "$2" | tr -d '\r' | sed "s/^/$1-/" >"$work/bare"
  cat "$work/bare" >>"$work/phases"
  bare_ms=$(awk -v name="$1-winhttp-arrived" '$1 == name {print $2}' "$work/bare")
}
round() {
  local name=$1 address=$2 turn=$3
  sync
  curl_ms=$(client curl -s --cacert "$state/tls/authority.pem" -o "$work/curl.bin" -w '%{time_total}\n' "$address" |
    awk '{printf "%.0f\n", $1 * 1000}')
  local managers=0 bares=0 step
  for step in 0 1 1 0; do
    if [ $(((step + turn) % 2)) = 0 ]; then
      manager "$address"
      managers=$((managers + manager_ms))
    else
      bare "$name" "$address"
      bares=$((bares + bare_ms))
    fi
  done
  echo "$name $curl_ms $((managers / 2)) $((bares / 2))" >>"$work/rounds"
}
for turn in $(seq "$runs"); do
  round http "$url" "$turn"
  round https "$https_url" "$turn"
done
column() { awk -v name="$1" -v c="$2" '$1 == name {print $c}' "$work/rounds" | median; }
ratio() { awk -v name="$1" -v c="$2" '$1 == name {printf "%.4f\n", $c / $3}' "$work/rounds" | median; }
phase() { awk -v name="$1" '$1 == name {print $2}' "$work/phases" | median; }
echo "download of $size_mb MB from loopback, median of $runs:"
for name in http https; do
  awk -v n="$name" -v c="$(column "$name" 2)" -v m="$(column "$name" 3)" -v b="$(column "$name" 4)" \
    -v p="$(phase "$name-winhttp-pieces")" -v w="$(phase "$name-winhttp-1m")" \
    -v rc="$(ratio "$name" 2)" -v rb="$(ratio "$name" 4)" \
    'BEGIN { printf "  %-6s curl %6d ms, manager %6d ms, WinHTTP bare %6d ms (the manager'"'"'s reads %d ms, 1 MiB reads %d ms)\n", n, c, m, b, p, w;
             printf "         manager throughput / curl %.2f, / WinHTTP bare %.2f\n", rc, rb }'
done
