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

# A package mirror in mid-sync fails an index now and then; apt-get keeps the indexes it had.
update_indexes() {
    local attempt
    for attempt in 1 2 3; do
        apt-get update -qq && return
        [ "$attempt" = 3 ] || { echo "apt-get update failed; trying again in 10 s"; sleep 10; }
    done
    echo "apt-get update failed 3 times; going on with the package indexes there are"
}

# Downloads everything before installing anything, so that a set of packages that cannot be
# resolved or fetched leaves the machine as it was. 1: nothing installed; 2: installing failed.
install_packages() { # apt-get options...
    apt-get install -y -qq "$@" --download-only "${missing[@]}" >/dev/null || return 1
    apt-get install -y -qq "$@" "${missing[@]}" >/dev/null || return 2
}

# With one index missing, the amd64 libraries can be a version ahead of their i386 twins, and
# multiarch packages must match: the base release alone as the target release has both.
install_missing() {
    local status=0 release
    install_packages || status=$?
    [ "$status" = 1 ] || return "$status"
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -n "$release" ] || return 1
    echo "Trying again with $release as the target release"
    install_packages -t "$release"
}

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -ne 0 ]; then
    echo "Installing: ${missing[*]}"
    added_i386=0
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
        added_i386=1
    fi
    export DEBIAN_FRONTEND=noninteractive
    update_indexes
    status=0
    install_missing || status=$?
    if [ "$status" = 2 ]; then
        echo "setup.sh: apt-get stopped while installing. Finish or undo what it began with" \
            "'apt-get install -f', then run this command again." >&2
        exit 1
    elif [ "$status" != 0 ]; then
        if [ "$added_i386" = 1 ]; then dpkg --remove-architecture i386; fi
        echo "setup.sh: apt-get could not resolve or download the packages;" \
            "nothing was installed." >&2
        echo "Run this command again later, or choose another mirror in /etc/apt/sources.list." >&2
        exit 1
    fi
fi
generate_japanese_locale
