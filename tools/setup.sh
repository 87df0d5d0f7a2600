#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, as root; only what
# is missing, after an apt-get update.
set -eu
packages=(cmake make g++ googletest libgtest-dev python3
          g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64
          xvfb xauth x11-utils imagemagick)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_=""
  [ "$(id -u)" -eq 0 ] || sudo_=sudo
  $sudo_ apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_ apt-get install -y --no-install-recommends "${missing[@]}"
fi
