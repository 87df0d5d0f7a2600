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
set -eu
sudo_=""
[ "$(id -u)" -eq 0 ] || sudo_=sudo
release_packages=(cmake make python3 g++-mingw-w64-x86-64 g++-mingw-w64-i686 git file)
packages=("${release_packages[@]}" g++ googletest libgtest-dev
          wine wine64 wine32:i386
          xvfb xauth x11-utils imagemagick fonts-liberation fonts-cantarell fonts-wine curl openssl
          clang-14 libclang-rt-14-dev)
if [ "${1:-}" = release ]; then
  packages=("${release_packages[@]}")
elif ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "adding the i386 architecture (for Wine's 32-bit loader)"
  $sudo_ dpkg --add-architecture i386
fi
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  $sudo_ apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_ apt-get install -y --no-install-recommends "${missing[@]}"
fi
