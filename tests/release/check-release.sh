#!/usr/bin/env bash
# Checks the release that scripts/release.sh wrote from the checkout: it bears the version that
# the checkout's state gives (marked "-uncommitted" for changes not committed); the zip holds
# exactly the three programs, README.TXT and LICENSE.TXT, each a plain file made on Unix with
# the permissions rw-r--r--, no extra field and the commit's time; each program is the build's
# own stripped program, passes the import and instruction audits, carries its version resource
# and is at most 32 KB; README.TXT and LICENSE.TXT are their sources with CR LF line ends, byte
# for byte, sources that hold no CR and end in a line end; README.TXT is ASCII and at most 78
# columns; every line of the checksum file is as sha256sum writes it, with CR LF, and the zip
# and each program have exactly one, with their SHA-256; README.TXT has at most 15 sentences of
# more than 25 words. The zip itself holds nothing before its first local header, nothing after
# its end record and no comment, and each local header has the flags, date, time and name of its
# entry in the central directory, which is all that unzip lists.
# usage: check-release.sh OBJDUMP WINDRES STRIP IMPORT_TABLE CHECKOUT OUT_FOLDER [TEXTS_FOLDER]
# The build is the one in CHECKOUT/build/release; TEXTS_FOLDER holds docs/README.TXT and LICENSE,
# by default CHECKOUT.
set -u
# unzip takes default options from these; UNZIPOPT=-a would convert the texts as it reads them.
unset ZIP ZIPOPT UNZIP UNZIPOPT ZIPINFO ZIPINFOOPT
objdump=$1 windres=$2 strip=$3 table=$4 checkout=$5 out=$6
here=$(cd "$(dirname "$0")" && pwd)
audits=$here/../audit
sources=${7:-$checkout}
version=$("$here/../../scripts/release-version.sh" "$checkout") || exit 1
commit_time=$(git -C "$checkout" log -1 --format=%ct) || exit 1
name=vellora9x-$version
zip=$out/$name.zip
sums=$out/$name.sha256
programs=(Uninstall VelloraH VlExProp)
status=0
fail() { echo "$*"; status=1; }

