#!/usr/bin/env bash
# Checks the release that scripts/release.sh wrote: the zip holds exactly the three programs,
# README.TXT and LICENSE.TXT; each program passes the import and instruction audits, carries its
# version resource and is at most 32 KB; README.TXT and LICENSE.TXT are their sources with CR LF
# line ends, byte for byte; README.TXT is ASCII and at most 78 columns; the checksum file has CR LF
# lines and matches the zip and the programs in it.
# usage: check-release.sh OBJDUMP WINDRES IMPORT_TABLE VERSION OUT_FOLDER
set -u
# unzip takes default options from these; UNZIPOPT=-a would convert the texts as it reads them.
unset ZIP ZIPOPT UNZIP UNZIPOPT ZIPINFO ZIPINFOOPT
objdump=$1 windres=$2 table=$3 version=$4 out=$5
audits=$(cd "$(dirname "$0")/../audit" && pwd)
sources=$(cd "$(dirname "$0")/../.." && pwd)
name=vellora9x-$version
zip=$out/$name.zip
sums=$out/$name.sha256
programs=(Uninstall VelloraH VlExProp)
status=0
fail() { echo "$*"; status=1; }

[ -f "$zip" ] || { echo "$zip is missing: run scripts/release.sh first"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expected=$(printf '%s\n' LICENSE.TXT README.TXT Uninstall.exe VelloraH.exe VlExProp.exe)
listed=$(unzip -Z1 "$zip")
[ "$listed" = "$expected" ] || fail "the zip holds, in this order:" $listed
unzip -q "$zip" -d "$work" || exit 1

paths=()
for program in "${programs[@]}"; do paths+=("$work/$program.exe"); done
"$audits/check-imports.sh" "$objdump" "$table" "${paths[@]}" || status=1
"$audits/check-instructions.sh" "$objdump" "${paths[@]}" || status=1

for program in "${programs[@]}"; do
    file=$work/$program.exe
    size=$(stat -c %s "$file")
    [ "$size" -le 32768 ] || fail "$program.exe: $size bytes, more than 32 KB"
    resource=$("$windres" -i "$file" -O rc 2>/dev/null)
    for value in "\"ProductName\", \"Vellora 9x\"" "\"ProductVersion\", \"$version\"" \
        "\"FileVersion\", \"$version\"" "\"OriginalFilename\", \"$program.exe\""; do
        grep -qF "VALUE $value" <<<"$resource" || fail "$program.exe: no version value $value"
    done
done

# A text in the zip is its source with CR before each LF: CR CR LF, a bare LF or any other
# change is a difference.
same_as_source() { # name in the zip, its source, sed expressions that make it from the source
    local name=$1 source=$2
    shift 2
    sed "$@" -e 's/$/\r/' "$source" | cmp -s - "$work/$name" ||
        fail "$name: not its source with CR LF line ends"
}
release_date=$(LC_ALL=C date -u -d "@$(git -C "$sources" log -1 --format=%ct)" '+%-d %B %Y')
same_as_source README.TXT "$sources/docs/README.TXT" -e "s/@VERSION@/$version/g" \
    -e "s/@DATE@/$release_date/g"
same_as_source LICENSE.TXT "$sources/LICENSE"

readme=$work/README.TXT
LC_ALL=C grep -qP '[^\x00-\x7F]' "$readme" && fail "README.TXT: a character that is not ASCII"
long=$(tr -d '\r' <"$readme" | awk 'length > 78 { print NR }' | head -n 3)
[ -z "$long" ] || fail "README.TXT: lines longer than 78 columns:" $long
grep -qF "version $version" "$readme" || fail "README.TXT: does not name version $version"

(cd "$out" && sha256sum --quiet -c --ignore-missing "$sums") || fail "$name.sha256: the zip differs"
(cd "$work" && sha256sum --quiet -c --ignore-missing "$sums") || fail "$name.sha256: a program differs"
[ "$(wc -l <"$sums")" -eq 4 ] || fail "$name.sha256: not one line for the zip and each program"
LC_ALL=C grep -qv $'\r$' "$sums" && fail "$name.sha256: a line that does not end in CR LF"

[ "$status" -eq 0 ] && echo "$name.zip: contents, audits, versions, texts and checksums hold"
exit "$status"
