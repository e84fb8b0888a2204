#!/usr/bin/env bash
# Builds the three 32-bit programs from this checkout and writes the release into out/:
#   vellora9x-VERSION.zip      VelloraH.exe, VlExProp.exe, Uninstall.exe (stripped), README.TXT
#                              and LICENSE.TXT
#   vellora9x-VERSION.sha256   the SHA-256 of the zip and of each program, as sha256sum writes
#                              them but with CR LF line ends, for Notepad
# The same commit gives the same bytes wherever it is built: the programs carry the commit's
# time instead of the link time, and the zip holds its files in a fixed order with the commit's
# time, fixed permissions and no extra fields. A checkout with changes that are not committed
# gives a release marked as such (scripts/release-version.sh): VERSION ends in "-uncommitted".
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
programs=(VelloraH VlExProp Uninstall)

# Nothing of the caller's environment reaches the build or the zip: compiler and linker flags
# (CFLAGS, CXXFLAGS, CPPFLAGS, LDFLAGS, RCFLAGS), MAKEFLAGS, which can set make's variables, a
# PATH that finds other tools, and zip's and unzip's option variables (ZIPOPT=-l turned the
# texts' CR LF into CR CR LF). The set-up comes first, in the caller's environment, which may
# hold what the package manager needs; then the script runs again in a known one.
if [ "${1:-}" != --in-known-environment ]; then
    "$root/scripts/setup.sh"
    exec env -i PATH=/usr/bin:/bin LC_ALL=C TZ=UTC bash "$0" --in-known-environment
fi

version=$("$root/scripts/release-version.sh" "$root")
name=vellora9x-$version
# Debian's linker writes this time into each program's header in place of the time of linking.
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
# README.TXT's release date: the day of that time, the date its files in the zip carry.
release_date=$(date -u -d "@$SOURCE_DATE_EPOCH" '+%-d %B %Y')

build=$root/build/release
rm -rf "$build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELLORA_VERSION_TEXT="$version" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${programs[@]}" >/dev/null

stage=$build/stage
mkdir -p "$stage" "$root/out"
for program in "${programs[@]}"; do
    i686-w64-mingw32-strip -o "$stage/$program.exe" "$build/bin/$program.exe"
done
# Texts for Windows: CR LF line ends.
sed -e "s/@VERSION@/$version/g" -e "s/@DATE@/$release_date/g" -e 's/$/\r/' "$root/docs/README.TXT" \
    >"$stage/README.TXT"
sed -e 's/$/\r/' "$root/LICENSE" >"$stage/LICENSE.TXT"

cd "$stage"
files=$(ls | sort)
chmod 644 $files
touch -d "@$SOURCE_DATE_EPOCH" $files
rm -f "$root/out/$name.zip"
zip -q -X -D -9 "$root/out/$name.zip" $files
{
    (cd "$root/out" && sha256sum "$name.zip")
    for program in "${programs[@]}"; do sha256sum "$program.exe"; done
} | sed -e 's/$/\r/' >"$root/out/$name.sha256"
echo "out/$name.zip"
cat "$root/out/$name.sha256"