[ -f "$zip" ] || { echo "$zip is missing: run scripts/release.sh first"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The zip's bytes as hex digits, two a byte.
hex=$(od -An -v -tx1 "$zip" | tr -d ' \n')
# The little-endian number of so many bytes at an offset.
number_at() { # offset, bytes
    local value=0 i
    for ((i = $2 - 1; i >= 0; i--)); do value=$((value * 256 + 16#${hex:2*($1+i):2})); done
    echo "$value"
}
# An entry's local header, at local_at, against its central directory entry, at central_at.
same_in_local_header() { # what, offset in the central entry, offset in the local header, bytes
    [ "${hex:2*(central_at+$2):2*$4}" = "${hex:2*(local_at+$3):2*$4}" ] ||
        fail "$entry_name: local header and central directory differ in $1"
}
# Windows' own unpacking and other tools read the local headers, unzip -Z the central directory.
check_entries() { # number of entries
    local entry
    for ((entry = 0; entry < $1; entry++)); do
        if [ "${hex:2*central_at:8}" != 504b0102 ]; then
            fail "$zip: no central directory entry at $central_at" && return
        fi
        local name_length=$(number_at $((central_at + 28)) 2)
        local_at=$(number_at $((central_at + 42)) 4)
        entry_name=$(printf "$(sed 's/../\\x&/g' <<<"${hex:2*(central_at+46):2*name_length}")")
        if [ "${hex:2*local_at:8}" != 504b0304 ]; then
            fail "$entry_name: no local header at $local_at" && return
        fi
        same_in_local_header flags 8 6 2
        same_in_local_header "time and date" 12 10 4
        same_in_local_header "name length and name" 28 26 2
        same_in_local_header "name length and name" 46 30 "$name_length"
        central_at=$((central_at + 46 + name_length + $(number_at $((central_at + 30)) 2) +
            $(number_at $((central_at + 32)) 2)))
    done
}
[ "${hex:0:8}" = 504b0304 ] || fail "$zip: bytes before the first local header"
before_end=${hex%504b0506*}
if [ "$before_end" = "$hex" ]; then
    fail "$zip: no end of central directory record"
else
    end_at=$((${#before_end} / 2))
    comment=$(number_at $((end_at + 20)) 2)
    [ "$comment" -eq 0 ] || fail "$zip: a zip comment of $comment bytes"
    after=$((${#hex} / 2 - end_at - 22 - comment))
    [ "$after" -eq 0 ] || fail "$zip: $after bytes after the end of the central directory"
    central_at=$(number_at $((end_at + 16)) 4)
    check_entries "$(number_at $((end_at + 10)) 2)"
fi

expected=$(printf '%s\n' LICENSE.TXT README.TXT Uninstall.exe VelloraH.exe VlExProp.exe)
listed=$(unzip -Z1 "$zip")
[ "$listed" = "$expected" ] || fail "the zip holds, in this order:" $listed
unzip -q "$zip" -d "$work" || exit 1

# What README.md promises of every entry. zip stores times to two seconds, the odd ones rounded
# up, and in local time: here UTC, as in release.sh.
stamp=$(date -u -d "@$((commit_time + commit_time % 2))" +%Y%m%d.%H%M%S)
read_entries=()
while read -r mode _ system _ flags _ time entry; do
    read_entries+=("$entry")
    [ "${mode:0:1}" = - ] || fail "$entry: not a plain file ($mode)"
    [ "$system ${mode:1}" = "unx rw-r--r--" ] ||
        fail "$entry: permissions ${mode:1} ($system), not rw-r--r-- (unx)"
    [ "${flags:1}" = - ] || fail "$entry: an extra field or a data descriptor ($flags)"
    [ "$time" = "$stamp" ] || fail "$entry: dated $time, not $stamp, the commit's time"
done < <(TZ=UTC unzip -Z -T "$zip" | awk 'NF >= 8 && $7 ~ /^[0-9]+\.[0-9]+$/')
[ "${read_entries[*]}" = "$(echo $expected)" ] || fail "the zip's entries read as:" "${read_entries[@]}"

# Each program is the stripped program of the build that made the release, not one changed since.
for program in "${programs[@]}"; do
    built=$checkout/build/release/bin/$program.exe
    # strip writes this time into the header, as in release.sh, in place of the time of day.
    if ! SOURCE_DATE_EPOCH=$commit_time "$strip" -o "$work/$program.built" "$built" 2>/dev/null; then
        fail "$program.exe: no build to compare it with ($built)"
    elif ! cmp -s "$work/$program.built" "$work/$program.exe"; then
        fail "$program.exe: not the build's own stripped program"
    fi
done

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
release_date=$(LC_ALL=C date -u -d "@$commit_time" '+%-d %B %Y')
same_as_source README.TXT "$sources/docs/README.TXT" -e "s/@VERSION@/$version/g" \
    -e "s/@DATE@/$release_date/g"
same_as_source LICENSE.TXT "$sources/LICENSE"
# The zip would hold a source's own CR as CR CR LF or a bare CR, and its last line without LF
# as a line without CR LF: both are faults of the source.
for text in docs/README.TXT LICENSE; do
    LC_ALL=C grep -q $'\r' "$sources/$text" && fail "$text: a CR of its own"
    [ -z "$(tail -c 1 "$sources/$text")" ] || fail "$text: the last line has no line end"
done

readme=$work/README.TXT
LC_ALL=C grep -qP '[^\x00-\x7F]' "$readme" && fail "README.TXT: a character that is not ASCII"
long=$(tr -d '\r' <"$readme" | awk 'length > 78 { print NR }' | head -n 3)
[ -z "$long" ] || fail "README.TXT: lines longer than 78 columns:" $long
grep -qF "version $version" "$readme" || fail "README.TXT: does not name version $version"
# Long sentences are hard to follow: at most 15 of more than 25 words, counted with the whole text
# joined and cut after each ".", "!" or "?" that a space follows.
long=$(tr -s '[:space:]' ' ' <"$readme" | sed -E 's/([.!?]) /\1\n/g' | awk 'NF > 25' | wc -l)
[ "$long" -le 15 ] || fail "README.TXT: $long sentences of more than 25 words, more than 15"

# Every line is read here: sha256sum -c takes a CR CR LF line, and with --ignore-missing it
# skips a line whose file it does not find.
sha256() { sha256sum <"$1" | cut -c 1-64; }
declare -A actual=(["$name.zip"]=$(sha256 "$zip"))
declare -A lines=()
for program in "${programs[@]}"; do actual[$program.exe]=$(sha256 "$work/$program.exe"); done
form=$'^([0-9a-f]{64})  ([^[:cntrl:]]+)\r$'
number=0
while IFS= read -r line || [ -n "$line" ]; do
    number=$((number + 1))
    if ! [[ $line =~ $form ]]; then
        fail "$name.sha256: line $number is not \"SHA-256  name\" and CR LF"
    elif [ -z "${actual[${BASH_REMATCH[2]}]+set}" ]; then
        fail "$name.sha256: line $number names ${BASH_REMATCH[2]}, not the zip or a program"
    else
        file=${BASH_REMATCH[2]}
        lines[$file]=$((${lines[$file]:-0} + 1))
        [ "${BASH_REMATCH[1]}" = "${actual[$file]}" ] || fail "$name.sha256: $file: not its SHA-256"
    fi
done <"$sums"
[ -z "$(tail -c 1 "$sums")" ] || fail "$name.sha256: the last line has no line end"
for file in "$name.zip" "${programs[@]/%/.exe}"; do
    case ${lines[$file]:-0} in
    0) fail "$name.sha256: no line for $file" ;;
    1) ;;
    *) fail "$name.sha256: $file on ${lines[$file]} lines" ;;
    esac
done

[ "$status" -eq 0 ] && echo "$name.zip: contents, audits, versions, texts and checksums hold"
exit "$status"
