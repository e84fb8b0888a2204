#!/usr/bin/env bash
# Runs one Windows test program under Wine in a Wine prefix of its own, copied from the
# template that the wine_prefix fixture prepares, with drive E: on another file system for
# cross-drive moves, any further drives that VELLORA_DRIVES names, and with
# VELLORA_WINDOWS_VERSION set (win98, ...) reporting that Windows version to its programs.
# Everything the test started is ended with the prefix's wineserver.
# The prefix shares the template's program files by hard links (about 690 MB a copy, which
# filled the disk with every test holding one); Wine and the tests only ever add, rename or
# delete such files, and every other file, which may be rewritten in place, is a copy of its own.
# usage: run-in-prefix.sh WINE_LOADER PREFIX_ROOT TEST_NAME PROGRAM [ARGS...]
set -u
loader=$1 root=$2 name=$3
shift 3
prefix=$root/$name
drive_e=/dev/shm/vellora-$name-$$
export WINEPREFIX=$prefix WINELOADER=$loader WINEDEBUG=-all

wineserver -k 2>/dev/null
rm -rf "$prefix"
cp -a --link "$root/template" "$prefix"
find "$prefix" -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' -o -iname '*.ocx' \
    -o -iname '*.sys' -o -iname '*.acm' -o -iname '*.cpl' -o -iname '*.tlb' -o -iname '*.ax' \
    -o -iname '*.ds' -o -iname '*.nls' -o -iname '*.com' \) -print0 |
    while IFS= read -r -d '' file; do
        cp -p "$file" "$file.own" && mv -f "$file.own" "$file"
    done
mkdir -p "$drive_e"
ln -sfn "$drive_e" "$prefix/dosdevices/e:"
# Drives that a wrapper or the test's environment names: VELLORA_DRIVES="f:/a/folder g:/another";
# a relative folder is taken from the prefix's dosdevices, as Wine's own c: is ("../drive_c").
for drive in ${VELLORA_DRIVES:-}; do
    ln -sfn "${drive#*:}" "$prefix/dosdevices/${drive%%:*}:"
done
if [ -n "${VELLORA_WINDOWS_VERSION:-}" ]; then
    "$loader" reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$VELLORA_WINDOWS_VERSION" /f \
        >/dev/null 2>&1
    echo "The programs of this prefix are told they run on: $("$loader" cmd /c ver | tr -d '\r' | grep .)"
fi

timeout --kill-after=10 "${VELLORA_TEST_TIMEOUT:-900}" "$loader" "$@"
status=$?

wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
rm -rf "$drive_e"
exit $status
