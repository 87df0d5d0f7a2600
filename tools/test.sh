#!/usr/bin/env bash
# Builds all three editions and runs every test: the portable core natively
# (with sanitizers), then the same unit tests, the Win32 tests and the
# end-to-end scenarios under Wine and Xvfb, and the import tables of both
# Windows executables.
set -eu
cd "$(dirname "$0")/.."
bash tools/setup.sh
jobs=$(nproc)

cmake --preset native
cmake --build --preset native -j"$jobs"
ctest --preset native

cmake --preset win64
cmake --build --preset win64 -j"$jobs"
xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset win64

cmake --preset win32
cmake --build --preset win32 -j"$jobs"
tests/check-imports.sh i686-w64-mingw32-objdump build/win32/vandrel.exe

echo "all tests passed"
