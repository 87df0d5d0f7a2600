#!/usr/bin/env bash
# The executable must import only DLLs that every Windows has: the runtime
# is linked in statically.
#   check-imports.sh OBJDUMP EXE
set -eu
objdump=$1 exe=$2
allowed='^(kernel32|user32|gdi32|shell32|ole32|oleaut32|comctl32|comdlg32|advapi32|msvcrt)\.dll$'
dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || { echo "no import table found in $exe"; exit 1; }
bad=$(printf '%s\n' "$dlls" | grep -v -E "$allowed" || true)
echo "$exe imports:" $dlls
if [ -n "$bad" ]; then
  echo "not every Windows has:" $bad
  exit 1
fi
# The C++ runtime's console message on terminate, with the demangler and the
# printf it brings, stays out of the window program (app/quiet_terminate.cpp).
if grep -q "terminate called after throwing" "$exe"; then
  echo "$exe carries the runtime's verbose terminate handler"
  exit 1
fi
