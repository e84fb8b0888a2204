#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (run as root). Quick and quiet when
# everything is there already.
set -euo pipefail

packages=(cmake g++ make mingw-w64 wine wine32:i386 wine64 xvfb xauth googletest libtiff-tools
          imagemagick clang-format clang libclang-rt-14-dev)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
