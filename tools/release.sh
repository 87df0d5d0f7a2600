#!/usr/bin/env bash
# Builds the release: both editions in their release form (the manager alone,
# without the tests, in build/release-win32 and build/release-win64) and, in
# a fresh dist/:
#   vandrel-<version>-win32.zip   the product, the 32-bit edition
#   vandrel-<version>-win64.zip   the 64-bit edition
#   vandrel-<version>-win32/, vandrel-<version>-win64/
#                                 what each zip holds, as it unpacks:
#                                 vandrel.exe (stripped) and README.txt
#   SHA256SUMS                    the zips' and the executables' sums, as
#                                 sha256sum -c reads them
# The version is the CMake project version. One commit gives the same bytes
# wherever and whenever it is built: the executables hold no time and no
# path, and the zips hold their entries in a fixed order with the commit's
# time (or SOURCE_DATE_EPOCH, when set) and fixed permissions. The
# executables are checked before anything is written: PE32 GUI programs of
# their processor, stripped, importing only system DLLs, showing this version
# in the About box, the version resource and the manifest, and the 32-bit
# product at most 512 KiB.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
bash tools/setup.sh release
jobs=$(nproc)
logs=$root/build/logs
mkdir -p "$logs"
. tools/quietly.sh

fail() {
  echo "release: $*" >&2
  exit 1
}

if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  epoch=$SOURCE_DATE_EPOCH
else
  epoch=$(git log -1 --format=%ct 2>/dev/null) ||
    fail "no commit to take the time from: run it in a git checkout, or set SOURCE_DATE_EPOCH"
  if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "note: the tree has changes that are not committed; this is not the release of $(git rev-parse --short HEAD)"
  fi
fi

for edition in win32 win64; do
  echo "building the $edition edition (build/release-$edition)"
  quietly "release-$edition-configure" cmake --preset "release-$edition" &&
    quietly "release-$edition-build" nice cmake --build --preset "release-$edition" -j"$jobs" ||
    exit 1
done
version=$(cat build/release-win32/generated/version.txt)
[ "$version" = "$(cat build/release-win64/generated/version.txt)" ] ||
  fail "the two editions were configured with different versions"

# The version in four numbers, as the version resource and the manifest hold it.
IFS=. read -r major minor patch tweak <<<"$version"
quad=$major.$minor.${patch:-0}.${tweak:-0}

# check EDITION TOOL-PREFIX FILE-DESCRIPTION: the executable is what it
# claims, stripped, and every place that shows the version shows this one.
check() {
  local exe=build/release-$1/vandrel.exe described resources
  described=$(file -b "$exe")
  case $described in
    "$3"*) ;;
    *) fail "$exe is not a $3 but: $described" ;;
  esac
  if "$2objdump" -h "$exe" | grep -q '\.debug' || "$2objdump" -t "$exe" | grep -q '^\[ *[0-9]'; then
    fail "$exe is not stripped"
  fi
  tests/check-imports.sh "$2objdump" "$exe" || fail "$exe imports more than system DLLs"
  resources=$("$2windres" -i "$exe" -O rc) || fail "the resources of $exe cannot be read"
  grep -qF "FILEVERSION ${quad//./, }" <<<"$resources" &&
    grep -qF "PRODUCTVERSION ${quad//./, }" <<<"$resources" &&
    grep -qF "VALUE \"FileVersion\", \"$quad\"" <<<"$resources" &&
    grep -qF "VALUE \"ProductVersion\", \"$version\"" <<<"$resources" ||
    fail "the version resource of $exe does not give version $version"
  "$2strings" -a "$exe" | grep -qF "name=\"Vandrel.DownloadManager\" version=\"$quad\"" ||
    fail "the manifest of $exe does not give version $quad"
  "$2strings" -a "$exe" | grep -qxF "Vandrel Download Manager Version $version" ||
    fail "the About box of $exe does not say version $version"
}
check win32 i686-w64-mingw32- "PE32 executable (GUI) Intel 80386"
check win64 x86_64-w64-mingw32- "PE32+ executable (GUI) x86-64"
size=$(stat -c %s build/release-win32/vandrel.exe)
[ "$size" -le $((512 * 1024)) ] || fail "the 32-bit vandrel.exe has $size bytes, more than 512 KiB"

rm -rf dist
mkdir dist
for edition in win32 win64; do
  case $edition in
    win32) described="32-bit edition" ;;
    win64) described="64-bit edition" ;;
  esac
  name=vandrel-$version-$edition
  mkdir "dist/$name"
  cp build/release-$edition/vandrel.exe "dist/$name/vandrel.exe"
  # For Windows users: CR LF line ends.
  sed -e "s/@VERSION@/$version/g" -e "s/@EDITION@/$described/g" -e "s/@ARCH@/$edition/g" -e 's/$/\r/' \
    tools/release-readme.txt >"dist/$name/README.txt"
  touch -d "@$epoch" "dist/$name/vandrel.exe" "dist/$name/README.txt" "dist/$name"
  python3 tools/release_zip.py "dist/$name.zip" "$epoch" \
    README.txt="dist/$name/README.txt" vandrel.exe="dist/$name/vandrel.exe"
  touch -d "@$epoch" "dist/$name.zip"
done
(
  cd dist
  sha256sum "vandrel-$version-win32.zip" "vandrel-$version-win32/vandrel.exe" \
            "vandrel-$version-win64.zip" "vandrel-$version-win64/vandrel.exe" >SHA256SUMS
  touch -d "@$epoch" SHA256SUMS
)

echo "dist/ (version $version, time $(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S UTC')):"
(cd dist && find . -type f | sort | sed 's|^\./||' | while read -r file; do
  printf '  %-36s %8d bytes\n' "$file" "$(stat -c %s "$file")"
done)
echo "SHA256SUMS:"
sed 's/^/  /' dist/SHA256SUMS
