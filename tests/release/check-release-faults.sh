#!/usr/bin/env bash
# check-release.sh on copies of the release and of the texts' sources, damaged one way at a
# time (the table at the end): every damage must fail the check with its own message.
# usage: check-release-faults.sh OBJDUMP WINDRES STRIP IMPORT_TABLE CHECKOUT OUT_FOLDER
set -u
here=$(cd "$(dirname "$0")" && pwd) tools=("${@:1:4}") root=$5 out=$6 status=0 work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$("$here/../../scripts/release-version.sh" "$root") || exit 1
commit_time=$(git -C "$root" log -1 --format=%ct) || exit 1
name=vellora9x-$version sums=out/vellora9x-$version.sha256 another=$(sha256sum <"$0" | cut -c 1-64)

# Unpacks the zip, runs the command in its folder and packs it again as release.sh does, with
# the checksum file written anew: only the damage differs, and the checksums hold.
repack() {
    mkdir unpacked && unzip -q "out/$name.zip" -d unpacked && cd unpacked || return 1
    chmod 644 ./* && touch -d "@$commit_time" ./* && eval "$1"
    rm "../out/$name.zip" && zip -q -X -D -9 -y "../out/$name.zip" $(ls | sort)
    cd .. && write_sums
}
# The checksum file written anew, of the zip and of the programs that repack unpacked.
write_sums() {
    (
        sha256sum "out/$name.zip" | sed 's| out/| |'
        cd unpacked && for program in VelloraH VlExProp Uninstall; do sha256sum "$program.exe"; done
    ) | sed -e 's/$/\r/' >"$sums"
}
# Every local header dated 1 January 1999, 12:00, and the central directory left as it was.
date_local_headers() {
    local offset
    for offset in $(LC_ALL=C grep -obUaP 'PK\x03\x04' "out/$name.zip" | cut -d: -f1); do
        printf '\x00\x60\x21\x26' |
            dd of="out/$name.zip" bs=1 seek=$((offset + 10)) conv=notrunc status=none
    done
}
# The checkout with a change not committed, beside a release that is not marked as such.
uncommitted_checkout() {
    git clone -q "$root" checkout && echo >>checkout/LICENSE && checkout=$work/checkout
    for file in out/*-uncommitted.*; do
        [ ! -e "$file" ] || mv "$file" "${file/-uncommitted/}"
    done
}

while IFS='|' read -r message damage; do
    rm -rf "${work:?}"/* && mkdir -p "$work/src/docs" && cp -r "$out" "$work/out"
    cp "$here/../../docs/README.TXT" "$work/src/docs" && cp "$here/../../LICENSE" "$work/src"
    checkout=$root
    pushd "$work" >/dev/null && eval "$damage"
    popd >/dev/null
    said=$("$here/check-release.sh" "${tools[@]}" "$checkout" "$work/out" "$work/src" </dev/null) &&
        status=1
    grep -qF -- "$message" <<<"$said" || { echo "$damage: not \"$message\":" "$said"; status=1; }
done <<'TABLE'
no line for Uninstall.exe|sed -i /Uninstall/d $sums
VelloraH.exe on 2 lines|sed -i "/Uninstall/d; /VelloraH/p" $sums
VlExProp.exe: not its SHA-256|sed -i "s/^.\{64\}  VlExProp/$another  VlExProp/" $sums
line 2 is not "SHA-256  name" and CR LF|sed -i "2s/^.\{64\}\(.*\)$/$another\1\r/" $sums
line 5 names README.TXT, not the zip or a program|printf "%s  README.TXT\r\n" $another >>$sums
docs/README.TXT: a CR of its own|sed -i "1s/$/\r/" src/docs/README.TXT
LICENSE: the last line has no line end|truncate -s -1 src/LICENSE
VlExProp.exe: not a plain file (lrwxrwxrwx)|repack "rm VlExProp.exe && ln -s VelloraH.exe VlExProp.exe"
VlExProp.exe: not the build's own stripped program|repack "LC_ALL=C sed -i 's/INI file\./INI fila./' VlExProp.exe"
-uncommitted.zip is missing|uncommitted_checkout
README.TXT: dated 19990101.120000, not|repack "TZ=UTC touch -d '1999-01-01 12:00' README.TXT"
Uninstall.exe: permissions rwsrwxrwx (unx), not rw-r--r-- (unx)|repack "chmod 4777 Uninstall.exe"
sentences of more than 25 words, more than 15|repack "for n in \$(seq 16); do echo \$(seq 30). >>README.TXT; done"
300 bytes after the end of the central directory|repack "" && head -c 300 /dev/urandom >>out/$name.zip && write_sums
a zip comment of 7 bytes|repack "" && echo release | zip -q -z out/$name.zip && write_sums
README.TXT: local header and central directory differ in time and date|repack "" && date_local_headers && write_sums
TABLE
exit "$status"
