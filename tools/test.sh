#!/usr/bin/env bash
# Builds all three editions and runs every test, lane by lane:
#   native  the portable core's unit tests, natively with sanitizers;
#   fuzz    a short run of each fuzz target (fuzz/run.sh), alongside the
#           Wine lanes' tests;
#   win64   under Wine and Xvfb the same unit tests, the Win32 tests and the
#           end-to-end scenarios of the 64-bit edition, and its driver's
#           browser scenarios against the 32-bit manager;
#   win32   the same tests of the 32-bit product, under Wine's 32-bit loader;
#   release the release command (tools/release.sh) in two copies of the
#           tree at different paths, whose dist/ folders must be identical
#           and whose sums must check (tests/check-release.sh), alongside
#           the Wine lanes' tests;
# and the import tables of both Windows executables. The 32-bit product is
# built before the 64-bit tests run, so that they can drive its manager; once
# both editions are built, the tests of the two Wine lanes run side by side.
# The 32-bit lane needs a machine that runs 32-bit programs: where a small
# 32-bit program does not run under Wine, the lane is skipped, with the
# reason. Configure and build output goes to build/logs/ and is shown when a
# step fails.
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
bash tools/setup.sh || exit 1
jobs=$(nproc)
logs=$root/build/logs
mkdir -p "$logs"

summary=()
failed=()

heading() { printf '\n== %s\n' "$*"; }

. tools/quietly.sh

under_xvfb() { xvfb-run -a -s "-screen 0 1024x768x24" "$@"; }

# The tests of a Wine lane's log that failed a first run: "name name ...".
# A skipped test ("***Skipped", a case that called GTEST_SKIP) ran once and
# is no failure.
second_runs() {
  sed -n '/\*\*\*Skipped/d; s/^ *[0-9]*\/*[0-9]* *Test *#[0-9]*: \([^ ]*\) .*\*\*\*.*/\1/p' "$1" | sort -u | tr '\n' ' ' | sed 's/ $//'
}

# Notes a lane's outcome for the summary: record LANE STATUS STARTED [NOTE]
record() {
  local lane=$1 status=$2 took=$((SECONDS - $3)) note=${4:+ $4} outcome=passed
  if [ "$status" -ne 0 ]; then
    outcome=FAILED
    failed+=("$lane")
  fi
  summary+=("$(printf '%-7s %-7s %2dm%02ds%s' "$lane" $outcome $((took / 60)) $((took % 60)) "$note")")
}

# Prints why this machine cannot run 32-bit Windows programs under Wine, or
# nothing when it can: the kernel must execute 32-bit code, Wine's 32-bit
# loader must be installed and the prefix must have a 32-bit part.
why_no_32_bit() {
  if [ ! -x /usr/lib/wine/wine ]; then
    echo "Wine's 32-bit loader /usr/lib/wine/wine is not installed (package wine32:i386)"
    return
  fi
  export WINEPREFIX=$root/build/win32/wineprefix
  if ! tests/wine/make-prefix.sh --32-bit >"$logs/win32-prefix.log" 2>&1; then
    echo "no Wine prefix could be made for it (see build/logs/win32-prefix.log)"
    return
  fi
  local output status=0
  output=$(tests/wine/wine-run.sh build/win32/tests/wine/wine_probe.exe 2>&1) || status=$?
  case $status:$output in
    0:"a 32-bit Windows program ran"*) return ;;
    *"Exec format error"*) echo "this kernel does not execute 32-bit code (no IA32 emulation)" ;;
    *) echo "a small 32-bit program did not run under Wine (exit status $status): $(head -n 3 <<<"$output" | tr '\r\n' '  ' | sed 's/ *$//')" ;;
  esac
}

heading "native: the portable core with sanitizers; its fuzz targets are built"
started=$SECONDS
quietly native-configure cmake --preset native &&
  quietly native-build cmake --build --preset native -j"$jobs" &&
  ctest --preset native &&
  quietly fuzz-configure cmake --preset fuzz &&
  quietly fuzz-build cmake --build --preset fuzz -j"$jobs"
