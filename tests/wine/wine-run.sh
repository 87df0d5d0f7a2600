#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly, in the prefix named by
# WINEPREFIX (each test run has its own).
# The 64-bit loader takes programs of both widths: a 32-bit one it hands on
# to Wine's classic 32-bit loader (/usr/lib/wine/wine, package wine32:i386),
# where it runs as a 32-bit process on WoW64, just as when a 64-bit program
# starts it. That needs a prefix made after wine32 was installed (one with
# drive_c/windows/syswow64) and a kernel that executes 32-bit code.
set -u
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix of this test run}"
export WINEPREFIX
. "$(dirname "$0")/utf8-locale.sh"
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers: the tests need neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# The program's output goes through files: Wine's server and its services,
# started by the first program, inherit its output and outlive it by seconds,
# and a caller that reads a pipe (CTest) would wait for them after every test.
output=$(mktemp) errors=$(mktemp)
/usr/lib/wine/wine64 "$@" >"$output" 2>"$errors"
status=$?
cat "$output"
cat "$errors" >&2
rm -f "$output" "$errors"
exit $status
