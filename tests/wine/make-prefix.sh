#!/usr/bin/env bash
# Prepares the template Wine prefix that every Wine test copies.
# usage: make-prefix.sh WINE_LOADER PREFIX_ROOT
set -eu
loader=$1 root=$2
export WINEPREFIX=$root/template WINELOADER=$loader WINEDEBUG=-all
wineserver -k 2>/dev/null || true
rm -rf "$root"
mkdir -p "$root"
"$loader" wineboot -i >/dev/null 2>&1
wineserver -w