record native $? $started

heading "win32: building the 32-bit product and its tests"
started=$SECONDS
i686_manager=""
skipped=""
win32_built=false
if quietly win32-configure cmake --preset win32 &&
   quietly win32-build cmake --build --preset win32 -j"$jobs" &&
   tests/check-imports.sh i686-w64-mingw32-objdump build/win32/vandrel.exe; then
  skipped=$(why_no_32_bit)
  if [ -z "$skipped" ]; then
    i686_manager=$root/build/win32/vandrel.exe
    echo "32-bit programs run here: the 32-bit lane follows the 64-bit one"
  else
    echo "The 32-bit lane is skipped: $skipped."
  fi
  win32_built=true
fi
win32_build_time=$((SECONDS - started))

heading "win64: building the 64-bit edition and its tests"
started=$SECONDS
win64_built=false
quietly win64-configure cmake --preset win64 -DVANDREL_I686_MANAGER="$i686_manager" &&
  quietly win64-build cmake --build --preset win64 -j"$jobs" && win64_built=true
win64_build_time=$((SECONDS - started))

# The two lanes' tests run side by side: each has its own Wine prefix and its
# own display, and most of their time is spent waiting for windows and
# programs, not computing. Each lane's output is shown when both have ended.
# A Wine test that fails is run once more (a fault of the program fails both
# times; a window that was slow under the load of the other lane does not),
# and the summary names every test that needed its second run.
# The fuzz targets' short runs (12 s each) go alongside, and so do the two
# release builds, at a low priority: they compile while the Wine tests wait.
started=$SECONDS
win64_pid="" win32_pid=""
bash fuzz/run.sh 12 >"$logs/fuzz-runs.log" 2>&1 &
fuzz_pid=$!
nice -n 10 bash tests/check-release.sh "$root/build/reproducibility" >"$logs/release-check.log" 2>&1 &
release_pid=$!
if $win64_built; then
  under_xvfb ctest --preset win64 --repeat until-pass:2 >"$logs/win64-tests.log" 2>&1 &
  win64_pid=$!
fi
if [ -n "$i686_manager" ]; then
  under_xvfb ctest --preset win32 --repeat until-pass:2 >"$logs/win32-tests.log" 2>&1 &
  win32_pid=$!
fi

heading "win64: unit, Win32 and end-to-end tests under Wine${i686_manager:+, and the 32-bit manager driven by the 64-bit driver}"
if [ -n "$win64_pid" ]; then
  wait "$win64_pid"
  status=$?
  cat "$logs/win64-tests.log"
  again=$(second_runs "$logs/win64-tests.log")
  record win64 $status $((started - win64_build_time)) "(with its build)${again:+; failed a first run: $again}"
else
  record win64 1 $((SECONDS - win64_build_time)) "(the build)"
fi

if [ -n "$win32_pid" ]; then
  heading "win32: the same tests of the 32-bit product under Wine's 32-bit loader"
  wait "$win32_pid"
  status=$?
  cat "$logs/win32-tests.log"
  again=$(second_runs "$logs/win32-tests.log")
  record win32 $status $((started - win32_build_time)) "(with its build)${again:+; failed a first run: $again}"
elif ! $win32_built; then
  record win32 1 $((SECONDS - win32_build_time)) "(the build or its import table)"
else
  summary+=("$(printf '%-7s skipped: %s; built, import table checked' win32 "$skipped")")
fi

heading "fuzz: each target for 12 s, natively with sanitizers"
wait "$fuzz_pid"
status=$?
cat "$logs/fuzz-runs.log"
record fuzz $status $started

heading "release: tools/release.sh in two copies of the tree, compared byte by byte, and its sums"
wait "$release_pid"
status=$?
cat "$logs/release-check.log"
record release $status $started

heading "summary"
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
if [ -n "$skipped" ]; then
  echo "all tests that run here passed (the 32-bit lane was skipped)"
else
  echo "all tests passed"
fi
