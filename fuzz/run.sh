#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang with the address and
# undefined-behaviour sanitizers) and runs each one for SECONDS (default 60)
# from its seed files in fuzz/corpus/<target>/, which it only reads. Inputs
# the fuzzer finds worth keeping go to build/fuzz/corpus/<target>/ and carry
# over to the next run; an input that crashes, hangs or leaks goes to
# build/fuzz/findings/<target>/. Prints for each target the number of
# executions and what it found; fails when any target found something.
#
#   bash fuzz/run.sh [SECONDS_PER_TARGET]
set -u
cd "$(dirname "$0")/.."
seconds=${1:-60}
case $seconds in
  '' | *[!0-9]*) echo "usage: bash fuzz/run.sh [SECONDS_PER_TARGET]" >&2; exit 2 ;;
esac
logs=build/logs
mkdir -p "$logs"

. tools/quietly.sh

quietly fuzz-configure cmake --preset fuzz &&
  quietly fuzz-build cmake --build --preset fuzz -j2 || exit 1

status=0
for target in dir_list command_line directory_text seldir; do
  corpus=build/fuzz/corpus/$target
  findings=build/fuzz/findings/$target
  log=$logs/fuzz-$target.log
  mkdir -p "$corpus" "$findings"
  started=$SECONDS
  # The working corpus comes first: libFuzzer writes new inputs only there.
  build/fuzz/fuzz/fuzz_$target -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "fuzz/corpus/$target" >"$log" 2>&1
  outcome=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  took=$((SECONDS - started))
  if [ "$outcome" -eq 0 ]; then
    printf '%-15s %10s executions in %3d s, nothing found\n' "$target" "${executions:-?}" "$took"
    continue
  fi
  status=1
  printf '%-15s %10s executions in %3d s, FOUND (exit status %d), see %s:\n' \
    "$target" "${executions:-?}" "$took" "$outcome" "$log"
  grep -E '^(dir_list|command_line|directory_text|seldir): |ERROR: |SUMMARY: |runtime error' "$log" | head -n 5 |
    sed 's/^/    /'
  sed -n 's/.*Test unit written to /    input: /p' "$log"
  echo "    again: build/fuzz/fuzz/fuzz_$target <input>"
done
exit $status
