#!/usr/bin/env bash
# Runs one Windows test program under Wine in a Wine prefix of its own, copied from the
# template that the wine_prefix fixture prepares, with drive E: on another file system for
# cross-drive moves. Everything the test started is ended with the prefix's wineserver.
# usage: run-in-prefix.sh WINE_LOADER PREFIX_ROOT TEST_NAME PROGRAM [ARGS...]
set -u
loader=$1 root=$2 name=$3
shift 3
prefix=$root/$name
drive_e=/dev/shm/vellora-$name-$$
export WINEPREFIX=$prefix WINELOADER=$loader WINEDEBUG=-all

wineserver -k 2>/dev/null
rm -rf "$prefix"
cp -a "$root/template" "$prefix"
mkdir -p "$drive_e"
ln -sfn "$drive_e" "$prefix/dosdevices/e:"

timeout --kill-after=10 "${VELLORA_TEST_TIMEOUT:-900}" "$loader" "$@"
status=$?

wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
rm -rf "$drive_e"
exit $status
