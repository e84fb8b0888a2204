#!/usr/bin/env bash
# check-release.sh on copies of the release and of the texts' sources, damaged one way at a
# time (the table at the end): every damage must fail the check with its own message.
# usage: check-release-faults.sh OBJDUMP WINDRES IMPORT_TABLE VERSION OUT_FOLDER
set -u
here=$(cd "$(dirname "$0")" && pwd) tools=("${@:1:4}") out=$5 status=0 work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sums=out/vellora9x-$4.sha256 another=$(sha256sum <"$0" | cut -c 1-64)
while IFS='|' read -r message damage; do
    rm -rf "$work"/* && mkdir -p "$work/src/docs" && cp -r "$out" "$work/out"
    cp "$here/../../docs/README.TXT" "$work/src/docs" && cp "$here/../../LICENSE" "$work/src"
    (cd "$work" && eval "$damage")
    said=$("$here/check-release.sh" "${tools[@]}" "$work/out" "$work/src" </dev/null) && status=1
    grep -qF -- "$message" <<<"$said" || { echo "$damage: not \"$message\":" "$said"; status=1; }
done <<'TABLE'
no line for Uninstall.exe|sed -i /Uninstall/d $sums
VelloraH.exe on 2 lines|sed -i "/Uninstall/d; /VelloraH/p" $sums
VlExProp.exe: not its SHA-256|sed -i "s/^.\{64\}  VlExProp/$another  VlExProp/" $sums
line 2 is not "SHA-256  name" and CR LF|sed -i "2s/^.\{64\}\(.*\)$/$another\1\r/" $sums
line 5 names README.TXT, not the zip or a program|printf "%s  README.TXT\r\n" $another >>$sums
docs/README.TXT: a CR of its own|sed -i "1s/$/\r/" src/docs/README.TXT
LICENSE: the last line has no line end|truncate -s -1 src/LICENSE
TABLE
exit "$status"
