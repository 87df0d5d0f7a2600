#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, as root; only what
# is missing, after an apt-get update. The 32-bit lane runs the i686 build
# under Wine's classic 32-bit loader (wine32), a package of the i386
# architecture, which is added first when it is not there yet. Fonts: Cantarell
# stands in for "Segoe UI" in the test prefix (measured, see docs/looks.md,
# "Fonts under Wine"), Liberation Sans is its fallback, and fonts-wine
# brings Wine's bitmap "MS Sans Serif". The fuzz targets need clang 14 and
# its libFuzzer runtime (libclang-rt-14-dev). The release (tools/release.sh)
# takes the commit's time from git and checks its executables with file.
# The download tests' https server makes its test authority and
# certificates with openssl.
#   setup.sh            everything that building and testing need
#   setup.sh release    only what tools/release.sh needs
# A package mirror can be in the middle of a sync: one index then has the
# wrong size and apt-get update fails on it while every other index is fine.
# The update is tried three times and the set-up then goes on with what it
# has. Only the 32-bit loader may stay missing (the test command then skips
# the 32-bit lane and says why); any other package that cannot be installed
# ends the set-up with its name.
set -eu
sudo_=""
[ "$(id -u)" -eq 0 ] || sudo_=sudo
release_packages=(cmake make python3 g++-mingw-w64-x86-64 g++-mingw-w64-i686 git file)
packages=("${release_packages[@]}" g++ googletest libgtest-dev
          wine wine64
          xvfb xauth x11-utils imagemagick fonts-liberation fonts-cantarell fonts-wine curl openssl
          clang-14 libclang-rt-14-dev)
optional_packages=(wine32:i386)
if [ "${1:-}" = release ]; then
  packages=("${release_packages[@]}")
  optional_packages=()
elif ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "adding the i386 architecture (for Wine's 32-bit loader)"
  $sudo_ dpkg --add-architecture i386
fi

missing_of() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || echo "$package"
  done
}

update_indexes() {
  local try
  for try in 1 2 3; do
    $sudo_ apt-get update && return 0
    [ $try -lt 3 ] && { echo "apt-get update failed (try $try of 3); trying again in 10 s"; sleep 10; }
  done
  echo "apt-get update failed three times; going on with the package indexes it has"
}

install() { DEBIAN_FRONTEND=noninteractive $sudo_ apt-get install -y --no-install-recommends "$@"; }

mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t missing_optional < <(missing_of "${optional_packages[@]}")
[ ${#missing[@]} -gt 0 ] || [ ${#missing_optional[@]} -gt 0 ] || exit 0
update_indexes

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  if ! install "${missing[@]}"; then
    # Name the ones that cannot be had: each is tried alone.
    for package in "${missing[@]}"; do install "$package" >/dev/null 2>&1 || true; done
    mapfile -t missing < <(missing_of "${missing[@]}")
    if [ ${#missing[@]} -gt 0 ]; then
      echo "these packages cannot be installed: ${missing[*]}"
      exit 1
    fi
  fi
fi
if [ ${#missing_optional[@]} -gt 0 ]; then
  echo "installing: ${missing_optional[*]}"
  install "${missing_optional[@]}" ||
    echo "${missing_optional[*]} cannot be installed now (a package mirror mid-sync?): the 32-bit lane will be skipped"
fi
exit 0
