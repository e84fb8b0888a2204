#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (run as root). Quick and quiet when
# everything is there already.
set -euo pipefail

packages=(cmake g++ make mingw-w64 wine wine32:i386 wine64 xvfb xauth googletest libtiff-tools
          imagemagick clang-format clang libclang-rt-14-dev locales zip unzip)
# Wine maps non-ASCII file names to the file system only in a locale that glibc has; the tests
# of Japanese paths run the programs in this one (ANSI code page 932).
japanese_locale=ja_JP.UTF-8

# Adds the locale to those that locale-gen makes and makes it, leaving every other one as it is.
generate_japanese_locale() {
    locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8' && return
    if grep -q "^# *$japanese_locale UTF-8" /etc/locale.gen; then
        sed -i "s/^# *\($japanese_locale UTF-8\)/\1/" /etc/locale.gen
    elif ! grep -q "^$japanese_locale UTF-8" /etc/locale.gen; then
        echo "$japanese_locale UTF-8" >>/etc/locale.gen
    fi
    locale-gen --keep-existing >/dev/null
}

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -ne 0 ]; then
    echo "Installing: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}" >/dev/null
fi
generate_japanese_locale
