#!/usr/bin/env bash
# Damages copies of the release's checksum file and of the sources of README.TXT and
# LICENSE.TXT, one way at a time, remakes the zip's texts from those sources as release.sh
# does, and expects check-release.sh to fail each with its own message.
# usage: check-release-faults.sh OBJDUMP WINDRES IMPORT_TABLE VERSION OUT_FOLDER
set -u
unset ZIP ZIPOPT
here=$(cd "$(dirname "$0")" && pwd)
tools=("${@:1:4}") version=$4 out=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
zip=out/vellora9x-$version.zip sums=out/vellora9x-$version.sha256
another=$(sha256sum <"$0" | cut -c 1-64)
status=0

check_copies() { # shell commands that damage the copies in $work
    rm -rf "$work"/* && mkdir -p "$work/src/docs" "$work/texts" && cp -r "$out" "$work/out"
    cp "$here/../../docs/README.TXT" "$work/src/docs" && cp "$here/../../LICENSE" "$work/src"
    (
        cd "$work" && eval "$1"
        sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' src/docs/README.TXT >texts/README.TXT
        sed -e 's/$/\r/' src/LICENSE >texts/LICENSE.TXT
        (cd texts && zip -q -X -D "../$zip" README.TXT LICENSE.TXT)
        sed -i "1s/^.\{64\}/$(sha256sum <"$zip" | cut -c 1-64)/" "$sums"
    )
    "$here/check-release.sh" "${tools[@]}" "$work/out" "$work/src"
}
fails_with() { # message, shell commands that damage the copies
    local said
    said=$(check_copies "$2") && status=1
    grep -qF -- "$1" <<<"$said" || { echo "$2: not \"$1\" but:" "$said"; status=1; }
}

check_copies : >/dev/null || { echo "the copies fail the check undamaged"; exit 1; }
fails_with "no line for Uninstall.exe" 'sed -i /Uninstall/d $sums'
fails_with "VelloraH.exe on 2 lines" 'sed -i "/Uninstall/d; /VelloraH/p" $sums'
fails_with "VlExProp.exe: not its SHA-256" 'sed -i "s/^.\{64\}  VlExProp/$another  VlExProp/" $sums'
fails_with "line 2 is not a SHA-256, two spaces, a name and one CR before LF" \
    'sed -i "2s/^.\{64\}\(.*\)$/$another\1\r/" $sums'
fails_with "line 5 names README.TXT, not the zip or a program" \
    'printf "%s  README.TXT\r\n" $another >>$sums'
fails_with "docs/README.TXT: a CR of its own" 'sed -i "1s/$/\r/" src/docs/README.TXT'
fails_with "LICENSE: a CR of its own" 'sed -i "1s/ /\r/" src/LICENSE'
fails_with "docs/README.TXT: the last line has no line end" 'truncate -s -1 src/docs/README.TXT'
[ "$status" -eq 0 ] && echo "the check fails each damaged checksum file and source with its message"
exit "$status"
