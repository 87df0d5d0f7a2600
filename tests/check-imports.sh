#!/usr/bin/env bash
# The executable must import only DLLs that every Windows has: the runtime
# is linked in statically.
#   check-imports.sh OBJDUMP EXE
set -eu
objdump=$1 exe=$2
allowed='^(kernel32|user32|gdi32|shell32|ole32|oleaut32|urlmon|wininet|comctl32|comdlg32|advapi32|msvcrt)\.dll$'
dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || { echo "no import table found in $exe"; exit 1; }
bad=$(printf '%s\n' "$dlls" | grep -v -E "$allowed" || true)
echo "$exe imports:" $dlls
if [ -n "$bad" ]; then
  echo "not every Windows has:" $bad
  exit 1
fi
